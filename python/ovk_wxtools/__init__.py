"""Ready-made wxWidgets GUI pieces for wxPython programs.

The same library C++ programs link, as one module: every window it hands
out is the wx object it is (Show, ShowModal, Destroy, Bind, sizers) with
the library's own methods and members on top.
"""
import wx as _wx  # the wx of the process must be loaded first

from ._core import *  # noqa: F401,F403
from ._core import wx_version
from ._app import SimpleApp, app, run_wxapp

__all__ = [name for name in dir() if not name.startswith("_")]
