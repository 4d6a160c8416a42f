import datetime

import pytest
import wx
import wx.adv
import wx.grid

import ovk_wxtools as ovk


class Sample:
    def __init__(self, name, value):
        self.name, self.value = name, value


def test_combo_list_holds_the_objects_themselves(frame):
    box = wx.ListBox(frame, style=wx.LB_EXTENDED)
    frame.GetSizer().Add(box)
    items = ovk.ComboList(box, lambda s: f"{s.name} = {s.value}")
    samples = [Sample("电压", 1), Sample("电流", 2.5), Sample("功率", None)]
    items.AppendItems(iter(samples[:2]))
    items.Insert(samples[2], 1)
    assert box.GetStrings() == ["电压 = 1", "功率 = None", "电流 = 2.5"]
    assert items.objects == [samples[0], samples[2], samples[1]] and len(items) == 3
    box.SetSelection(0)
    box.SetSelection(2)
    assert items.GetSelections()[1] is samples[1]
    items.DeleteSelections()
    assert items.objects == [samples[2]] and box.GetStrings() == ["功率 = None"]
    assert items.GetObject(-1) is None and items.GetSelection() is None


def test_combo_list_default_shows_texts_and_refuses_other_objects(frame):
    choice = wx.Choice(frame)
    names = ovk.ComboList(choice)
    names.AppendItems(["一", "二"])
    for shown_as_itself in (names, ovk.ComboList(wx.Choice(frame), ovk._simple_get_info)):
        with pytest.raises(TypeError, match="expected a str to show, got int"):
            shown_as_itself.Append(3)
    assert choice.GetStrings() == ["一", "二"] and len(names) == 2


def test_a_failing_callback_reaches_the_caller_with_the_earlier_objects_added(frame):
    box = wx.ListBox(frame)

    def show(n):
        if n == 3:
            raise ValueError("坏的对象")
        return str(n)

    items = ovk.ComboList(box, show)
    with pytest.raises(ValueError, match="坏的对象"):
        items.AppendItems(range(5))
    assert box.GetStrings() == ["0", "1", "2"] and items.objects == [0, 1, 2]
    with pytest.raises(IndexError):
        items.Delete(3)


def test_row_grid_rows_colours_and_update(frame):
    grid = wx.grid.Grid(frame)
    grid.CreateGrid(0, 2)
    colours = []

    def colour(obj):
        colours.append(obj)
        return wx.Colour(200, 255, 200) if isinstance(obj, Sample) else None

    rows = ovk.RowGrid(grid, lambda s: [s.name, s.value], colour)
    samples = [Sample("温度", 21.5), Sample("湿度", 40)]
    rows.AppendItems(samples)
    rows.Append(("元组", True), bg="yellow")
    assert [grid.GetCellValue(r, c) for r in range(3) for c in range(2)] == \
        ["温度", "21.5", "湿度", "40", "元组", "True"]
    assert grid.GetCellBackgroundColour(2, 1) == wx.Colour("yellow")
    assert grid.GetCellBackgroundColour(0, 0) == wx.Colour(200, 255, 200)
    samples[1].value = 41
    rows.Update([1])
    assert grid.GetCellValue(1, 1) == "41"
    for wrong in (2.5, "1", None):
        with pytest.raises(TypeError, match="Unknown type of argument `index`"):
            rows.Update(wrong)
    rows.SetSelection(1)
    assert rows.GetSelection() is samples[1]
    rows.Clear()
    assert grid.GetNumberRows() == 0 and len(rows) == 0


def test_small_controls(frame):
    picker = wx.adv.DatePickerCtrl(frame)
    dates = ovk.DatePicker(picker)
    dates.SetValue(datetime.date(2024, 2, 29))
    assert dates.GetValue() == datetime.date(2024, 2, 29) == dates.GetDate()
    assert ovk.DatePicker.Convert(picker.GetValue()) == datetime.date(2024, 2, 29)
    with pytest.raises(TypeError):
        ovk.DatePicker(wx.ListBox(frame))

    combo = wx.ComboBox(frame, choices=["apple", "苹果"])
    ovk.AutoPopupComboBox(combo)  # kept alive by the combo box itself
    combo.ChangeValue("")
    combo.SetValue("苹")
    combo.Destroy()

    ports = ovk.COMPortList(wx.Choice(frame), comports=lambda: ["/dev/ttyS10", "/dev/ttyS2"])
    assert ports.objects == ["/dev/ttyS10", "/dev/ttyS2"] and ports.GetSelection() == "/dev/ttyS10"
    dt = ovk.wx_datetime_2_py_datetime(wx.DateTime.FromDMY(3, 0, 2025, 4, 5, 6))
    assert dt == datetime.datetime(2025, 1, 3, 4, 5, 6)


def test_find_if_and_described_serial_ports(frame):
    items = ovk.ComboList(wx.ListBox(frame), lambda s: s.name)
    items.AppendItems([Sample("电压", 1), Sample("电流", 2)])
    assert items.FindIf(lambda s: s.value == 2) == 1 and items.FindIf(lambda s: False) == -1
    with pytest.raises(ZeroDivisionError):
        items.FindIf(lambda s: 1 / 0)

    usb = ovk.SerialPortInfo("/dev/ttyUSB0", "串口适配器", usb_vid=0x0403, usb_pid=0x6001, serial_number="A5")
    assert ovk.describe_port(usb) == "串口适配器 (USB 0403:6001, serial A5)"
    assert ovk.port_name_less("/dev/ttyS2", "/dev/ttyS10") and not ovk.port_name_less("/dev/ttyS10", "/dev/ttyS2")
    options = ovk.COMPortList.Options(describe=True, port_info=lambda: [usb, ovk.SerialPortInfo("/dev/ttyS0")])
    choice = wx.Choice(frame)
    ports = ovk.COMPortList(choice, comports=lambda: ["/dev/ttyS0", "/dev/ttyUSB0"], options=options)
    assert choice.GetString(1).startswith("/dev/ttyUSB0") and "串口适配器" in choice.GetString(1)
    assert ports.GetPortInfo("/dev/ttyUSB0").serial_number == "A5" and ports.GetPortInfo("/dev/ttyS9") is None
    wrong = ovk.COMPortList.Options(describe=True, port_info=lambda: [1])
    with pytest.raises(TypeError, match="wrong type"):
        ovk.COMPortList(wx.Choice(frame), comports=lambda: ["x"], options=wrong)
