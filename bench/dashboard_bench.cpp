// Speed of the alarm dashboard: raise/clear calls from several threads, the
// GUI thread draining a storm of events, log records into the history beside
// a bare grid filled with the same texts, a flood from three threads against
// a timer, and a long storm into a capped history.
// Needs an X display (run under Xvfb); without one each benchmark says so.
#include "wxtools/dashboard/big_event_dash_board.h"

#include "platform/handy/timestamp.h"
#include "wxtools/text.h"

#include "bench/bench_toolkit.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <chrono>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace ovk_wxtools;

namespace {

using ovk_bench::run_loop_until;
using ovk_bench::toolkit_ready;

// A shown dashboard in its own frame.
struct Board {
    wxFrame* frame;
    BigEventDashBoard* dash;

    explicit Board(BigEventDashBoard::Logger logger = nullptr, const DashboardOptions& options = {})
        : frame(new wxFrame(nullptr, wxID_ANY, wxS("bench"), wxDefaultPosition, wxSize(900, 500))),
          dash(new BigEventDashBoard(frame, std::move(logger), spdlog::level::warn, options))
    {
        frame->Show();
        settle();
    }
    ~Board()
    {
        frame->Destroy();
        wxTheApp->Yield(true);
    }

    // Runs the GUI thread until every posted call, and what those post, has run.
    void settle()
    {
        do {
            for (int round = 0; round < 2; ++round) {
                bool reached = false;
                dash->CallAfter([&reached] { reached = true; });
                while (!reached)
                    wxTheApp->Yield(true);
            }
        } while (dash->state()->backlog() > 0);
    }
};

std::vector<AlarmCode> make_codes(int n, const std::string& prefix)
{
    std::vector<AlarmCode> codes;
    for (int i = 0; i < n; ++i)
        codes.emplace_back(prefix + std::to_string(i));
    return codes;
}

// raise + clear pairs per second, each thread on its own 64 codes; the GUI
// thread is not running meanwhile, so the backlog's bound is lifted: what is
// measured is the calls themselves, not waiting for room.
Board* shared_board = nullptr;

void BM_RaiseClear(benchmark::State& state)
{
    if (!shared_board) {
        state.SkipWithError("no X display");
        return;
    }
    std::string prefix = std::to_string(state.thread_index());
    prefix += '-';
    const auto codes = make_codes(64, prefix);
    std::size_t i = 0;
    for (auto _ : state) {
        const AlarmCode& code = codes[i++ % codes.size()];
        shared_board->dash->alarm(code, static_cast<int>(i), wxS("A"));
        shared_board->dash->clear(code, wxString(wxS("A")));
    }
    state.SetItemsProcessed(2 * static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_RaiseClear)
    ->Setup([](const benchmark::State&) {
        if (toolkit_ready()) {
            shared_board = new Board;
            shared_board->dash->state()->set_backlog_limit(std::numeric_limits<std::size_t>::max());
        }
    })
    ->Teardown([](const benchmark::State&) {
        delete shared_board;  // the rows it still had queued go with it
        shared_board = nullptr;
    })
    ->Threads(1)
    ->Threads(2)
    ->Threads(4)
    ->Iterations(100000)
    ->UseRealTime();

// A storm of `events` raise/clear calls over 1,000 codes and two identities,
// made while the GUI thread is busy elsewhere; timed is the GUI thread
// draining it until the list and history show the final state.
void BM_DrainStorm(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    const int events = static_cast<int>(state.range(0));
    const auto codes = make_codes(1000, "code ");
    const wxString ids[] = {wxS("A"), wxS("B")};
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            Board board;
            std::mt19937 dice(42);
            for (int i = 0; i < events; ++i) {
                const AlarmCode& code = codes[dice() % codes.size()];
                if (dice() % 2)
                    board.dash->alarm(code, i, ids[dice() % 2]);
                else
                    board.dash->clear(code, ids[dice() % 2]);
            }
            state.ResumeTiming();
            board.settle();
            state.PauseTiming();
            rows = board.dash->ui_grid_error_history->GetNumberRows();
        }
        state.ResumeTiming();
    }
    state.counters["history_rows"] = rows;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * events);
}
BENCHMARK(BM_DrainStorm)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Log records per second from a logging thread until the GUI thread has
// shown every one of them in the history grid.
void BM_LogIntoHistory(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    const int records = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto logger = std::make_shared<spdlog::logger>("bench");
        {
            Board board(logger);
            logger->sinks().push_back(board.dash->sink());
            state.ResumeTiming();
            std::thread worker([&] {
                for (int i = 0; i < records; ++i)
                    logger->error("record {} of the storm", i);
            });
            while (board.dash->ui_grid_error_history->GetNumberRows() < records)
                wxTheApp->Yield(true);
            worker.join();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * records);
}
BENCHMARK(BM_LogIntoHistory)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

std::size_t resident_bytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Resident memory once freed heap pages have gone back to the system.
std::size_t settled_resident_bytes()
{
    malloc_trim(0);
    return resident_bytes();
}

// The records of a drain: `n` errors and warnings of one second each.
std::vector<LogRecord> drain_records(long n)
{
    std::vector<LogRecord> records;
    records.reserve(static_cast<std::size_t>(n));
    const double start = 1.7e9;
    for (long i = 0; i < n; ++i)
        records.emplace_back(i % 5 ? spdlog::level::err : spdlog::level::warn,
                             "record " + std::to_string(i) + " of the storm, machine " + std::to_string(i % 17),
                             start + static_cast<double>(i) / 1000);
    return records;
}

// Side by side in one run, `n` log records: (a) a bare wxGrid filled with the
// texts and colours the history shows for them, formatted the same way;
// (b) the records queued to a dashboard and drained by the GUI thread into
// its history. Timed is each fill until the grid holds every row; counted is
// the memory each keeps per row.
void BM_HistoryDrainVsBareFill(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    using clock = std::chrono::steady_clock;
    const long n = state.range(0);
    double bare_s = 0, drain_s = 0, bare_bytes = 0, drain_bytes = 0;
    for (auto _ : state) {
        {
            const auto records = drain_records(n);
            const std::size_t before = settled_resident_bytes();
            auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("bare"), wxDefaultPosition, wxSize(900, 500));
            auto* grid = new wxGrid(frame, wxID_ANY);
            grid->CreateGrid(0, 3);
            frame->Show();
            wxTheApp->Yield(true);
            const auto start = clock::now();
            grid->BeginBatch();
            grid->AppendRows(static_cast<int>(n));
            for (long r = 0; r < n; ++r) {
                const LogRecord& record = records[static_cast<std::size_t>(r)];
                const int row = static_cast<int>(r);
                grid->SetCellValue(row, 0, wxString::FromUTF8(record.levelname));
                grid->SetCellValue(row, 1, wxString::FromUTF8(ovk_handy::timestamp(record.created)));
                grid->SetCellValue(row, 2, from_utf8(record.msg));
                grid->SetCellBackgroundColour(row, 0, record.levelno == spdlog::level::warn ? *wxYELLOW : *wxRED);
            }
            grid->EndBatch();
            grid->MakeCellVisible(static_cast<int>(n) - 1, 0);
            wxTheApp->Yield(true);
            bare_s = std::chrono::duration<double>(clock::now() - start).count();
            bare_bytes = static_cast<double>(settled_resident_bytes() - before) / static_cast<double>(n);
            frame->Destroy();
            wxTheApp->Yield(true);
        }
        {
            const auto records = drain_records(n);
            const std::size_t before = settled_resident_bytes();
            Board board;
            auto dash_state = board.dash->state();
            dash_state->set_backlog_limit(std::numeric_limits<std::size_t>::max());
            for (const LogRecord& record : records)
                dash_state->emit(record);
            const auto start = clock::now();
            board.settle();
            drain_s = std::chrono::duration<double>(clock::now() - start).count();
            drain_bytes = static_cast<double>(settled_resident_bytes() - before) / static_cast<double>(n);
            if (board.dash->ui_grid_error_history->GetNumberRows() != n)
                state.SkipWithError("rows missing from the history");
        }
    }
    state.counters["bare_fill_s"] = bare_s;
    state.counters["history_drain_s"] = drain_s;
    state.counters["drain_over_bare"] = drain_s / bare_s;
    state.counters["bare_bytes_per_row"] = bare_bytes;
    state.counters["history_bytes_per_row"] = drain_bytes;
}
BENCHMARK(BM_HistoryDrainVsBareFill)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Three threads log warnings at full speed for `seconds` into a shown
// dashboard, its history capped at `cap` rows (0: none), while a 100 ms timer
// runs on the window's thread: how late the timer gets, how far the backlog
// grows, and that every record became a row.
void BM_FloodAgainstTimer(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    const auto length = std::chrono::seconds(state.range(0));
    DashboardOptions options;
    options.history_cap = static_cast<std::size_t>(state.range(1));
    for (auto _ : state) {
        auto logger = std::make_shared<spdlog::logger>("flood");
        Board board(logger, options);
        logger->sinks().push_back(board.dash->sink());
        auto dash_state = board.dash->state();
        std::atomic<bool> stop{false};
        std::atomic<long> produced{0};
        std::atomic<std::size_t> worst_backlog{0};
        std::atomic<int> ended{0};
        std::vector<std::thread> threads;
        for (int w = 0; w < 3; ++w)
            threads.emplace_back([&, w] {
                for (long i = 0; !stop.load(std::memory_order_relaxed); ++i) {
                    logger->warn("station {} record {}", w, i);
                    produced.fetch_add(1, std::memory_order_relaxed);
                    if (i % 256 == 0) {
                        const std::size_t now = dash_state->backlog();
                        for (std::size_t seen = worst_backlog.load();
                             now > seen && !worst_backlog.compare_exchange_weak(seen, now);) {
                        }
                    }
                }
                ++ended;
            });
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        auto last_tick = start;
        std::vector<double> late_ms;
        late_ms.reserve(static_cast<std::size_t>(length / std::chrono::milliseconds(100)) + 16);
        wxTimer tick;
        tick.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            const auto now = clock::now();
            late_ms.push_back(std::chrono::duration<double, std::milli>(now - last_tick).count() - 100.0);
            last_tick = now;
        });
        tick.Start(100);
        run_loop_until([&] { return clock::now() - start >= length; });
        tick.Stop();
        stop = true;
        // Producers may be waiting for room: keep writing rows until they end.
        run_loop_until([&] { return ended.load() == 3; });
        for (auto& t : threads)
            t.join();
        board.settle();
        // A capped history says in its first row how many went.
        long rows = board.dash->ui_grid_error_history->GetNumberRows();
        if (options.history_cap > 0 && rows > static_cast<long>(options.history_cap)) {
            rows = static_cast<long>(options.history_cap) +
                   std::stol(board.dash->ui_grid_error_history->GetCellValue(0, 2).utf8_string());
        }
        state.counters["records"] = static_cast<double>(produced.load());
        state.counters["records_per_s"] =
            produced.load() / std::chrono::duration<double>(clock::now() - start).count();
        state.counters["lost"] = static_cast<double>(produced.load() - rows);
        std::sort(late_ms.begin(), late_ms.end());
        state.counters["timer_ticks"] = static_cast<double>(late_ms.size());
        state.counters["timer_late_p99_ms"] =
            late_ms.empty() ? 0.0 : late_ms[static_cast<std::size_t>(0.99 * static_cast<double>(late_ms.size() - 1))];
        state.counters["timer_worst_late_ms"] = late_ms.empty() ? 0.0 : late_ms.back();
        state.counters["timer_over_50ms"] =
            static_cast<double>(late_ms.end() - std::upper_bound(late_ms.begin(), late_ms.end(), 50.0));
        state.counters["backlog_worst"] = static_cast<double>(worst_backlog.load());
        state.counters["backlog_limit"] = static_cast<double>(dash_state->backlog_limit());
    }
}
BENCHMARK(BM_FloodAgainstTimer)->Args({10, 0})->Args({60, 1000000})->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// A long storm of log records into a history capped at 100,000 rows: resident
// memory after the cap is reached and at the end, and the GUI thread's drain
// rate over the first and the second half of the storm.
void BM_StormIntoCappedHistory(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    const long records = state.range(0);
    for (auto _ : state) {
        auto logger = std::make_shared<spdlog::logger>("storm");
        DashboardOptions options;
        options.history_cap = 100000;
        Board board(logger, options);
        logger->sinks().push_back(board.dash->sink());
        auto dash_state = board.dash->state();
        std::atomic<long> produced{0};
        std::thread producer([&] {
            for (long i = 0; i < records; ++i) {
                logger->error("record {} of the storm, machine {}", i, i % 17);
                produced.fetch_add(1, std::memory_order_relaxed);
            }
        });
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        clock::time_point half_at{};
        std::size_t rss_at_cap = 0, rss_at_half = 0;
        run_loop_until([&] {
            const long drained = produced.load() - static_cast<long>(dash_state->backlog());
            if (!rss_at_cap && drained >= 200000)
                rss_at_cap = resident_bytes();
            if (half_at == clock::time_point{} && drained >= records / 2) {
                half_at = clock::now();
                rss_at_half = resident_bytes();
            }
            return produced.load() == records && dash_state->backlog() == 0;
        });
        const auto end = clock::now();
        producer.join();
        board.settle();
        const double first = std::chrono::duration<double>(half_at - start).count();
        const double second = std::chrono::duration<double>(end - half_at).count();
        state.counters["rss_mb_after_cap"] = rss_at_cap / 1e6;
        state.counters["rss_mb_at_half"] = rss_at_half / 1e6;
        state.counters["rss_mb_at_end"] = resident_bytes() / 1e6;
        state.counters["drain_per_s_first_half"] = (records / 2) / first;
        state.counters["drain_per_s_second_half"] = (records - records / 2) / second;
        state.counters["grid_rows"] = board.dash->ui_grid_error_history->GetNumberRows();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * records);
}
BENCHMARK(BM_StormIntoCappedHistory)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
