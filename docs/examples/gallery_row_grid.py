"""The gallery's RowGrid entry, from Python: instruments in a grid, coloured
by their status, with buttons that add, fail and delete rows."""
import dataclasses

import wx
import wx.grid

import ovk_wxtools as ovk


@dataclasses.dataclass
class Instrument:
    name: str
    address: str
    voltage: float
    status: str  # OK, WARN or FAIL


def colour(instrument):
    return {"FAIL": wx.Colour(255, 190, 190), "WARN": wx.Colour(255, 240, 170)}.get(instrument.status)


class Measurements(wx.Dialog):
    def __init__(self, parent=None):
        super().__init__(parent, title="Measurements")
        grid = wx.grid.Grid(self, size=(560, 240))
        grid.CreateGrid(0, 4)
        for c, label in enumerate(["Instrument", "Address", "Voltage (V)", "Status"]):
            grid.SetColLabelValue(c, label)
        grid.SetRowLabelSize(40)
        grid.EnableEditing(False)  # the cells show the objects; edits would not reach them
        self.rows = ovk.RowGrid(grid, lambda i: (i.name, i.address, i.voltage, i.status), colour)
        self.rows.AppendItems([
            Instrument("Power supply", "GPIB0::5", 12.0, "OK"),
            Instrument("Multimeter", "GPIB0::22", 5.02, "OK"),
            Instrument("Oscilloscope", "USB0::0x0699", 3.3, "WARN"),
            Instrument("Load", "GPIB0::7", 0.0, "FAIL"),
            Instrument("温度记录仪", "COM3", 24.5, "OK"),
        ])
        grid.AutoSizeColumns()

        buttons = wx.BoxSizer(wx.HORIZONTAL)
        for label, action in [("Add", self.add), ("Fail selected", self.fail), ("Delete selected", self.delete)]:
            button = wx.Button(self, label=label)
            button.Bind(wx.EVT_BUTTON, lambda event, action=action: action())
            buttons.Add(button, 0, wx.ALL, 5)
        buttons.Add(wx.Button(self, wx.ID_CANCEL, "Close"), 0, wx.ALL, 5)
        sizer = wx.BoxSizer(wx.VERTICAL)
        sizer.Add(grid, 1, wx.EXPAND | wx.ALL, 5)
        sizer.Add(buttons)
        self.SetSizer(sizer)
        ovk.window_fit_layout(self)

    def add(self):
        self.rows.Append(Instrument("Counter", "USB0::0x0957", 1.5, "OK"))

    def fail(self):
        selected = self.rows.GetSelectionIndexes()
        for instrument in self.rows.GetSelections():
            instrument.status = "FAIL"  # the grid holds the objects themselves
        self.rows.Update(selected)

    def delete(self):
        self.rows.DeleteSelections()


if __name__ == "__main__":
    ovk.run_wxapp(Measurements)
