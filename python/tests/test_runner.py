"""run_wxapp without a wx.App: it makes its own SimpleApp for each run."""
import pytest
import wx

import ovk_wxtools as ovk


class Closing(wx.Frame):
    def __init__(self, title):
        super().__init__(None, title=title)
        self.seen_app = None
        wx.CallLater(50, self.finish)

    def finish(self):
        Closing.seen_app = ovk.app()
        self.Close()


class Answering(wx.Dialog):
    def __init__(self, code):
        super().__init__(None, title="对话")
        wx.CallLater(50, lambda: self.EndModal(code))


def test_runs_one_after_another_each_with_their_own_app():
    assert ovk.app() is None
    assert ovk.run_wxapp(Closing, title="框架") is None
    assert isinstance(Closing.seen_app, ovk.SimpleApp)
    assert ovk.app() is None
    assert ovk.run_wxapp(Answering, code=wx.ID_OK) == wx.ID_OK
    with pytest.raises(TypeError, match="WX App need a class derived from wx.Frame or wx.Dialog."):
        ovk.run_wxapp(wx.Window, parent=None) if False else ovk.run_wxapp(lambda: 5)
    assert ovk.app() is None
