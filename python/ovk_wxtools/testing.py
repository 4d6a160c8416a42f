"""The testing kit as a pytest plugin: real windows, every modal dialog
answered from a script, and no test left hanging.

Load it from a conftest.py (``pytest_plugins = ["ovk_wxtools.testing"]``)
or with ``pytest -p ovk_wxtools.testing``. It gives the fixtures

- ``wxapp``: the wx.App of the session (the program's own, or a new one);
- ``frame``: a fresh host wx.Frame with a vertical sizer, destroyed after the test;
- ``dialogs``: the dialog script. Each step answers the next dialog that
  opens: ``dialogs.press("Yes").answer_text("泵 1")``,
  ``dialogs.act(type_into("Name", "Ann").press("OK"))``. A dialog nobody
  scripted is cancelled at once and fails the test with its texts, as does
  a step left unused when the test ends.

and, during every test, fails it when a handler raised into sys.excepthook
(as wxPython reports errors of its handlers) or when it runs longer than its time limit (``ovk_timeout`` in the ini
file, 120 s by default, or ``@pytest.mark.ovk_timeout(seconds)``): its
dialogs are cancelled and the test is stopped instead of hanging the run.
"""
import ctypes
import faulthandler
import os
import sys
import threading

import pytest
import wx

from . import _core

_kit = _core._testing

Actions = _kit.Actions
DialogKind = _kit.DialogKind
ShownDialog = _kit.ShownDialog
add_countdown = _kit.add_countdown
choose = _kit.choose
click = _kit.click
flush_events = _kit.flush_events
plain_label = _kit.plain_label
press = _kit.press
run_out = _kit.run_out
select = _kit.select
send_command = _kit.send_command
type_into = _kit.type_into
wait_until = _kit.wait_until

__all__ = ["Actions", "DialogKind", "ShownDialog", "TestHung", "add_countdown", "choose", "click", "flush_events",
           "plain_label", "press", "run_modal", "run_out", "select", "send_command", "type_into", "wait_until"]


def run_modal(dialog, act):
    """Shows dialog modally, runs act() inside its modal loop and answers the code it ended with."""
    _kit.install()
    _kit.script().inside(lambda _dialog: act())
    return dialog.ShowModal()


class TestHung(Exception):
    """Raised into a test that ran past its time limit."""

    __test__ = False


def pytest_configure(config):
    config.addinivalue_line("markers", "ovk_timeout(seconds): time limit of one test (ovk_wxtools.testing)")


def pytest_addoption(parser):
    parser.addini("ovk_timeout", "seconds a test may run before ovk_wxtools.testing stops it", default="120")


@pytest.fixture(scope="session")
def wxapp():
    """The wx.App of the test session."""
    app = wx.GetApp() or wx.App(False)
    yield app


@pytest.fixture
def frame(wxapp):
    """A host frame with a vertical box sizer, destroyed after the test."""
    host = wx.Frame(None, title="host")
    host.SetSizer(wx.BoxSizer(wx.VERTICAL))
    yield host
    if host:
        host.Destroy()
    wx.Yield()


# What went wrong during the running test: the kit's failures and the
# errors handlers sent to sys.excepthook.
_failures = []


@pytest.fixture
def dialogs(wxapp):
    """The dialog script: every modal dialog of the test takes its next step."""
    _kit.install()
    script = _kit.script()
    script.reset()
    _kit.set_failure_handler(_failures.append)
    try:
        yield script
    finally:
        _kit.set_failure_handler(None)
        _kit.uninstall()
        script.reset()


def _capture_handler_errors():
    previous = sys.excepthook

    def hook(kind, value, trace):
        _failures.append(f"an event handler raised {kind.__name__}: {value}")
        previous(kind, value, trace)

    sys.excepthook = hook
    return lambda: setattr(sys, "excepthook", previous) if sys.excepthook is hook else None


def _time_limit(item):
    marker = item.get_closest_marker("ovk_timeout")
    return float(marker.args[0]) if marker else float(item.config.getini("ovk_timeout"))


class _Watchdog:
    """Stops a test that runs past its limit: its modal dialogs are cancelled,
    a nested event loop is left and TestHung is raised in the test. A test
    that still has not ended a while later ends the whole run, with every
    thread's traceback, rather than hanging it."""

    RESCUE = 2.0
    GRACE = 30.0

    def __init__(self, seconds, name, config):
        self.seconds, self.name, self.config = seconds, name, config
        self.raised = False
        self.main = threading.main_thread().ident
        self.fired = threading.Event()
        self.done = threading.Event()
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._watch, name="ovk-watchdog", daemon=True)
        self.thread.start()

    def stop(self):
        with self.lock:
            self.done.set()
            if self.raised:
                # A stop not delivered yet must not land in pytest's own code.
                ctypes.pythonapi.PyThreadState_SetAsyncExc(ctypes.c_ulong(self.main), None)

    def _watch(self):
        if self.done.wait(self.seconds):
            return
        self.fired.set()
        # First as a person would: cancel the dialogs and leave the loop the test waits in.
        if wx.GetApp() is not None:
            wx.CallAfter(self._rescue)
        if self.done.wait(self.RESCUE):
            return
        # Still running Python code: stop it where it is.
        message = f"the test ran longer than its limit of {self.seconds:g} s and was stopped"
        hung = type("TestHung", (TestHung,), {"__init__": lambda error: TestHung.__init__(error, message)})
        with self.lock:
            if self.done.is_set():
                return
            self.raised = True
            ctypes.pythonapi.PyThreadState_SetAsyncExc(ctypes.c_ulong(self.main), ctypes.py_object(hung))
        if self.done.wait(self.GRACE):
            return
        capture = self.config.pluginmanager.getplugin("capturemanager")
        if capture is not None:
            capture.suspend_global_capture(in_=True)
        sys.stderr.write(f"\n{self.name} did not end {self.GRACE:.0f} s after its time limit; stopping the run\n")
        sys.stderr.flush()
        faulthandler.dump_traceback(all_threads=True)
        os._exit(3)

    @staticmethod
    def _rescue():
        for window in wx.GetTopLevelWindows():
            if isinstance(window, wx.Dialog) and window.IsModal():
                window.EndModal(wx.ID_CANCEL)
        loop = wx.EventLoopBase.GetActive()
        if loop is not None and not loop.IsMain():
            loop.Exit()


def _run_checked(item, runtest):
    """Runs the test under the watchdog and fails it for what the kit saw go wrong."""
    __tracebackhide__ = True
    del _failures[:]
    restore = _capture_handler_errors()
    seconds = _time_limit(item)
    watchdog = _Watchdog(seconds, item.nodeid, item.config)
    error = None
    try:
        runtest()
    except BaseException as e:  # noqa: B902 - raised again below, with what the kit saw
        error = e
    finally:
        watchdog.stop()
        restore()
    if "dialogs" in item.fixturenames:
        _kit.script().verify()
    if watchdog.fired.is_set() and not isinstance(error, TestHung):
        # The stop was swallowed on its way (by a handler, say): the test fails all the same.
        raise TestHung(f"the test ran longer than its limit of {seconds:g} s; its dialogs were cancelled") from error
    if _failures:
        message = "\n".join(_failures)
        del _failures[:]
        if error is not None:
            message += f"\nand then the test failed: {error!r}"
        pytest.fail(message, pytrace=False)
    if error is not None:
        raise error


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_call(item):
    runtest = item.runtest
    item.runtest = lambda: _run_checked(item, runtest)
    try:
        yield
    finally:
        del item.runtest
