"""The Python programs of examples/ and docs/ run as a user would run them."""
import pathlib
import runpy

import wx

import ovk_wxtools as ovk
from conftest import end_active_dialog, later

ROOT = pathlib.Path(__file__).resolve().parents[2]


def load(path):
    return runpy.run_path(str(ROOT / path))


def modal(dialog):
    for window in wx.GetTopLevelWindows():
        if isinstance(window, wx.Dialog) and window.IsModal():
            return window
    return None


def test_gallery_row_grid_entry(wxapp):
    program = load("docs/examples/gallery_row_grid.py")

    def use():
        dialog = modal(None)
        if dialog is None:
            return later(20, use)
        dialog.rows.SetSelection(1)
        dialog.fail()
        dialog.add()
        seen.append((dialog.rows.control.GetCellValue(1, 3), len(dialog.rows)))
        dialog.EndModal(wx.ID_CANCEL)

    seen = []
    later(50, use)
    assert ovk.run_wxapp(program["Measurements"]) == wx.ID_CANCEL
    assert seen == [("FAIL", 6)]


def test_serial_port_picker(wxapp, capsys):
    program = load("examples/serial_port_picker/serial_port_picker.py")
    later(50, end_active_dialog(wx.ID_OK))
    # EndModal does not press the button: the picker has no chosen port then.
    assert program["main"](comports=lambda: ["/dev/ttyUSB0"]) == 1

    def connect():
        dialog = modal(None)
        if dialog is None:
            return later(20, connect)
        button = dialog.FindWindow(wx.ID_OK)
        button.GetEventHandler().ProcessEvent(wx.CommandEvent(wx.wxEVT_BUTTON, wx.ID_OK))

    later(50, connect)
    assert program["main"](comports=lambda: ["/dev/ttyUSB0", "/dev/ttyS0"]) == 0
    assert capsys.readouterr().out == "/dev/ttyUSB0\n"


def test_test_bench_runs_and_logs(wxapp):
    program = load("examples/test_bench/test_bench.py")
    logged = []

    def messages(frame):
        grid = frame.board.ui_grid_error_history
        return [grid.GetCellValue(r, 2) for r in range(grid.GetNumberRows())]

    def wait_for_log(frame, tries=200):
        if "run ended" in messages(frame) or not tries:
            logged.extend(messages(frame))
            return frame.Close()
        later(20, lambda: wait_for_log(frame, tries - 1))

    def run():
        frame = [w for w in wx.GetTopLevelWindows() if isinstance(w, program["TestBenchFrame"])]
        if not frame:
            return later(20, run)
        frame[0].run_measurement()
        wait_for_log(frame[0])

    later(50, run)
    assert ovk.run_wxapp(program["TestBenchFrame"], pause=0.001) is None
    assert "board 4 measured" in logged and logged[-1] == "run ended"


def test_docs_page_quotes_the_program_it_runs():
    page = (ROOT / "docs/python.md").read_text(encoding="utf-8")
    assert (ROOT / "docs/examples/gallery_row_grid.py").read_text(encoding="utf-8") in page
