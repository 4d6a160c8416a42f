import wx

# The fixtures wxapp, frame and dialogs, and the watchdog of every test.
pytest_plugins = ["ovk_wxtools.testing", "pytester"]


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
