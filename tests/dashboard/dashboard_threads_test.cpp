// The dashboard under several threads: raising, clearing and logging from
// workers while the GUI thread runs, and loggers that outlive the window.
#include "tests/dashboard/dashboard_fixture.h"

#include <atomic>
#include <chrono>
#include <list>
#include <map>
#include <random>
#include <set>
#include <thread>

#include <wx/evtloop.h>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

// What one worker's own sequence implies: its active codes in list order and
// the history rows it causes, in order.
struct Expected {
    std::list<std::string> active;
    std::map<std::string, std::set<std::string>> identities;
    std::vector<std::string> rows;  // "LEVEL|column 1|column 2"

    void raise(const std::string& code, const std::string& id)
    {
        auto [it, added] = identities.try_emplace(code);
        it->second.insert(id);
        if (added) {
            active.push_back(code);
            rows.push_back("ERROR||" + (id.empty() ? code : code + ": " + id));
        }
    }
    void clear(const std::string& code, const std::string* id)
    {
        auto it = identities.find(code);
        if (it == identities.end())
            return;
        if (id && (it->second.erase(*id) == 0 || !it->second.empty()))
            return;
        identities.erase(it);
        active.remove(code);
        rows.push_back("GOOD|" + code + "|");
    }
};

// Deterministic choices for each worker.
struct Dice {
    std::uint32_t state;
    int roll(int n)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    }
};

std::string row_key(const HistoryRow& row, bool log_row)
{
    // The time column of a log row changes from run to run; the rest must not.
    return (row.level + "|" + (log_row ? wxString() : row.time_or_code) + "|" + row.message).utf8_string();
}

}  // namespace

TEST_F(DashboardTest, WorkersRaisingClearingAndLoggingLoseAndDuplicateNothing)
{
    auto logger = std::make_shared<spdlog::logger>("alarms");
    logger->set_level(spdlog::level::trace);
    make(logger);
    logger->sinks().push_back(dash->sink());

    constexpr int workers = 4;
    constexpr int steps = 1500;
    std::vector<Expected> expected(workers);
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([&, w] {
            Dice dice{static_cast<std::uint32_t>(w * 7919 + 1)};
            Expected& model = expected[w];
            const std::string tag = "w" + std::to_string(w);
            const std::string ids[] = {"", "A", "B"};
            for (int i = 0; i < steps; ++i) {
                const std::string code = tag + "-c" + std::to_string(dice.roll(12));
                const std::string& id = ids[dice.roll(3)];
                switch (dice.roll(10)) {
                case 0: case 1: case 2: case 3:
                    dash->alarm(AlarmCode(code), i, wxString::FromUTF8(id));
                    model.raise(code, id);
                    break;
                case 4: case 5: case 6:
                    dash->clear(AlarmCode(code), wxString::FromUTF8(id));
                    model.clear(code, &id);
                    break;
                case 7:
                    dash->clear(AlarmCode(code));
                    model.clear(code, nullptr);
                    break;
                case 8:
                    logger->warn("{} step {}", tag, i);
                    model.rows.push_back("WARNING||" + tag + " step " + std::to_string(i));
                    break;
                default:
                    logger->info("{} quiet {}", tag, i);  // below the threshold
                    EXPECT_EQ(dash->fired(AlarmCode(code)), model.identities.count(code) > 0);
                    break;
                }
            }
            ++finished;
        });
    }
    // The GUI thread keeps running the posted calls meanwhile.
    EXPECT_TRUE(wait_until([&] { return finished.load() == workers; }, 110s));
    for (auto& t : threads)
        t.join();
    settle();

    const auto rows = history();
    const auto list = listed();
    std::size_t expected_rows = 0, expected_active = 0;
    for (int w = 0; w < workers; ++w) {
        const std::string tag = "w" + std::to_string(w);
        std::vector<std::string> seen_rows;
        for (const auto& row : rows) {
            const bool log_row = row.level != "GOOD";
            const wxString about = log_row ? row.message : row.time_or_code;
            if (about.utf8_string().rfind(tag, 0) == 0)  // the tags are w0 to w3
                seen_rows.push_back(row_key(row, log_row));
        }
        EXPECT_EQ(seen_rows, expected[w].rows) << "history of worker " << w;

        std::vector<std::string> seen_active;
        for (const auto& text : list)
            if (text.utf8_string().rfind(tag + "-", 0) == 0)
                seen_active.push_back(text.utf8_string());
        EXPECT_EQ(seen_active, std::vector<std::string>(expected[w].active.begin(), expected[w].active.end()))
            << "alarm list of worker " << w;
        for (const auto& [code, ids] : expected[w].identities)
            for (const auto& id : ids)
                EXPECT_TRUE(dash->fired(AlarmCode(code), wxString::FromUTF8(id)));
        expected_rows += expected[w].rows.size();
        expected_active += expected[w].active.size();
    }
    EXPECT_EQ(rows.size(), expected_rows);
    EXPECT_EQ(list.size(), expected_active);
    for (const auto& row : rows) {
        if (row.level == "GOOD")
            EXPECT_EQ(row.colour, green());
        else
            EXPECT_EQ(row.colour, row.level == "WARNING" ? yellow() : red());
    }

    // Whatever is left goes with one row.
    dash->clear_all();
    settle();
    EXPECT_EQ(history().size(), expected_rows + (expected_active ? 1 : 0));
    EXPECT_TRUE(listed().empty());
}

TEST_F(DashboardTest, WorkersNeverWaitForTheGuiThread)
{
    auto logger = std::make_shared<spdlog::logger>("alarms");
    make(logger);
    logger->sinks().push_back(dash->sink());
    // The GUI thread runs no event while the worker works: joining it at once
    // would hang if any call waited for the GUI thread.
    std::thread worker([this] {
        for (int i = 0; i < 500; ++i) {
            AlarmCode code("code " + std::to_string(i % 50));
            dash->alarm(code, i, "A");
            dash->update();
            if (i % 3 == 0)
                dash->clear(code, wxString("A"));
        }
        dash->clear_all();
    });
    worker.join();
    EXPECT_FALSE(dash->any_fired());
    settle();
    EXPECT_TRUE(listed().empty());
    const auto rows = history();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().time_or_code, "All Clear");
}

TEST_F(DashboardTest, LoggingThreadsSurviveTheDashboardGoingAway)
{
    auto logger = std::make_shared<spdlog::logger>("alarms");
    make(logger);
    auto sink = dash->sink();
    logger->sinks().push_back(sink);

    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 3; ++w)
        threads.emplace_back([&, w] {
            // Paced, so the queue of rows stays small under the sanitizers.
            for (int i = 0; !stop.load(); ++i) {
                logger->error("worker {} record {}", w, i);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    // Let rows arrive, then take the window away while the workers go on.
    EXPECT_TRUE(wait_until([&] { return dash->ui_grid_error_history->GetNumberRows() > 100; }, 60s));
    dash->Destroy();
    dash = nullptr;
    EXPECT_FALSE(sink->attached());
    EXPECT_TRUE(wait_until([&] { return sink->dropped() > 300; }, 60s));
    stop = true;
    for (auto& t : threads)
        t.join();
    flush_events();  // calls posted before the window went must not run now
}

TEST_F(DashboardTest, HandleStaysValidWhileTheFrameGoesAtAnyMoment)
{
    std::mt19937 dice(20261208);
    for (int round = 0; round < 200; ++round) {
        auto* owner = new wxFrame(nullptr, wxID_ANY, wxS("round"));
        auto logger = std::make_shared<spdlog::logger>("alarms");
        auto* board = new BigEventDashBoard(owner, logger);
        logger->sinks().push_back(board->sink());  // before any thread logs
        std::shared_ptr<AlarmState> state = board->state();
        state->set_backlog_limit(8);  // so workers also wait for room when the window goes
        std::atomic<int> running{4};
        std::vector<std::thread> workers;
        for (int w = 0; w < 4; ++w)
            workers.emplace_back([&, w] {
                Dice own{static_cast<std::uint32_t>(round * 4 + w + 1)};
                for (int i = 0; i < 60; ++i) {
                    const int n = own.roll(6);
                    const AlarmCode code("w" + std::to_string(w) + "-" + std::to_string(n));
                    if (own.roll(2))
                        state->alarm(code, i, wxS("A"));
                    else
                        state->clear(code);
                    logger->warn("w{} {}", w, i);
                    if (i % 20 == 19)
                        state->clear_all();
                }
                --running;
            });
        // The GUI thread serves the window for a moment, then the frame goes.
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(dice() % 3000);
        while (std::chrono::steady_clock::now() < until)
            wxTheApp->Yield(true);
        owner->Destroy();
        while (state->attached())
            wxTheApp->Yield(true);
        for (auto& t : workers)
            t.join();
        EXPECT_EQ(running.load(), 0);
        // The state still answers, and still takes work, with nothing to show it on.
        state->alarm(AlarmCode("after"), {});
        EXPECT_TRUE(state->fired(AlarmCode("after")));
        EXPECT_EQ(state->backlog(), 0u);
        state->clear_all();
        EXPECT_FALSE(state->any_fired());
        logger->error("nobody listens");
    }
}

TEST_F(DashboardTest, FloodKeepsTimersFiringAndEveryRecordBecomesARow)
{
    make();
    auto state = dash->state();
    constexpr std::size_t limit = 2000;
    state->set_backlog_limit(limit);
    auto logger = std::make_shared<spdlog::logger>("flood", dash->sink());
    std::atomic<bool> stop{false};
    std::atomic<long> produced{0};
    std::atomic<std::size_t> worst{0};
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < 3; ++w)
        threads.emplace_back([&, w] {
            for (long i = 0; !stop.load(); ++i) {
                logger->warn("w{} {}", w, i);
                ++produced;
                if (i % 32 == 0) {
                    const std::size_t now = state->backlog();
                    for (std::size_t seen = worst.load(); now > seen && !worst.compare_exchange_weak(seen, now);) {
                    }
                }
            }
            ++finished;
        });
    // Without the GUI thread writing rows, the producers fill the backlog and wait.
    while (state->backlog() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // A timer started now, in the thick of it, keeps firing while the rows go in.
    int ticks = 0, busy_ticks = 0;
    wxGUIEventLoop loop;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        ++ticks;
        busy_ticks += state->backlog() > 0 ? 1 : 0;
        const bool enough = busy_ticks >= 5 && dash->ui_grid_error_history->GetNumberRows() > 2 * static_cast<int>(limit);
        if (enough || ticks == 500)
            loop.Exit();
    });
    timer.Start(20);
    loop.Run();
    timer.Stop();
    EXPECT_GE(busy_ticks, 5);
    stop = true;
    // Producers may be waiting for room: keep writing rows until they are done.
    EXPECT_TRUE(wait_until([&] { return finished.load() == 3; }, 30s));
    for (auto& t : threads)
        t.join();
    settle();
    EXPECT_LE(worst.load(), limit);
    EXPECT_EQ(dash->ui_grid_error_history->GetNumberRows(), produced.load());
}

TEST_F(DashboardTest, GuiThreadNeverWaitsForRoom)
{
    make();
    dash->state()->set_backlog_limit(4);
    for (int i = 0; i < 50; ++i) {
        dash->alarm(AlarmCode("c" + std::to_string(i)), {});
        dash->clear(AlarmCode("c" + std::to_string(i)));
    }
    EXPECT_EQ(dash->state()->backlog(), 50u);
    settle();
    EXPECT_EQ(history().size(), 50u);
}

TEST_F(DashboardTest, ProducersStopWaitingForAGuiThreadThatWritesNothing)
{
    make();
    dash->state()->set_backlog_limit(4);
    // The GUI thread joins the worker without running its event loop: the
    // worker must get through, and no row may be lost.
    std::thread worker([this] {
        for (int i = 0; i < 50; ++i) {
            dash->alarm(AlarmCode("c" + std::to_string(i)), {});
            dash->clear(AlarmCode("c" + std::to_string(i)));
        }
    });
    worker.join();
    settle();
    EXPECT_EQ(history().size(), 50u);
}
