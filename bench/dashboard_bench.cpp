// Speed of the alarm dashboard: raise/clear calls from several threads, the
// GUI thread draining a storm of events, and log records into the history.
// Needs an X display (run under Xvfb); without one each benchmark says so.
#include "wxtools/dashboard/big_event_dash_board.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace ovk_wxtools;

namespace {

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

bool toolkit_ready()
{
    static const bool ready = [] {
        static char arg0[] = "dashboard_bench";
        static char* argv[] = {arg0, nullptr};
        int argc = 1;
        wxApp::SetInstance(new BenchApp);
        if (!wxEntryStart(argc, argv))
            return false;
        wxTheApp->CallOnInit();
        return true;
    }();
    return ready;
}

// A shown dashboard in its own frame.
struct Board {
    wxFrame* frame;
    BigEventDashBoard* dash;

    explicit Board(BigEventDashBoard::Logger logger = nullptr)
        : frame(new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(900, 500))),
          dash(new BigEventDashBoard(frame, std::move(logger)))
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
        for (int round = 0; round < 2; ++round) {
            bool reached = false;
            dash->CallAfter([&reached] { reached = true; });
            while (!reached)
                wxTheApp->Yield(true);
        }
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
// thread is not running meanwhile, which is the point: no call waits for it.
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
        shared_board->dash->alarm(code, static_cast<int>(i), "A");
        shared_board->dash->clear(code, wxString("A"));
    }
    state.SetItemsProcessed(2 * static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_RaiseClear)
    ->Setup([](const benchmark::State&) {
        if (toolkit_ready())
            shared_board = new Board;
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
    const wxString ids[] = {"A", "B"};
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

}  // namespace
