import wx
import pytest


@pytest.fixture(scope="session")
def wxapp():
    app = wx.GetApp() or wx.App(False)
    yield app


@pytest.fixture
def frame(wxapp):
    frame = wx.Frame(None, title="host")
    frame.SetSizer(wx.BoxSizer(wx.VERTICAL))
    yield frame
    frame.Destroy()
    wx.Yield()


def later(ms, action):
    """Runs action once the next modal run is going."""
    wx.CallLater(ms, action)


def end_active_dialog(code):
    def end():
        for window in wx.GetTopLevelWindows():
            if isinstance(window, wx.Dialog) and window.IsModal():
                window.EndModal(code)
                return
        wx.CallLater(20, end)
    return end
