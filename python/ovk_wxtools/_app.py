"""The application runner for Python window classes.

wxPython must own the application object of a wxPython program, so the
runner is a wx.App here; it follows the same steps as the library's C++
runner and answers the same way.
"""
import wx

_the_app = None

_WRONG_CLASS = "WX App need a class derived from wx.Frame or wx.Dialog."


class SimpleApp(wx.App):
    """The application object of one run_wxapp call: builds its window in OnInit."""

    def __init__(self, _class, **kwargs):
        self._class = _class
        self._kwargs = dict(kwargs)
        self._dialog_return_code = None
        self._error = None
        try:
            super().__init__(redirect=False)
        except SystemExit:
            # wx.App ends the program when OnInit fails; the caller gets the error instead.
            if self._error is None:
                raise
        if self._error is not None:
            error, self._error = self._error, None
            self.Destroy()
            raise error

    @property
    def dialog_return_code(self):
        return self._dialog_return_code

    @dialog_return_code.setter
    def dialog_return_code(self, code):
        self._dialog_return_code = code

    def OnInit(self):
        try:
            _open(self._class, self._kwargs, self)
        except BaseException as error:  # noqa: B902 - handed to run_wxapp's caller
            self._error = error
            return False
        return True


def _open(_class, kwargs, holder):
    window = _class(**kwargs)
    if isinstance(window, wx.Frame):
        window.Show()
    elif isinstance(window, wx.Dialog):
        holder.dialog_return_code = window.ShowModal()
        if isinstance(holder, wx.App):
            # The hidden dialog would keep the main loop alive (GTK may even
            # still report it as shown): end the loop as soon as it starts.
            wx.CallAfter(holder.ExitMainLoop)
    else:
        if isinstance(window, wx.Window):
            window.Destroy()
        raise TypeError(_WRONG_CLASS)
    return window


class _Result:
    dialog_return_code = None


def run_wxapp(_class, **kwargs):
    """Opens one frame or dialog class with kwargs and runs it.

    Answers the dialog's modal result code, or None for a frame. Without a
    wx.App a SimpleApp is made for the run and destroyed after it; inside a
    program that has its wx.App, that one is used: a dialog runs modally, a
    frame is shown and the main loop is run unless it runs already.
    """
    global _the_app
    existing = wx.GetApp()
    if existing is not None:
        result = _Result()
        window = _open(_class, kwargs, result)
        if isinstance(window, wx.Frame) and not existing.IsMainLoopRunning():
            # Hidden dialogs of the program would keep the loop going: the
            # run ends with its frame.
            frame_id = window.GetId()

            def ended(event):
                event.Skip()
                if event.GetId() == frame_id:
                    existing.ExitMainLoop()

            window.Bind(wx.EVT_WINDOW_DESTROY, ended)
            existing.MainLoop()
        return result.dialog_return_code
    the_app = SimpleApp(_class, **kwargs)
    _the_app = the_app
    try:
        the_app.MainLoop()
        return the_app.dialog_return_code
    finally:
        _the_app = None
        the_app.Destroy()
        del the_app


def app():
    """The SimpleApp of the run in progress, or None."""
    return _the_app
