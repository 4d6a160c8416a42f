// Filling bound controls with 100,000 objects, against filling the bare
// toolkit controls with the same texts in the quickest way they offer.
// Needs an X display (run under xvfb-run). The bound controls also keep a copy
// of every object, which the bare fills do not.
#include "wxtools/controls/combo_list.h"
#include "wxtools/controls/row_grid.h"

#include "bench/bench_toolkit.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/listbox.h>

#include <array>
#include <vector>

using namespace ovk_wxtools;

namespace {

constexpr int object_count = 100000;
constexpr int column_count = 5;
using Row = std::array<wxString, column_count>;

// The toolkit and one frame to hold the controls, started once.
wxFrame* bench_frame()
{
    static wxFrame* frame = [] () -> wxFrame* {
        if (!ovk_bench::toolkit_ready())
            return nullptr;
        return new wxFrame(nullptr, wxID_ANY, "bench");
    }();
    return frame;
}

const std::vector<wxString>& texts()
{
    static const std::vector<wxString> all = [] {
        std::vector<wxString> t;
        for (int i = 0; i < object_count; ++i)
            t.push_back(wxString::Format("Sample %06d", i));
        return t;
    }();
    return all;
}

const std::vector<Row>& rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> r;
        for (int i = 0; i < object_count; ++i)
            r.push_back({wxString::Format("%d", i), "CH1", wxString::Format("%d.5", i % 100), "OK", "sample"});
        return r;
    }();
    return all;
}

void ListBoxAppendArray(benchmark::State& state)
{
    if (!bench_frame())
        return state.SkipWithError("no display");
    wxArrayString array;
    for (const wxString& t : texts())
        array.push_back(t);
    for (auto _ : state) {
        state.PauseTiming();
        auto* list = new wxListBox(bench_frame(), wxID_ANY);
        state.ResumeTiming();
        list->Append(array);
        state.PauseTiming();
        list->Destroy();
        state.ResumeTiming();
    }
}

void ComboListAppendItems(benchmark::State& state)
{
    if (!bench_frame())
        return state.SkipWithError("no display");
    for (auto _ : state) {
        state.PauseTiming();
        auto* list = new wxListBox(bench_frame(), wxID_ANY);
        ComboList<wxString> bound(list);
        state.ResumeTiming();
        bound.AppendItems(texts());
        state.PauseTiming();
        list->Destroy();
        state.ResumeTiming();
    }
}

wxGrid* new_grid()
{
    auto* grid = new wxGrid(bench_frame(), wxID_ANY);
    grid->CreateGrid(0, column_count);
    return grid;
}

void GridBareFill(benchmark::State& state)
{
    if (!bench_frame())
        return state.SkipWithError("no display");
    for (auto _ : state) {
        state.PauseTiming();
        wxGrid* grid = new_grid();
        state.ResumeTiming();
        grid->BeginBatch();
        grid->AppendRows(object_count);
        for (int r = 0; r < object_count; ++r)
            for (int c = 0; c < column_count; ++c)
                grid->SetCellValue(r, c, rows()[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        grid->EndBatch();
        state.PauseTiming();
        grid->Destroy();
        state.ResumeTiming();
    }
}

void RowGridAppendItems(benchmark::State& state)
{
    if (!bench_frame())
        return state.SkipWithError("no display");
    for (auto _ : state) {
        state.PauseTiming();
        wxGrid* grid = new_grid();
        RowGrid<Row> bound(grid);
        state.ResumeTiming();
        bound.AppendItems(rows());
        state.PauseTiming();
        grid->Destroy();
        state.ResumeTiming();
    }
}

BENCHMARK(ListBoxAppendArray)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ComboListAppendItems)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(GridBareFill)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RowGridAppendItems)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
