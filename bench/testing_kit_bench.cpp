// What a scripted modal run costs with the testing kit: a message box
// answered by its button, a form filled and confirmed, and a five-second
// countdown run out by delivering its 51 ticks at once. Needs an X display
// (run under xvfb-run).
#include "wxtools/app/mb.h"
#include "wxtools/dialogs/multiple_input_dialog.h"
#include "wxtools/dialogs/single_choice_timeout_dialog.h"
#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/toolkit.h"

#include <benchmark/benchmark.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

bool toolkit()
{
    static const bool started = [] {
        static char arg0[] = "testing_kit_bench";
        static char* argv[] = {arg0, nullptr};
        int argc = 1;
        return start_toolkit(argc, argv);
    }();
    return started;
}

void BM_ConfirmPressed(benchmark::State& state)
{
    if (!toolkit())
        return state.SkipWithError("no display");
    for (auto _ : state) {
        dialogs().press(L"Yes");
        benchmark::DoNotOptimize(MB::Confirm(L"Go on?"));
        dialogs().reset();
    }
}
BENCHMARK(BM_ConfirmPressed);

void BM_FormFilled(benchmark::State& state)
{
    if (!toolkit())
        return state.SkipWithError("no display");
    for (auto _ : state) {
        MultipleInputDialog form(nullptr, std::vector<wxString>{L"Name", L"Port"});
        dialogs().act(type_into(L"Name", L"pump").type_into(L"Port", L"COM2").press(L"OK"));
        benchmark::DoNotOptimize(form.ShowModal());
        dialogs().reset();
    }
}
BENCHMARK(BM_FormFilled)->Unit(benchmark::kMillisecond);

void BM_FiveSecondCountdownRunOut(benchmark::State& state)
{
    if (!toolkit())
        return state.SkipWithError("no display");
    for (auto _ : state) {
        SingleChoiceTimeoutDialog choice(nullptr, L"Port:", L"Pick", {L"COM1", L"COM2"}, 5, 1);
        dialogs().run_out();
        benchmark::DoNotOptimize(choice.ShowModal());
        dialogs().reset();
    }
}
BENCHMARK(BM_FiveSecondCountdownRunOut)->Unit(benchmark::kMillisecond);

}  // namespace
