"""Ready-made wxWidgets GUI pieces for wxPython programs.

The same library C++ programs link, as one module: every window it hands
out is the wx object it is (Show, ShowModal, Destroy, Bind, sizers) with
the library's own methods and members on top.
"""
import wx as _wx  # the wx of the process must be loaded first

from ._core import *  # noqa: F401,F403
from ._core import _BigEventDashBoard, wx_version
from ._app import SimpleApp, app, run_wxapp
from . import ovk_paratree  # noqa: F401 - the model, as ovk_wxtools.ovk_paratree

# The editor panel's events, bound as wxPython binds its own.
EVT_PARAMETER_TREE_MODIFIED = _wx.PyEventBinder(wxEVT_PARAMETER_TREE_MODIFIED)  # noqa: F405
EVT_PARAMETER_TREE_LOADED = _wx.PyEventBinder(wxEVT_PARAMETER_TREE_LOADED)  # noqa: F405
EVT_PARAMETER_TREE_EDITED = _wx.PyEventBinder(wxEVT_PARAMETER_TREE_EDITED)  # noqa: F405
EVT_PARAMETER_TREE_SAVED = _wx.PyEventBinder(wxEVT_PARAMETER_TREE_SAVED)  # noqa: F405
EVT_PARAMETER_TREE_FOUND = _wx.PyEventBinder(wxEVT_PARAMETER_TREE_FOUND)  # noqa: F405

__all__ = [name for name in dir() if not name.startswith("_")]


def _simple_get_info(obj):
    """The default formatting callback of ComboList: the object is itself the text to show."""
    return obj


def _keep_caller_fields():
    """MultipleInputDialog given a dict writes the entered texts back into it on OK."""
    make = MultipleInputDialog.__new__

    def __new__(cls, parent, fields, title="Input"):
        dialog = make(cls, parent, fields, title)
        if isinstance(fields, dict):
            dialog._caller_fields = fields
        return dialog

    def ShowModal(self):
        code = self._show_modal()
        caller = getattr(self, "_caller_fields", None)
        if code == _wx.ID_OK and caller is not None:
            caller.update(self.fields())
        return code

    MultipleInputDialog.__new__ = staticmethod(__new__)
    MultipleInputDialog.ShowModal = ShowModal


_keep_caller_fields()


import logging as _logging  # noqa: E402


class BigEventDashBoard(_BigEventDashBoard, _logging.Handler):  # noqa: F405
    """The alarm dashboard: a wx.Panel and a logging.Handler.

    Register it with a logger (logger.addHandler(board)) and every record at
    or above its level becomes a history row. Any thread may log to it and
    raise, clear and ask about alarms; state() is the handle for threads that
    may outlive the window.
    """

    def __new__(cls, parent, logger=None, level=_logging.WARNING, options=None):
        return _BigEventDashBoard.__new__(cls, parent, logger, options or DashboardOptions())  # noqa: F405

    def __init__(self, parent, logger=None, level=_logging.WARNING, options=None):
        _logging.Handler.__init__(self, level)

    def createLock(self):
        # The dashboard serialises records itself; a handler lock would make
        # a logging GUI thread wait for a worker that waits for the GUI thread.
        self.lock = None

    def emit(self, record):
        try:
            self._emit(record.levelno, record.getMessage(), record.created)
        except Exception:
            self.handleError(record)


__all__.append("BigEventDashBoard")
