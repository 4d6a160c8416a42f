// What watching a parameter tree's folder costs around one copy: starting the
// watch and settling the answer, for trees of growing size, by kernel
// notifications and by snapshots.
#include "platform/handy/file_system_observer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using ovk_handy::FileSystemObserver;

namespace {

// `folders` sub-folders with 20 small files each, under a fresh temporary folder.
fs::path make_tree(int folders)
{
    std::string pattern = (fs::temp_directory_path() / "ovk-observer-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    const fs::path top = pattern;
    for (int d = 0; d < folders; ++d) {
        const fs::path folder = top / ("dir" + std::to_string(d));
        fs::create_directory(folder);
        for (int f = 0; f < 20; ++f)
            std::ofstream(folder / ("book" + std::to_string(f) + ".pbook")) << "{}";
    }
    return top;
}

void watch_unchanged(benchmark::State& state, FileSystemObserver::Method method)
{
    const fs::path top = make_tree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        FileSystemObserver observer(top, method);
        observer.close();
        if (observer.changed())
            state.SkipWithError("reported a change where there was none");
    }
    state.counters["files"] = static_cast<double>(state.range(0) * 21);
    fs::remove_all(top);
}

void BM_Notifications(benchmark::State& state) { watch_unchanged(state, FileSystemObserver::Method::Notifications); }
void BM_Snapshots(benchmark::State& state) { watch_unchanged(state, FileSystemObserver::Method::Snapshots); }

}  // namespace

BENCHMARK(BM_Notifications)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Snapshots)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
