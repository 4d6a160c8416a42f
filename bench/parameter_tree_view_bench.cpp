// Filling the editor's tree view and parameter grid, against the bare toolkit
// calls that fill the same controls with the same texts. Needs a display
// (run under xvfb-run); without one every benchmark reports that and skips.
#include "platform/paratree/paratree.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include "bench/bench_toolkit.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <memory>
#include <string>
#include <vector>

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_wxtools::ParameterTreeEditorPanel;

namespace {

constexpr int kItems = 10000;

// The toolkit, started once for the whole run, and one frame hosting the controls.
wxFrame* host()
{
    static wxFrame* frame = [] () -> wxFrame* {
        if (!ovk_bench::toolkit_ready())
            return nullptr;
        auto* f = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(900, 700));
        f->Show();
        return f;
    }();
    return frame;
}

// 100 directories of 99 books each: 10,000 tree items below the root.
std::shared_ptr<ParameterDirectory> big_tree()
{
    auto top = std::make_shared<ParameterDirectory>();
    for (int d = 0; d < 100; ++d) {
        auto directory = std::make_shared<ParameterDirectory>();
        for (int b = 0; b < kItems / 100 - 1; ++b)
            directory->set("book_" + std::to_string(b), std::make_shared<ParameterBook>());
        top->set("directory_" + std::to_string(d), directory);
    }
    return top;
}

std::shared_ptr<ParameterBook> big_book()
{
    auto book = std::make_shared<ParameterBook>();
    for (int i = 0; i < kItems; ++i) {
        auto parameter = std::make_shared<Parameter>();
        parameter->set_description("en_US", "Description of parameter number " + std::to_string(i));
        book->set("parameter_" + std::to_string(i), parameter);
    }
    return book;
}

void BM_TreeView_Panel(benchmark::State& state)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto* panel = new ParameterTreeEditorPanel(frame, "/bench/tree", big_tree());
    for (auto _ : state)
        panel->_refresh_tree_view();
    state.counters["items"] = static_cast<double>(panel->ui_tree->GetCount());
    panel->Destroy();
}

// The bare calls; with `with_data`, each item also gets an (empty) item-data
// object, the toolkit's own price of carrying something per item.
void tree_view_bare(benchmark::State& state, bool with_data)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto tree_model = big_tree();
    auto* tree = new wxTreeCtrl(frame, wxID_ANY, wxDefaultPosition, wxSize(300, 600),
                                wxTR_DEFAULT_STYLE | wxTR_SINGLE);
    auto* images = new wxImageList(12, 16, false);
    images->Add(wxBitmap(12, 16));
    images->Add(wxBitmap(12, 16));
    tree->AssignImageList(images);
    // The same texts and pictures, prepared outside the timing.
    std::vector<std::pair<wxString, std::vector<wxString>>> texts;
    for (const auto& [name, child] : tree_model->items()) {
        std::vector<wxString> books;
        for (const auto& [book_name, book] : std::static_pointer_cast<ParameterDirectory>(child)->items())
            books.push_back(wxString::FromUTF8(book_name));
        texts.emplace_back(wxString::FromUTF8(name), std::move(books));
    }
    for (auto _ : state) {
        tree->DeleteAllItems();
        const wxTreeItemId root = tree->AddRoot("tree", 0);
        for (const auto& [name, books] : texts) {
            const wxTreeItemId directory =
                tree->AppendItem(root, name, 0, -1, with_data ? new wxTreeItemData : nullptr);
            for (const wxString& book : books)
                tree->AppendItem(directory, book, 1, -1, with_data ? new wxTreeItemData : nullptr);
        }
    }
    state.counters["items"] = static_cast<double>(tree->GetCount());
    tree->Destroy();
}

void BM_TreeView_Bare(benchmark::State& state)
{
    tree_view_bare(state, false);
}

void BM_TreeView_BareWithItemData(benchmark::State& state)
{
    tree_view_bare(state, true);
}

void BM_BookGrid_Panel(benchmark::State& state)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto top = std::make_shared<ParameterDirectory>();
    top->set("big", big_book());
    auto* panel = new ParameterTreeEditorPanel(frame, "/bench/tree", top);
    panel->SetSize(frame->GetClientSize());
    wxTreeCtrl* tree = panel->ui_tree;
    wxTreeItemIdValue cookie;
    const wxTreeItemId book_item = tree->GetFirstChild(tree->GetRootItem(), cookie);
    tree->SelectItem(book_item);
    wxTreeEvent event(wxEVT_TREE_SEL_CHANGED, tree, book_item);
    // Selecting the book again: the grid is emptied and refilled with its parameters.
    for (auto _ : state)
        panel->on_tree_sel_changed(event);
    state.counters["rows"] = panel->ui_book->GetNumberRows();
    panel->Destroy();
}

void BM_BookGrid_Bare(benchmark::State& state)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto book = big_book();
    std::vector<std::pair<wxString, wxString>> rows;
    for (const auto& [name, parameter] : book->items())
        rows.emplace_back(wxString::FromUTF8(name), wxString::FromUTF8(parameter->description()));
    auto* grid = new wxGrid(frame, wxID_ANY, wxDefaultPosition, wxSize(500, 600));
    grid->CreateGrid(0, 2);
    grid->SetSelectionMode(wxGrid::wxGridSelectRows);
    for (auto _ : state) {
        if (grid->GetNumberRows() > 0)
            grid->DeleteRows(0, grid->GetNumberRows());
        grid->AppendRows(static_cast<int>(rows.size()));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            grid->SetCellValue(r, 0, rows[r].first);
            grid->SetCellValue(r, 1, rows[r].second);
        }
    }
    state.counters["rows"] = grid->GetNumberRows();
    grid->Destroy();
}

// 100 directories of 20 books of 50 parameters: 100,000 parameters, each
// with an English and a Chinese description.
std::shared_ptr<ParameterDirectory> searchable_tree()
{
    auto top = std::make_shared<ParameterDirectory>();
    for (int d = 0; d < 100; ++d) {
        auto directory = std::make_shared<ParameterDirectory>();
        for (int b = 0; b < 20; ++b) {
            auto book = std::make_shared<ParameterBook>();
            for (int p = 0; p < 50; ++p) {
                auto parameter = std::make_shared<Parameter>();
                parameter->set_description("en_US", "Limit of axis " + std::to_string(p));
                parameter->set_description("zh_CN", "轴限位 " + std::to_string(p));
                parameter->set("value", p);
                book->set("parameter_" + std::to_string(p), parameter);
            }
            directory->set("book_" + std::to_string(b), book);
        }
        top->set("directory_" + std::to_string(d), directory);
    }
    return top;
}

// The search box over the whole tree: one search for a Chinese word that
// every parameter's description holds.
void BM_Find_WholeTree(benchmark::State& state)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto* panel = new ParameterTreeEditorPanel(frame, "/bench/tree", searchable_tree(),
                                               ParameterTreeEditorPanel::Options{.find = true});
    for (auto _ : state)
        panel->find(wxString::FromUTF8("限位"));
    state.counters["matches"] = static_cast<double>(panel->find_matches().size());
    panel->Destroy();
}

// What the unsaved-changes guard adds to every editing command: after it,
// the bold markers of all 2,100 tree items are brought up to date. A delete
// with no row selected changes nothing and leaves only that pass.
void BM_ModifiedMarks_WholeTree(benchmark::State& state)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto tree = searchable_tree();
    auto* panel = new ParameterTreeEditorPanel(frame, "/bench/tree", tree,
                                               ParameterTreeEditorPanel::Options{.unsaved_guard = true});
    wxCommandEvent unused;
    for (auto _ : state)
        panel->on_delete_parameter(unused);
    state.counters["items"] = static_cast<double>(panel->ui_tree->GetCount());
    panel->Destroy();
}

// The value column: the grid of a 10,000-parameter book, each row with its value text.
void BM_BookGrid_PanelValueColumn(benchmark::State& state)
{
    wxFrame* frame = host();
    if (!frame) {
        state.SkipWithError("no display");
        return;
    }
    auto book = big_book();
    for (const auto& [name, parameter] : book->items())
        parameter->set("value", 2.5);
    auto top = std::make_shared<ParameterDirectory>();
    top->set("big", book);
    auto* panel = new ParameterTreeEditorPanel(frame, "/bench/tree", top,
                                               ParameterTreeEditorPanel::Options{.value_column = true});
    wxTreeCtrl* tree = panel->ui_tree;
    wxTreeItemIdValue cookie;
    const wxTreeItemId book_item = tree->GetFirstChild(tree->GetRootItem(), cookie);
    tree->SelectItem(book_item);
    wxTreeEvent event(wxEVT_TREE_SEL_CHANGED, tree, book_item);
    for (auto _ : state)
        panel->on_tree_sel_changed(event);
    state.counters["rows"] = panel->ui_book->GetNumberRows();
    panel->Destroy();
}

}  // namespace

BENCHMARK(BM_Find_WholeTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModifiedMarks_WholeTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookGrid_PanelValueColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeView_Panel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeView_Bare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeView_BareWithItemData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookGrid_Panel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookGrid_Bare)->Unit(benchmark::kMillisecond);
