// What a worker pays per progress update, alone and with other workers
// updating the same Progress while a reader polls it.
#include "platform/handy/progress.h"

#include <benchmark/benchmark.h>

namespace {

ovk_handy::Progress shared_progress({"Batch", "Board", "Channel"});

void BM_ProgressStep(benchmark::State& state)
{
    for (auto _ : state)
        shared_progress.step(2);
}
BENCHMARK(BM_ProgressStep)->Threads(1)->Threads(2)->Threads(4);

// A display's read of one level: name, done and total.
void BM_ProgressReadLevel(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(shared_progress.get_name(1));
        benchmark::DoNotOptimize(shared_progress.get_progress(1));
        benchmark::DoNotOptimize(shared_progress.get_subtotal(1));
    }
}
BENCHMARK(BM_ProgressReadLevel);

}  // namespace
