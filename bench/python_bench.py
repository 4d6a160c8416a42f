"""The Python module side by side with plain wxPython, in one run.

    PYTHONPATH=build/bench/python/package xvfb-run -a python3 bench/python_bench.py

Each figure is the best of a few repeats; the ratios compare the library
with the plain wxPython code that does the same job.
"""
import sys
import threading
import time

import wx
import wx.grid

import ovk_wxtools as ovk

N = 100_000


def best(function, repeats=3):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return min(times)


class Sample:
    __slots__ = ("name", "value")

    def __init__(self, i):
        self.name, self.value = f"通道 {i}", i * 0.5


def show(sample):
    return f"{sample.name}: {sample.value}"


def row(sample):
    return (sample.name, sample.value)


def window_argument(frame):
    dialog = ovk.SimpleInputDialog(frame, message="基准")
    calls = 200_000
    method = best(lambda: [dialog.GetInputString() for _ in range(calls)]) / calls
    member = best(lambda: [dialog.InputField for _ in range(calls)]) / calls
    fit = best(lambda: [ovk.window_fit_layout(dialog, False) for _ in range(20_000)]) / 20_000
    plain = best(lambda: [dialog.InputField.GetValue() for _ in range(calls)]) / calls
    dialog.Destroy()
    print(f"window argument: library method {method * 1e6:.2f} us, member window {member * 1e6:.2f} us, "
          f"window_fit_layout {fit * 1e6:.2f} us (plain wxPython member call {plain * 1e6:.2f} us)")


def combo_list(frame, samples):
    box = wx.ListBox(frame)

    def library():
        items = ovk.ComboList(box, show)
        items.AppendItems(samples)
        items.Clear()

    def plain():
        box.Set([show(s) for s in samples])
        box.Clear()

    ours, theirs = best(library), best(plain)
    print(f"ComboList {N} objects with a Python callback: {ours * 1e3:.0f} ms; "
          f"list comprehension + ListBox.Set: {theirs * 1e3:.0f} ms; ratio {ours / theirs:.2f}")


def row_grid(frame, samples):
    grid = wx.grid.Grid(frame)
    grid.CreateGrid(0, 2)

    def library():
        rows = ovk.RowGrid(grid, row)
        rows.AppendItems(samples)
        rows.Clear()

    def plain():
        grid.BeginBatch()
        grid.AppendRows(len(samples))
        set_cell = grid.SetCellValue
        for r, sample in enumerate(samples):
            for c, value in enumerate(row(sample)):
                set_cell(r, c, value if isinstance(value, str) else str(value))
        grid.EndBatch()
        grid.DeleteRows(0, grid.GetNumberRows())

    ours, theirs = best(library), best(plain)
    print(f"RowGrid {N} rows: {ours * 1e3:.0f} ms; plain wx.grid.Grid fill: {theirs * 1e3:.0f} ms; "
          f"ratio {ours / theirs:.2f}")


def alarms(frame):
    board = ovk.BigEventDashBoard(frame)
    state = board.state()
    per_thread = 50_000
    codes = [f"alarm {i}" for i in range(8)]

    def station(n):
        identity = f"站{n}"
        for i in range(per_thread):
            state.alarm(codes[i & 7], None, identity)

    threads = [threading.Thread(target=station, args=(n,)) for n in range(4)]
    start = time.perf_counter()
    for t in threads:
        t.start()
    while any(t.is_alive() for t in threads):
        wx.YieldIfNeeded()
        time.sleep(0.001)
    elapsed = time.perf_counter() - start
    print(f"alarms from 4 Python threads: {4 * per_thread / elapsed:,.0f} calls/s in all")
    board.Destroy()


def main():
    app = wx.App(False)
    frame = wx.Frame(None)
    samples = [Sample(i) for i in range(N)]
    window_argument(frame)
    combo_list(frame, samples)
    row_grid(frame, samples)
    alarms(frame)
    frame.Destroy()
    app.Destroy()
    return 0


if __name__ == "__main__":
    sys.exit(main())
