// Stations on other machines, over a real mosquitto broker on a loopback
// port: station processes raise, clear and are acknowledged from a control
// room; a killed station shows offline through its last will; a broker
// restart in the middle of a flood loses no active alarm; the broker and
// stations a test starts go with it when it dies.
#include "tests/dashboard/mqtt_broker.h"
#include "wxtools/dashboard/alarm_publisher.h"
#include "wxtools/dashboard/alarm_subscriber.h"
#include "wxtools/dashboard/plant_dashboard.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using namespace std::chrono_literals;

namespace {

MqttOptions broker_options(int port)
{
    MqttOptions options;
    options.port = port;
    options.prefix = "test/工厂";
    options.reconnect_most = 500ms;
    return options;
}

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        out.push_back(field);
    return out;
}

// A station in a process of its own: this test program again, running
// PlantStation.RunsFromItsInput, which takes tab-separated commands.
class StationProcess {
public:
    StationProcess(const std::string& name, int port)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        // The environment is made before the fork: the child of a process
        // with threads must not allocate (another thread may hold the lock).
        std::vector<std::string> env{"OVK_STATION=" + name, "OVK_STATION_PORT=" + std::to_string(port)};
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            die_with_parent(parent);
            dup2(in[0], 0);
            dup2(out[1], 1);
            execle("/proc/self/exe", "station", "--gtest_filter=PlantStation.RunsFromItsInput", nullptr, envp.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_ = fdopen(in[1], "w");
        from_ = fdopen(out[0], "r");
    }
    ~StationProcess()
    {
        if (pid_ > 0) {
            say("quit");
            waitpid(pid_, nullptr, 0);
        }
        if (to_)
            std::fclose(to_);
        if (from_)
            std::fclose(from_);
    }

    void say(const std::string& line)
    {
        std::fputs((line + "\n").c_str(), to_);
        std::fflush(to_);
    }
    // The next line the station writes that starts with `word`.
    std::string answer(const std::string& word)
    {
        char line[512];
        while (std::fgets(line, sizeof line, from_))
            if (std::string(line).rfind(word, 0) == 0)
                return line;
        return {};
    }
    pid_t pid() const { return pid_; }
    void kill_now()
    {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    FILE* to_ = nullptr;
    FILE* from_ = nullptr;
};

using Seen = std::set<std::tuple<std::string, std::string, bool>>;  // station, code, acknowledged

Seen seen(const AlarmSubscriber& room)
{
    Seen out;
    for (const JournalAlarm& alarm : room.alarms())
        out.emplace(alarm.station, alarm.code, alarm.acknowledged);
    return out;
}

bool online(const AlarmSubscriber& room, const std::string& name)
{
    for (const RemoteStation& station : room.stations())
        if (station.name == name)
            return station.online;
    return false;
}

std::string dump(const Seen& s)
{
    std::string out;
    for (const auto& [station, code, acked] : s)
        out += station + ":" + code + (acked ? "(ack) " : " ");
    return out;
}

}  // namespace

TEST(PlantStation, RunsFromItsInput)
{
    const char* name = std::getenv("OVK_STATION");
    if (!name)
        GTEST_SKIP() << "started by the tests below in a process of its own";
    auto state = std::make_shared<AlarmState>();
    auto publisher = std::make_unique<AlarmPublisher>(state, name, broker_options(std::atoi(std::getenv("OVK_STATION_PORT"))));
    for (std::string line; std::getline(std::cin, line);) {
        const auto f = split(line);
        if (f.empty() || f[0] == "quit")
            break;
        if (f[0] == "raise")
            state->alarm(AlarmCode(f.at(1)), {}, wxString::FromUTF8(f.size() > 2 ? f[2] : std::string()));
        else if (f[0] == "clear")
            state->clear(AlarmCode(f.at(1)));
        else if (f[0] == "flood" || f[0] == "unflood")
            for (int i = std::stoi(f.at(1)); i < std::stoi(f.at(2)); ++i)
                f[0] == "flood" ? state->alarm(AlarmCode("f" + std::to_string(i)), {}) : state->clear(AlarmCode("f" + std::to_string(i)));
        else if (f[0] == "flush")
            std::printf("flushed %d %llu\n", publisher->flush(20s) ? 1 : 0,
                        static_cast<unsigned long long>(publisher->dropped()));
        std::fflush(stdout);
    }
    publisher.reset();
}

class PlantAlarmsTest : public ::testing::Test {
protected:
    MqttBroker broker;
    AlarmSubscriber room{broker_options(broker.port())};

    void expect_seen(const Seen& expected, std::chrono::milliseconds timeout = 10s)
    {
        EXPECT_TRUE(wait_until([&] { return seen(room) == expected; }, timeout))
            << "expected " << dump(expected) << "\nseen " << dump(seen(room));
    }
};

TEST_F(PlantAlarmsTest, StationChangesReachTheControlRoomAndAcknowledgementsGoBack)
{
    const std::string one = "工位1", two = "Line 2/B#";
    StationProcess stations[2] = {{one, broker.port()}, {two, broker.port()}};
    struct Step {
        int station;
        std::string command;
        Seen expected;
    };
    const Step steps[] = {
        {0, "raise\t温度高\t泵A", {{one, "温度高", false}}},
        {1, "raise\tDoor/open #1", {{one, "温度高", false}, {two, "Door/open #1", false}}},
        {1, "raise\tDoor/open #1\tB", {{one, "温度高", false}, {two, "Door/open #1", false}}},
        {0, "clear\t温度高", {{two, "Door/open #1", false}}},
        {0, "raise\t压力低", {{one, "压力低", false}, {two, "Door/open #1", false}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        stations[step.station].say(step.command);
        expect_seen(step.expected);
    }
    ASSERT_TRUE(online(room, one) && online(room, two));
    EXPECT_TRUE(room.acknowledge(two, "Door/open #1"));
    expect_seen({{one, "压力低", false}, {two, "Door/open #1", true}});

    // The changes, each with its station, in the order each station made them.
    std::vector<std::string> changes;
    for (const JournalEntry& e : room.take_events())
        changes.push_back(e.station + " " + std::to_string(static_cast<int>(e.kind)) + " " + e.code);
    using K = JournalEntry::Kind;
    auto kind = [](K k) { return std::to_string(static_cast<int>(k)); };
    const std::vector<std::string> of_one = {one + " " + kind(K::raise) + " 温度高", one + " " + kind(K::clear) + " 温度高",
                                             one + " " + kind(K::raise) + " 压力低"};
    const std::vector<std::string> of_two = {two + " " + kind(K::raise) + " Door/open #1",
                                             two + " " + kind(K::repeat) + " Door/open #1",
                                             two + " " + kind(K::acknowledge) + " Door/open #1"};
    std::vector<std::string> got_one, got_two;
    for (const std::string& c : changes)
        (c.rfind(one, 0) == 0 ? got_one : got_two).push_back(c);
    EXPECT_EQ(got_one, of_one);
    EXPECT_EQ(got_two, of_two);
}

TEST_F(PlantAlarmsTest, AKilledStationShowsOfflineAndItsRestartSweepsOldAlarms)
{
    const std::string name = "工位3";
    auto station = std::make_unique<StationProcess>(name, broker.port());
    station->say("raise\t温度高");
    station->say("raise\tDoor");
    expect_seen({{name, "温度高", false}, {name, "Door", false}});
    ASSERT_TRUE(online(room, name));
    station->kill_now();
    EXPECT_TRUE(wait_until([&] { return !online(room, name); }, 10s)) << "no last will";
    // The last known alarms stay in view while the station is away.
    EXPECT_EQ(seen(room).size(), 2u);

    // Back without 温度高: the retained message of the earlier run goes.
    station = std::make_unique<StationProcess>(name, broker.port());
    station->say("raise\tDoor");
    EXPECT_TRUE(wait_until([&] { return online(room, name); }, 10s));
    expect_seen({{name, "Door", false}});
}

TEST_F(PlantAlarmsTest, ABrokerRestartInAFloodLosesNoActiveAlarm)
{
    const std::string name = "工位5";
    StationProcess station(name, broker.port());
    station.say("flood\t0\t200");
    station.say("flush");
    ASSERT_EQ(station.answer("flushed"), "flushed 1 0\n");
    broker.stop();
    EXPECT_TRUE(wait_until([&] { return !online(room, name); }, 10s)) << "the room did not notice";
    // While the broker is away the station goes on; its changes wait.
    station.say("unflood\t0\t50");
    station.say("flood\t200\t300");
    ASSERT_TRUE(broker.start());
    station.say("flush");
    EXPECT_EQ(station.answer("flushed"), "flushed 1 0\n");
    Seen expected;
    for (int i = 50; i < 300; ++i)
        expected.emplace(name, "f" + std::to_string(i), false);
    expect_seen(expected, 20s);
    EXPECT_TRUE(online(room, name));
}

TEST(PlantDashboard, ShowsTheStationsAlarmsAndJournalsThem)
{
    MqttBroker broker;
    const std::string db = testing::TempDir() + "plant_" + std::to_string(getpid()) + ".db";
    for (const char* end : {"", "-wal", "-shm"})
        std::remove((db + end).c_str());
    auto* frame = new wxFrame(nullptr, wxID_ANY, "plant", wxDefaultPosition, wxSize(900, 600));
    auto* room = new PlantDashboard(frame, {.mqtt = broker_options(broker.port()), .journal = db});
    frame->Show();
    auto state = std::make_shared<AlarmState>();
    auto publisher = std::make_unique<AlarmPublisher>(state, "工位9", broker_options(broker.port()));
    state->alarm(AlarmCode("温度高"), {}, wxString::FromUTF8("泵A"));

    auto cell = [](wxListCtrl* list, long row, int col) { return list->GetItemText(row, col).utf8_string(); };
    ASSERT_TRUE(wait_until([&] { return room->ui_alarms->GetItemCount() == 1; }, 10s));
    EXPECT_EQ(cell(room->ui_alarms, 0, 0), "工位9");
    EXPECT_EQ(cell(room->ui_alarms, 0, 1), "温度高");
    EXPECT_EQ(cell(room->ui_alarms, 0, 5), "unacknowledged");
    EXPECT_TRUE(wait_until([&] { return room->ui_stations->GetItemCount() == 1 && cell(room->ui_stations, 0, 1) == "online"; }));
    EXPECT_EQ(cell(room->ui_stations, 0, 0), "工位9");

    room->ui_alarms->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    ASSERT_TRUE(room->acknowledge_selected());
    EXPECT_TRUE(wait_until([&] { return cell(room->ui_alarms, 0, 5) == "acknowledged"; }, 10s));
    EXPECT_TRUE(state->snapshot().at(0).acknowledged);
    EXPECT_TRUE(wait_until([&] { return room->ui_history->GetItemCount() == 2; }));
    EXPECT_EQ(cell(room->ui_history, 0, 1), "工位9");
    EXPECT_EQ(cell(room->ui_history, 0, 2), "raised");
    EXPECT_EQ(cell(room->ui_history, 0, 4), "泵A");
    EXPECT_EQ(cell(room->ui_history, 1, 2), "ACK");

    // The station says goodbye: offline, its alarm still in view.
    publisher.reset();
    EXPECT_TRUE(wait_until([&] { return cell(room->ui_stations, 0, 1) == "offline"; }, 10s));
    EXPECT_EQ(cell(room->ui_alarms, 0, 5), "acknowledged, station offline");

    room->journal()->flush();
    JournalQuery of_station;
    of_station.station = "工位9";
    std::vector<std::string> kept;
    for (const JournalEntry& e : room->journal()->query(of_station))
        kept.push_back(e.code + " " + std::to_string(static_cast<int>(e.kind)));
    EXPECT_EQ(kept, (std::vector<std::string>{"温度高 1", "温度高 5"}));
    frame->Destroy();
    flush_events();
    for (const char* end : {"", "-wal", "-shm"})
        std::remove((db + end).c_str());
}

// Run by ChildrenGoWithTheTestThatStartedThem in a process of its own: a
// broker and a station, their pids on the output, then nothing until killed.
TEST(PlantChildren, StartThenHang)
{
    if (!std::getenv("OVK_CHILDREN_HANG"))
        GTEST_SKIP() << "started by ChildrenGoWithTheTestThatStartedThem";
    MqttBroker broker;
    StationProcess station("工位0", broker.port());
    std::printf("pids %d %d\n", static_cast<int>(broker.pid()), static_cast<int>(station.pid()));
    std::fflush(stdout);
    for (;;)
        pause();
}

TEST(PlantChildren, ChildrenGoWithTheTestThatStartedThem)
{
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t parent = getpid();
    const pid_t test = fork();
    if (test == 0) {
        die_with_parent(parent);
        dup2(out[1], 1);
        setenv("OVK_CHILDREN_HANG", "1", 1);
        execl("/proc/self/exe", "hang", "--gtest_filter=PlantChildren.StartThenHang", nullptr);
        _exit(127);
    }
    close(out[1]);
    FILE* from_test = fdopen(out[0], "r");
    int pids[2] = {0, 0};
    char line[256];
    while (std::fgets(line, sizeof line, from_test) && std::sscanf(line, "pids %d %d", &pids[0], &pids[1]) != 2) {
    }
    kill(test, SIGKILL);
    waitpid(test, nullptr, 0);
    std::fclose(from_test);
    ASSERT_GT(pids[0], 0) << "the test never started its children";
    ASSERT_GT(pids[1], 0);
    // Gone, or a zombie left for whoever adopted it.
    auto gone = [](int pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text;
        std::getline(stat, text);
        const auto paren = text.rfind(')');
        return paren == std::string::npos || text.compare(paren + 2, 1, "Z") == 0;
    };
    EXPECT_TRUE(wait_until([&] { return gone(pids[0]); }, 10s)) << "the broker outlived its test";
    EXPECT_TRUE(wait_until([&] { return gone(pids[1]); }, 10s)) << "the station outlived its test";
}
