"""The alarm journal from Python: a real SQLite file written, queried and
summed up, and a dashboard that keeps its history in one."""
import logging
from datetime import datetime, timedelta, timezone

import pytest

import ovk_wxtools as ovk
from ovk_wxtools.testing import wait_until

Kind = ovk.JournalEntry.Kind


def entry(at, kind, code="温度过高", **fields):
    return ovk.JournalEntry(time=at, station="站1", code=code, kind=kind, level=logging.ERROR, **fields)


def test_entries_written_queried_and_figured(tmp_path):
    journal = ovk.AlarmJournal(str(tmp_path / "报警.sqlite"), ovk.JournalOptions(batch_time=timedelta(milliseconds=5)))
    start = datetime.now().replace(microsecond=0) - timedelta(hours=1)
    for i in range(12):  # a flood in the first ten minutes, chattering in its first minute
        journal.append(entry(start + timedelta(seconds=20 * i), Kind.raise_))
    journal.append(entry(start + timedelta(seconds=250), Kind.acknowledge))
    journal.append(entry(start + timedelta(minutes=30), Kind.log, code="", text="门已打开"))
    journal.flush()
    assert journal.problem() == ""

    newest = journal.query(station="站1", newest_first=True, limit=3)
    assert [e.kind for e in newest] == [Kind.log, Kind.acknowledge, Kind.raise_]
    assert newest[0].text == "门已打开" and newest[0].time == start + timedelta(minutes=30) and newest[0].id > 0
    assert newest[2].level == logging.ERROR and newest[2].code == "温度过高"
    aware = (start + timedelta(minutes=29)).astimezone(timezone.utc)  # an aware time keeps its zone
    assert [e.text for e in journal.query(ovk.JournalQuery(from_=aware))] == ["门已打开"]
    assert journal.query(text="门", lowest_level=logging.CRITICAL) == []
    assert [e.text for e in journal.last_history(1)] == ["门已打开"]
    with pytest.raises(TypeError):
        journal.query(no_such_field=1)

    figures = ovk.journal_figures(journal, start, start + timedelta(minutes=40))
    assert figures.per_10_minutes == [12, 0, 0, 0] and [f.raises for f in figures.floods] == [12]
    assert figures.floods[0].start == start and figures.floods[0].end == start + timedelta(minutes=10)
    assert [(c.station, c.code, c.raises) for c in figures.most_frequent] == [("站1", "温度过高", 12)]
    assert figures.chattering == figures.most_frequent
    assert figures.acknowledged == 1 and figures.acknowledge_max == timedelta(seconds=30)
    again = ovk.figures_of(journal.query(), start.timestamp(), start + timedelta(minutes=40))
    assert again.most_frequent == figures.most_frequent

    csv = tmp_path / "导出.csv"
    assert journal.export_csv(str(csv), ovk.JournalQuery(code="温度过高"))
    assert csv.read_text(encoding="utf-8").count("温度过高") == 13
    assert not journal.export_csv(str(tmp_path / "无此目录" / "x.csv"))


def test_a_dashboard_journal_outlives_the_window(frame, tmp_path):
    path = str(tmp_path / "看板.sqlite")
    options = ovk.DashboardOptions(journal=path, station="站2",
                                   journal_options=ovk.JournalOptions(batch_time=timedelta(milliseconds=5)))
    assert options.journal == path and options.journal_rows == 1000
    board = ovk.BigEventDashBoard(frame, options=options)
    board.alarm("泵停止")
    board.clear("泵停止")
    journal = board.journal()
    assert isinstance(journal, ovk.AlarmJournal) and journal.path == path
    board.Destroy()
    journal.flush()
    assert [(e.station, e.kind) for e in journal.query(code="泵停止")] == [("站2", Kind.raise_), ("站2", Kind.clear)]

    board = ovk.BigEventDashBoard(frame, options=options)  # the history comes back from the file
    grid = board.ui_grid_error_history
    assert wait_until(lambda: grid.GetNumberRows() == 1) and grid.GetCellValue(0, 1) == "泵停止"
    assert ovk.BigEventDashBoard(frame).journal() is None
    with pytest.raises(TypeError):
        ovk.DashboardOptions(jounral=path)
