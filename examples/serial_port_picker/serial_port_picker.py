"""A serial-port picker in Python: the machine's ports in a choice; "Connect"
prints the chosen device name. The same tool as main.cpp next to it."""
import sys

import wx

import ovk_wxtools as ovk


class PortPickerDialog(wx.Dialog):
    def __init__(self, comports=None):
        super().__init__(None, title="Connect to the instrument")
        choice = wx.Choice(self, size=(460, -1))
        self.ports = ovk.COMPortList(choice, comports=comports)
        sizer = wx.BoxSizer(wx.VERTICAL)
        sizer.Add(wx.StaticText(self, label="Serial port:"), 0, wx.LEFT | wx.RIGHT | wx.TOP, 10)
        sizer.Add(choice, 0, wx.ALL | wx.EXPAND, 10)
        sizer.Add(self.CreateButtonSizer(wx.OK | wx.CANCEL), 0, wx.ALL | wx.EXPAND, 10)
        self.SetSizerAndFit(sizer)
        self.FindWindow(wx.ID_OK).SetLabel("Connect")
        self.chosen = None
        self.Bind(wx.EVT_BUTTON, self.on_connect, id=wx.ID_OK)

    def on_connect(self, event):
        self.chosen = self.ports.GetSelection()
        event.Skip()


def main(comports=None):
    chosen = []

    def dialog():
        picker = PortPickerDialog(comports)
        chosen.append(picker)
        return picker

    code = ovk.run_wxapp(dialog)
    port = chosen[0].chosen if chosen else None
    for picker in chosen:
        picker.Destroy()
    if code != wx.ID_OK or not port:
        return 1
    print(port)
    return 0


if __name__ == "__main__":
    sys.exit(main())
