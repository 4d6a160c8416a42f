// Speed of the alarm journal: a 3-thread flood into a dashboard with the
// journal off and on, side by side (the GUI thread's drain rate, its CPU time
// per row, and the journal's write rate), the journal's own write rate from
// three threads, and a query of one station's day out of 10 million entries.
// Needs an X display for the flood (run under Xvfb).
#include "wxtools/dashboard/big_event_dash_board.h"
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/detail/journal_writer.h"

#include "bench/bench_toolkit.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

using namespace ovk_wxtools;
using ovk_bench::run_loop_until;
using ovk_bench::toolkit_ready;
using clock_type = std::chrono::steady_clock;

namespace {

std::string fresh(const std::string& name)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    for (const char* end : {"", "-wal", "-shm"})
        std::filesystem::remove(path + end);
    return path;
}

struct FloodFigures {
    double drain_per_s = 0;    // rows the GUI thread wrote per second of flood
    double gui_ns_per_row = 0;  // the GUI thread's CPU time per row drained
    double journal_per_s = 0;  // entries written per second, flood and final flush
};

// CPU time of the calling thread.
double thread_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Three threads log warnings for `length` into a shown dashboard capped at
// 1M rows, with or without a journal.
FloodFigures flood(std::chrono::seconds length, const std::string& journal)
{
    DashboardOptions options;
    options.history_cap = 1000000;
    options.journal = journal;
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"), wxDefaultPosition, wxSize(900, 500));
    auto* dash = new BigEventDashBoard(frame, nullptr, spdlog::level::warn, options);
    frame->Show();
    auto state = dash->state();
    std::atomic<bool> stop{false};
    std::atomic<long> produced{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < 3; ++w)
        threads.emplace_back([&, w] {
            for (long i = 0; !stop.load(std::memory_order_relaxed); ++i) {
                state->emit(LogRecord(spdlog::level::warn, "station " + std::to_string(w) + " record " + std::to_string(i), 0));
                produced.fetch_add(1, std::memory_order_relaxed);
            }
        });
    const auto start = clock_type::now();
    const double gui_start = thread_seconds();
    run_loop_until([&] { return clock_type::now() - start >= length; });
    stop = true;
    run_loop_until([&] { return state->backlog() == 0; });
    for (auto& t : threads)
        t.join();
    run_loop_until([&] { return state->backlog() == 0; });
    const double flood_s = std::chrono::duration<double>(clock_type::now() - start).count();
    FloodFigures figures;
    figures.drain_per_s = static_cast<double>(produced.load()) / flood_s;
    figures.gui_ns_per_row = (thread_seconds() - gui_start) * 1e9 / static_cast<double>(produced.load());
    if (auto j = dash->journal()) {
        j->flush();
        figures.journal_per_s = static_cast<double>(produced.load()) /
                                std::chrono::duration<double>(clock_type::now() - start).count();
    }
    frame->Destroy();
    wxTheApp->Yield(true);
    return figures;
}

void report(benchmark::State& state, const FloodFigures& off, const FloodFigures& on)
{
    state.counters["drain_off_per_s"] = off.drain_per_s;
    state.counters["drain_on_per_s"] = on.drain_per_s;
    state.counters["off_over_on"] = off.drain_per_s / on.drain_per_s;
    state.counters["gui_ns_per_row_off"] = off.gui_ns_per_row;
    state.counters["gui_ns_per_row_on"] = on.gui_ns_per_row;
    state.counters["gui_on_over_off"] = on.gui_ns_per_row / off.gui_ns_per_row;
    state.counters["journal_rows_per_s"] = on.journal_per_s;
}

// As fast as three threads can: with the journal on, they are held to the
// pace of the disk (a thread waits while a full batch is behind), so that a
// crash loses at most two batches.
void BM_FloodJournalOffVsOn(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    const auto length = std::chrono::seconds(state.range(0));
    FloodFigures off, on;
    for (auto _ : state) {
        off = flood(length, std::string());
        on = flood(length, fresh("journal_bench_flood.db"));
    }
    report(state, off, on);
}
BENCHMARK(BM_FloodJournalOffVsOn)->Arg(10)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The GUI thread's drain with the journal off and on: a backlog of 2M rows
// (queued first, and journaled), drained by the GUI thread while three
// threads go on flooding at 200,000 rows a second, a rate the journal keeps
// up with. Timed is the drain of the backlog, and the GUI thread's CPU time
// for it: what the journal's writing costs the GUI thread.
FloodFigures drain_in_flood(const std::string& journal)
{
    constexpr long backlog = 2000000, per_second = 200000;
    DashboardOptions options;
    options.history_cap = 3000000;
    options.journal = journal;
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("bench"), wxDefaultPosition, wxSize(900, 500));
    auto* dash = new BigEventDashBoard(frame, nullptr, spdlog::level::warn, options);
    frame->Show();
    wxTheApp->Yield(true);
    auto state = dash->state();
    state->set_backlog_limit(std::numeric_limits<std::size_t>::max());
    std::thread([&] {
        for (long i = 0; i < backlog; ++i)
            state->emit(LogRecord(spdlog::level::warn, "backlog record " + std::to_string(i), 0));
    }).join();
    if (auto j = dash->journal())
        j->flush();
    std::atomic<bool> stop{false};
    std::atomic<long> produced{0};
    std::vector<std::thread> threads;
    const auto start = clock_type::now();
    const double gui_start = thread_seconds();
    for (int w = 0; w < 3; ++w)
        threads.emplace_back([&, w] {
            for (long i = 0; !stop.load(std::memory_order_relaxed); ++i) {
                if (i % 100 == 0)
                    std::this_thread::sleep_until(start + std::chrono::nanoseconds(i * 3000000000LL / per_second));
                state->emit(LogRecord(spdlog::level::warn, "station " + std::to_string(w) + " record " + std::to_string(i), 0));
                produced.fetch_add(1, std::memory_order_relaxed);
            }
        });
    // Drained: every row of the backlog, and all but the flood's latest.
    run_loop_until([&] { return static_cast<long>(state->backlog()) <= produced.load(); });
    FloodFigures figures;
    const double drain_s = std::chrono::duration<double>(clock_type::now() - start).count();
    figures.drain_per_s = static_cast<double>(backlog) / drain_s;
    figures.gui_ns_per_row = (thread_seconds() - gui_start) * 1e9 / static_cast<double>(backlog);
    stop = true;
    for (auto& t : threads)
        t.join();
    if (auto j = dash->journal()) {
        j->flush();
        figures.journal_per_s = static_cast<double>(produced.load()) /
                                std::chrono::duration<double>(clock_type::now() - start).count();
    }
    frame->Destroy();
    wxTheApp->Yield(true);
    return figures;
}

FloodFigures median(std::vector<FloodFigures> runs)
{
    auto middle = [&](double FloodFigures::*field) {
        std::vector<double> v;
        for (const FloodFigures& f : runs)
            v.push_back(f.*field);
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    return {middle(&FloodFigures::drain_per_s), middle(&FloodFigures::gui_ns_per_row),
            middle(&FloodFigures::journal_per_s)};
}

void BM_DrainInFloodJournalOffVsOn(benchmark::State& state)
{
    if (!toolkit_ready()) {
        state.SkipWithError("no X display");
        return;
    }
    // Off and on in turn, five times; the median of each figure, as two
    // cores shared with anything else make single runs wander.
    std::vector<FloodFigures> offs, ons;
    for (auto _ : state)
        for (int round = 0; round < 5; ++round) {
            offs.push_back(drain_in_flood(std::string()));
            ons.push_back(drain_in_flood(fresh("journal_bench_drain.db")));
        }
    report(state, median(offs), median(ons));
}
BENCHMARK(BM_DrainInFloodJournalOffVsOn)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The journal alone: three threads append 300,000 log entries each (as a
// dashboard's flood does, each waiting when the journal is a full queue
// behind), then wait until all are written.
void BM_JournalWrites(benchmark::State& state)
{
    constexpr long per_thread = 300000;
    double rows_per_s = 0;
    for (auto _ : state) {
        AlarmJournal journal(fresh("journal_bench_writes.db"));
        const auto start = clock_type::now();
        std::vector<std::thread> threads;
        for (int w = 0; w < 3; ++w)
            threads.emplace_back([&, w] {
                for (long i = 0; i < per_thread; ++i) {
                    JournalEntry e;
                    e.time = std::chrono::system_clock::now();
                    e.station = "station " + std::to_string(i % 10);
                    e.level = spdlog::level::warn;
                    e.text = "station " + std::to_string(w) + " record " + std::to_string(i);
                    journal.writer().make_room();
                    journal.append(std::move(e));
                }
            });
        for (auto& t : threads)
            t.join();
        journal.flush();
        rows_per_s = 3.0 * per_thread / std::chrono::duration<double>(clock_type::now() - start).count();
    }
    state.counters["rows_per_s"] = rows_per_s;
}
BENCHMARK(BM_JournalWrites)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// 10 million entries from 100 stations over 10 days (made once and kept in
// the temporary folder); timed is the query of one station's day.
void BM_StationDayQuery(benchmark::State& state)
{
    const std::string path = (std::filesystem::temp_directory_path() / "journal_bench_10m.db").string();
    const auto t0 = std::chrono::system_clock::from_time_t(1780000000);
    constexpr long rows = 10000000;
    constexpr int stations = 100;
    const auto step = std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::hours(240)) / rows;
    if (!std::filesystem::exists(path)) {
        AlarmJournal journal(path);
        const auto start = clock_type::now();
        for (long i = 0; i < rows; ++i) {
            JournalEntry e;
            e.time = t0 + step * i;
            e.station = "station " + std::to_string(i % stations);
            e.code = "code " + std::to_string(i % 211);
            e.kind = i % 3 ? JournalEntry::Kind::log : JournalEntry::Kind::raise;
            e.text = "record " + std::to_string(i);
            journal.append(std::move(e));
            if (i % 100000 == 0)
                journal.flush();
        }
        journal.flush();
        state.counters["fill_rows_per_s"] = rows / std::chrono::duration<double>(clock_type::now() - start).count();
    }
    AlarmJournal journal(path);
    // A journal written by an older version is brought up to date first.
    journal.flush();
    std::size_t found = 0;
    int day = 0;
    for (auto _ : state) {
        JournalQuery query;
        query.station = "station 7";
        query.from = t0 + std::chrono::hours(24) * (day % 10);
        query.to = *query.from + std::chrono::hours(24);
        found = journal.query(query).size();
        ++day;
    }
    state.counters["rows_found"] = static_cast<double>(found);
}
BENCHMARK(BM_StationDayQuery)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
