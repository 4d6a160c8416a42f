"""A plant's alarms from Python over a real mosquitto broker on a loopback
port: a station publishes, a control room (a subscriber, and the window)
sees its alarm and acknowledges it back."""
import os
import socket
import subprocess
import time
from datetime import timedelta

import pytest

import ovk_wxtools as ovk
from ovk_wxtools.testing import wait_until

pytestmark = pytest.mark.skipif(not hasattr(ovk, "AlarmPublisher"), reason="built without libmosquitto")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


@pytest.fixture
def broker(tmp_path):
    """A mosquitto of its own on a free loopback port; its port."""
    port = free_port()
    config = tmp_path / "mosquitto.conf"
    config.write_text(f"listener {port} 127.0.0.1\nallow_anonymous true\nlog_dest none\n")
    program = os.environ.get("OVK_MOSQUITTO") or "/usr/sbin/mosquitto"
    process = subprocess.Popen([program, "-c", str(config)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 10
        while True:
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                break
            except OSError:
                if time.monotonic() > deadline or process.poll() is not None:
                    raise RuntimeError("mosquitto did not start")
                time.sleep(0.01)
        yield port
    finally:
        process.kill()
        process.wait()


def options(port):
    return ovk.MqttOptions(port=port, prefix="test/工厂", reconnect_most=timedelta(milliseconds=500))


def test_a_station_and_a_control_room_see_each_other(frame, broker, tmp_path):
    state = ovk.AlarmState()
    journal = ovk.AlarmJournal(str(tmp_path / "控制室.sqlite"))
    changes = []
    with ovk.AlarmPublisher(state, "站/1", options(broker)) as station, \
            ovk.AlarmSubscriber(options(broker), journal=journal) as room:
        room.on_change(lambda: changes.append(1))
        board = ovk.PlantDashboard(frame, ovk.PlantDashboardOptions(mqtt=options(broker)))
        assert wait_until(lambda: station.connected() and room.connected() and board.connected())
        state.alarm("温度过高", identity="传感器 3")
        assert station.flush(timedelta(seconds=5)) and station.station == "站/1"

        def heard(reader):
            return [(a.station, a.code, a.acknowledged) for a in reader.alarms()]
        assert wait_until(lambda: heard(room) == [("站/1", "温度过高", False)] and heard(board) == heard(room))
        assert wait_until(lambda: board.ui_alarms.GetItemCount() == 1) and changes
        assert [(s.name, s.online, s.active) for s in room.stations()] == [("站/1", True, 1)]
        assert room.alarms()[0].identities == ["传感器 3"]

        assert board.acknowledge("站/1", "温度过高")  # through the broker to the station, and back
        assert wait_until(lambda: heard(room) == [("站/1", "温度过高", True)])
        assert state.snapshot()[0]["acknowledged"]
        kinds = [e.kind for e in room.take_events()]
        assert ovk.JournalEntry.Kind.raise_ in kinds and ovk.JournalEntry.Kind.acknowledge in kinds
        board.Destroy()
    assert station.closed and room.closed
    with pytest.raises(ValueError):
        station.connected()
    journal.flush()
    assert [e.station for e in journal.query(code="温度过高")][:1] == ["站/1"]
