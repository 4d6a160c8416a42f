// Reading narrow text as UTF-8: the check in front of the toolkit's decoder
// on valid text, and the hand decoding of text with a bad byte.
#include "wxtools/text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string sample(std::size_t characters, bool broken)
{
    std::string text;
    for (std::size_t i = 0; i < characters; ++i)
        text += (i % 4 == 0) ? "V" : "电压";
    if (broken)
        text[text.size() / 2] = '\xff';
    return text;
}

void FromUtf8Valid(benchmark::State& state)
{
    const std::string text = sample(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(ovk_wxtools::from_utf8(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void ToolkitFromUtf8Valid(benchmark::State& state)
{
    const std::string text = sample(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(wxString::FromUTF8(text.data(), text.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void FromUtf8Broken(benchmark::State& state)
{
    const std::string text = sample(static_cast<std::size_t>(state.range(0)), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ovk_wxtools::from_utf8(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(FromUtf8Valid)->Arg(16)->Arg(4096);
BENCHMARK(ToolkitFromUtf8Valid)->Arg(16)->Arg(4096);
BENCHMARK(FromUtf8Broken)->Arg(16)->Arg(4096);
