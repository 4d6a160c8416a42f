"""A test-bench tool in Python: "Run" measures every channel of every board on
a worker thread while the multi-level progress dialog shows how far it got;
the alarm dashboard below is the tool's log, and raises an alarm for each
channel out of its limits. The same tool as main.cpp next to it."""
import enum
import logging
import random
import threading
import time

import wx

import ovk_wxtools as ovk

BOARDS, CHANNELS = 4, 16


class Alarm(enum.Enum):
    out_of_limits = "Channel out of limits"
    run_cancelled = "Run cancelled"


class TestBenchFrame(wx.Frame):
    def __init__(self, pause=0.06):
        super().__init__(None, title="Test bench", size=(900, 520))
        self.pause = pause
        self.logger = logging.getLogger("bench")
        self.logger.setLevel(logging.INFO)
        self.board = ovk.BigEventDashBoard(self, logger=self.logger, level=logging.INFO)
        self.logger.addHandler(self.board)

        run = wx.Button(self, label="Run")
        clear = wx.Button(self, label="Clear alarms")
        buttons = wx.BoxSizer(wx.HORIZONTAL)
        buttons.Add(run, 0, wx.ALL, 5)
        buttons.Add(clear, 0, wx.ALL, 5)
        sizer = wx.BoxSizer(wx.VERTICAL)
        sizer.Add(buttons)
        sizer.Add(self.board, 1, wx.EXPAND | wx.ALL, 5)
        self.SetSizer(sizer)
        run.Bind(wx.EVT_BUTTON, lambda event: self.run_measurement())
        clear.Bind(wx.EVT_BUTTON, lambda event: self.board.clear_all())
        self.Bind(wx.EVT_CLOSE, self.on_close)

    def run_measurement(self):
        progress = ovk.Progress(["Board", "Channel"])
        progress.start(0, BOARDS)
        worker = threading.Thread(target=self.measure, args=(progress,))
        worker.start()
        dialog = ovk.ProgressDialog(self, progress)
        if dialog.ShowModal() != wx.ID_OK:
            progress.cancel()  # the worker sees it between two channels
            self.board.alarm(Alarm.run_cancelled, level=logging.WARNING)
        dialog.Destroy()
        worker.join()
        self.logger.info("run ended")

    def measure(self, progress):
        """Worker thread: talks to the dashboard and the progress only."""
        noise = random.Random(42)
        for b in range(1, BOARDS + 1):
            progress.start(1, CHANNELS, f"Board {b}")
            for c in range(1, CHANNELS + 1):
                if progress.stopped():
                    return
                time.sleep(self.pause)
                volts = noise.gauss(5.0, 0.15)
                if not 4.75 <= volts <= 5.25:
                    where = f"board {b} channel {c}"
                    self.board.alarm(Alarm.out_of_limits, detail=volts, identity=where)
                    self.logger.warning("%s: %.3f V", where, volts)
                progress.step(1)
            progress.step(0)
            self.logger.info("board %d measured", b)
        progress.finish()

    def on_close(self, event):
        self.logger.removeHandler(self.board)
        event.Skip()


if __name__ == "__main__":
    ovk.run_wxapp(TestBenchFrame)
