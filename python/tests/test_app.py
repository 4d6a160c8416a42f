import sys
import threading

import pytest
import wx

import ovk_wxtools as ovk
from conftest import end_active_dialog, later


def test_dialog_is_the_wx_object_with_the_library_members(frame):
    dialog = ovk.SimpleInputDialog(frame, message="请输入电压：", password=True)
    assert isinstance(dialog, wx.Dialog) and isinstance(dialog, ovk.SimpleInputDialog)
    assert dialog.GetParent() is frame
    assert dialog.GetTitle() == "请输入"
    assert dialog.m_staticText1.GetLabel() == "请输入电压："
    assert dialog.m_button1.GetLabel() == "确定" and dialog.m_button1.GetId() == wx.ID_OK
    assert dialog.InputField.HasFlag(wx.TE_PASSWORD)
    dialog.InputField.SetValue("\u3000 电压 ")
    assert dialog.GetInputString() == "电压"
    assert dialog.GetInputString(strip=False) == "\u3000 电压 "
    later(50, end_active_dialog(wx.ID_OK))
    assert dialog.ShowModal() == wx.ID_OK
    dialog.Destroy()


def test_a_dead_window_raises_instead_of_crashing(frame):
    dialog = ovk.SimpleInputDialog(frame)
    field, button = dialog.InputField, dialog.m_button2
    dialog.Destroy()
    wx.Yield()
    for dead in (dialog, field, button):
        with pytest.raises(RuntimeError, match="deleted"):
            dead.GetLabel()
    with pytest.raises(RuntimeError, match="deleted"):
        ovk.window_fit_layout(dialog)


@pytest.mark.parametrize("call, message", [
    (lambda frame: ovk.SimpleInputDialog("not a window"), "incompatible"),
    (lambda frame: ovk.SimpleInputDialog(frame, message=5), "incompatible"),
    (lambda frame: ovk.window_fit_layout(wx.BoxSizer()), "incompatible"),
    (lambda frame: ovk.window_fit_layout(frame), "window_fit_layout: the window has no sizer."),
    (lambda frame: ovk.ComboList(frame), "incompatible"),
])
def test_wrong_arguments_are_type_errors(frame, call, message):
    bare = wx.Frame(None)
    try:
        with pytest.raises(TypeError, match=message):
            call(bare if "no sizer" in message else frame)
    finally:
        bare.Destroy()


def test_window_fit_layout_centres_and_maximises(frame):
    frame.GetSizer().Add(wx.Button(frame, label="测试"), 0, wx.ALL, 5)
    ovk.window_fit_layout(frame, center=False, maximize=True)
    assert frame.GetSize() == frame.GetSizer().GetMinSize() or frame.IsMaximized()


def test_run_wxapp_answers_a_dialogs_code_with_the_existing_app(wxapp, dialogs):
    dialogs.press("取消")
    assert ovk.run_wxapp(ovk.SimpleInputDialog, parent=None, title="标题") == wx.ID_CANCEL
    with pytest.raises(TypeError, match="WX App need a class derived from wx.Frame or wx.Dialog."):
        ovk.run_wxapp(wx.Panel, parent=None) if False else ovk.run_wxapp(lambda: object())


def test_mb_boxes_release_the_gil_while_they_wait(wxapp):
    ticks = []
    stop = threading.Event()

    def worker():
        while not stop.is_set():
            ticks.append(1)
            stop.wait(0.001)

    thread = threading.Thread(target=worker)
    thread.start()
    seen = []

    def close():
        seen.append(len(ticks))
        end_active_dialog(wx.ID_OK)()

    later(300, close)
    ovk.MB.Input("数量：", int, default=5)
    stop.set()
    thread.join()
    assert seen and seen[0] > 10


def test_mb_conversions_raise_value_error():
    assert ovk.MB.ToInt(" 12 ") == 12 and ovk.MB.ToDouble("2.5") == 2.5
    with pytest.raises(ValueError):
        ovk.MB.ToInt("abc")
