import enum
import logging
import threading
import time

import pytest
import wx

import ovk_wxtools as ovk


class Alarm(enum.Enum):
    over_temperature = "温度过高"
    door_open = "Door open"


def run_until(condition, seconds=20):
    """Runs the event loop until condition() holds or the time is up."""
    loop = wx.GUIEventLoop()
    timer = wx.Timer()
    deadline = time.monotonic() + seconds

    def check(_):
        if time.monotonic() > deadline or condition():
            loop.Exit()

    timer.Bind(wx.EVT_TIMER, check)
    timer.Start(10)
    loop.Run()
    timer.Stop()
    return condition()


def test_alarms_from_four_threads_while_the_loop_runs(frame):
    logger = logging.getLogger("test.alarms")
    logger.propagate = False
    board = ovk.BigEventDashBoard(frame, logger=logger)
    logger.addHandler(board)
    assert isinstance(board, wx.Panel) and isinstance(board, logging.Handler)
    state = board.state()

    def station(n):
        for i in range(500):
            state.alarm(Alarm.over_temperature, detail={"n": n, "i": i}, identity=f"站{n}")
            board.alarm(f"code {n}", detail=i)
            if i % 2:
                board.clear(f"code {n}")

    threads = [threading.Thread(target=station, args=(n,)) for n in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    grid = board.ui_grid_error_history
    assert board.fired(Alarm.over_temperature) and board.fired(Alarm.over_temperature, identity="站3")
    assert run_until(lambda: board.ui_list_alarm.GetCount() == 1 and grid.GetNumberRows() >= 4)
    first = grid.GetCellValue(0, 2)
    assert first.startswith("温度过高: 站") or first.startswith("code")
    snapshot = board.snapshot()
    assert snapshot[0]["code"] == "温度过高" and sorted(snapshot[0]["identities"]) == [f"站{n}" for n in range(4)]
    board.clear_all()
    assert not state.any_fired()
    assert state.backlog_limit == ovk.AlarmState.default_backlog_limit
    state.backlog_limit = 10
    assert state.backlog_limit == 10
    logger.removeHandler(board)


def test_logging_flood_and_a_dead_window(frame):
    logger = logging.getLogger("test.flood")
    logger.propagate = False
    logger.setLevel(logging.INFO)
    board = ovk.BigEventDashBoard(frame, level=logging.INFO)
    logger.addHandler(board)
    state = board.state()

    def flood():
        for i in range(5000):
            logger.warning("第 %d 条", i)

    threads = [threading.Thread(target=flood) for _ in range(4)]
    for t in threads:
        t.start()
    logger.info("来自主线程")
    for t in threads:
        t.join()
    grid = board.ui_grid_error_history
    assert run_until(lambda: grid.GetNumberRows() == 20001), grid.GetNumberRows()
    assert grid.GetCellBackgroundColour(0, 0) in (wx.Colour(255, 255, 0), wx.Colour(255, 0, 0))

    board.Destroy()
    wx.Yield()
    logger.warning("窗口已关闭")  # dropped, no crash
    state.alarm("after", detail=None)
    assert state.fired("after") and not state.attached()
    try:
        board.alarm("x")
    except RuntimeError:
        pass
    else:
        raise AssertionError("a dead dashboard must raise RuntimeError")
    logger.removeHandler(board)


def test_extras_and_alarm_details(frame):
    options = ovk.DashboardOptions(acknowledge_and_shelve=True, level_filter=True, csv_export=True)
    board = ovk.BigEventDashBoard(frame, options=options)
    assert board.options().acknowledge_and_shelve and board.options().csv_export and not board.options().keep_view
    assert board.ui_acknowledge.GetLabel() and board.ui_export_csv and board.ui_level_filter.GetCount() > 0
    assert ovk.BigEventDashBoard.csv_line(["温度", 'a "b"', "c,d"]) == '温度,"a ""b""","c,d"\r\n'
    detail = {"通道": 3}
    board.alarm(Alarm.door_open, detail=detail)
    assert run_until(lambda: board.ui_list_alarm.GetCount() == 1)
    assert board.alarm_detail(0) is detail
    with pytest.raises(IndexError):
        board.alarm_detail(1)
    assert board.acknowledge(Alarm.door_open)
    board.Destroy()
