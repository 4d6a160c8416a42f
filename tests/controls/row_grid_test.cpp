#include "wxtools/controls/row_grid.h"

#include "wxtools/errors.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <list>
#include <string>
#include <tuple>
#include <vector>

using namespace ovk_wxtools;

namespace {

struct Reading {
    std::string channel;
    int count;
    double volts;
};

class RowGridTest : public ::testing::Test {
protected:
    RowGridTest() : frame(new wxFrame(nullptr, wxID_ANY, "row grid")) {}
    ~RowGridTest() override { frame->Destroy(); }

    wxGrid* grid(int columns)
    {
        auto* g = new wxGrid(frame, wxID_ANY);
        g->CreateGrid(0, columns);
        return g;
    }

    static std::vector<wxString> row(wxGrid* g, int r)
    {
        std::vector<wxString> cells;
        for (int c = 0; c < g->GetNumberCols(); ++c)
            cells.push_back(g->GetCellValue(r, c));
        return cells;
    }

    wxFrame* frame;
};

using Texts = std::vector<wxString>;
using Pair = std::pair<wxString, wxString>;

TEST_F(RowGridTest, WrappingSelectsWholeRowsAndEmptyGridAnswersNothing)
{
    wxGrid* g = grid(2);
    ASSERT_NE(g->GetSelectionMode(), wxGrid::wxGridSelectRows);
    RowGrid<Texts> rows(g);
    EXPECT_EQ(g->GetSelectionMode(), wxGrid::wxGridSelectRows);
    EXPECT_EQ(rows.size(), 0u);
    EXPECT_EQ(rows.GetSelection(), nullptr);
    EXPECT_TRUE(rows.GetSelections().empty());
    EXPECT_EQ(rows.GetSelectionIndex(), -1);
    EXPECT_TRUE(rows.GetSelectionIndexes().empty());
    rows.Update(-1);
    rows.Clear();
    rows.DeleteSelections();
    EXPECT_EQ(g->GetNumberRows(), 0);
}

TEST_F(RowGridTest, TupleObjectIsItsOwnRowAndCallbackIsNotAsked)
{
    int asked = 0;
    RowGrid<std::tuple<wxString, wxString>> rows(grid(2), [&](const auto&) {
        ++asked;
        return RowValues{"x", "y"};
    });
    rows.Append({"a", "b"});
    EXPECT_EQ(row(rows.control, 0), (Texts{"a", "b"}));
    rows.Update();
    EXPECT_EQ(asked, 0);
}

TEST_F(RowGridTest, AppendAndInsertWriteTheSameTextForms)
{
    using Row = std::tuple<int, double>;
    RowGrid<Row> rows(grid(2));
    rows.Append({1, 2.5});
    rows.Insert({1, 2.5}, 0);
    rows.InsertItems({Row{-7, 3.0}}, 2);
    EXPECT_EQ(row(rows.control, 0), (Texts{"1", "2.5"}));
    EXPECT_EQ(row(rows.control, 1), (Texts{"1", "2.5"}));
    EXPECT_EQ(row(rows.control, 2), (Texts{"-7", "3.0"}));

    // Every kind of value has one text form, wherever it is written.
    using Mixed = std::tuple<bool, float, std::optional<int>, std::string, char, unsigned long long, wxString>;
    RowGrid<Mixed> mixed(grid(7));
    const Mixed value{true, 0.1f, std::nullopt, "\xe7\x94\xb5\xe5\x8e\x8b", 'V', 18446744073709551615ull, "ok"};
    mixed.Append(value);
    mixed.Insert(value, 0);
    const Texts expected{"True", "0.1", "", wxString::FromUTF8("电压"), "V", "18446744073709551615", "ok"};
    EXPECT_EQ(row(mixed.control, 0), expected);
    EXPECT_EQ(row(mixed.control, 1), expected);
}

struct Volts {
    double value;
};
std::ostream& operator<<(std::ostream& os, const Volts& v) { return os << v.value << " V"; }

TEST(CellTextTest, OtherKindsHaveTheirDocumentedForms)
{
    EXPECT_EQ(cell_text(wxDateTime(15, wxDateTime::Jan, 2024, 10, 20, 30)), "2024-01-15 10:20:30");
    EXPECT_EQ(cell_text(wxDefaultDateTime), "");
    EXPECT_EQ(cell_text(Volts{1.5}), "1.5 V");
    EXPECT_EQ(cell_text(std::optional<double>(2.0)), "2.0");
    EXPECT_EQ(cell_text(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(cell_text(1e16), "1e+16");
    EXPECT_EQ(cell_text(L"\u00b0C"), wxString::FromUTF8("\xc2\xb0" "C"));
    EXPECT_EQ(cell_text(std::int8_t{-5}), "-5");
    static_assert(!has_cell_text<std::vector<int>>);
}

TEST_F(RowGridTest, CallbackGivesRowValuesOfOtherObjects)
{
    RowGrid<Reading> rows(grid(3), [](const Reading& r) { return RowValues{r.channel, r.count, r.volts}; });
    rows.AppendItems(std::vector<Reading>{{"CH1", 3, 0.25}, {"CH2", 40, 12.0}});
    EXPECT_EQ(row(rows.control, 1), (Texts{"CH2", "40", "12.0"}));
    rows.objects[0].volts = 1e-5;
    rows.Update(0);
    EXPECT_EQ(row(rows.control, 0), (Texts{"CH1", "3", "1e-05"}));
    EXPECT_EQ(rows.GetSelection(), nullptr);
    rows.SetSelection(1);
    ASSERT_NE(rows.GetSelection(), nullptr);
    EXPECT_EQ(rows.GetSelection()->channel, "CH2");
}

TEST_F(RowGridTest, HandedOverContainersGiveUpTheirObjects)
{
    using Owned = std::unique_ptr<Reading>;
    RowGrid<Owned> rows(grid(2), [](const Owned& r) { return RowValues{r->channel, r->count}; });
    std::vector<Owned> batch;
    batch.push_back(std::make_unique<Reading>(Reading{"CH1", 1, 0.0}));
    const Reading* first = batch[0].get();
    rows.AppendItems(std::move(batch));
    EXPECT_EQ(rows.objects[0].get(), first);
    EXPECT_EQ(row(rows.control, 0), (Texts{"CH1", "1"}));
}

TEST_F(RowGridTest, ExplicitColourColoursEveryCellWithoutAskingTheCallback)
{
    int asked = 0;
    RowGrid<Pair> rows(grid(2), nullptr, [&](const Pair&) {
        ++asked;
        return *wxGREEN;
    });
    rows.Append({"a", "b"}, *wxRED);
    rows.AppendItems({Pair{"c", "d"}, Pair{"e", "f"}}, *wxBLUE);
    EXPECT_EQ(asked, 0);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(rows.control->GetCellBackgroundColour(0, c), *wxRED);
        EXPECT_EQ(rows.control->GetCellBackgroundColour(2, c), *wxBLUE);
    }
}

TEST_F(RowGridTest, ColourCallbackIsAskedOncePerRowWithThatRowsObject)
{
    std::vector<Pair> asked_with;
    RowGrid<Pair> rows(grid(2), nullptr, [&](const Pair& p) {
        asked_with.push_back(p);
        return p.first == "hot" ? *wxRED : *wxLIGHT_GREY;
    });
    rows.AppendItems({Pair{"hot", "1"}, Pair{"cold", "2"}, Pair{"hot", "3"}});
    EXPECT_EQ(asked_with, (std::vector<Pair>{{"hot", "1"}, {"cold", "2"}, {"hot", "3"}}));
    EXPECT_EQ(rows.control->GetCellBackgroundColour(0, 1), *wxRED);
    EXPECT_EQ(rows.control->GetCellBackgroundColour(1, 1), *wxLIGHT_GREY);

    asked_with.clear();
    rows.objects[0].first = "cold";
    rows.Update({1, 0});
    EXPECT_EQ(asked_with, (std::vector<Pair>{{"cold", "2"}, {"cold", "1"}}));
    EXPECT_EQ(rows.control->GetCellBackgroundColour(0, 0), *wxLIGHT_GREY);
    EXPECT_EQ(rows.control->GetCellBackgroundColour(0, 1), *wxLIGHT_GREY);
}

TEST_F(RowGridTest, CallbackAnsweringNoColourIsAskedAtEveryColumn)
{
    int asked = 0;
    RowGrid<Texts> rows(grid(3), nullptr, [&](const Texts&) {
        ++asked;
        return asked == 2 ? *wxCYAN : wxNullColour;
    });
    const wxColour plain = rows.control->GetDefaultCellBackgroundColour();
    rows.Append({"a", "b", "c"});
    // No colour at column 0, cyan at column 1, which column 2 then keeps.
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(rows.control->GetCellBackgroundColour(0, 0), plain);
    EXPECT_EQ(rows.control->GetCellBackgroundColour(0, 1), *wxCYAN);
    EXPECT_EQ(rows.control->GetCellBackgroundColour(0, 2), *wxCYAN);
}

TEST_F(RowGridTest, UpdateWritesOnlyAsFarAsColumnsAndValuesReach)
{
    RowGrid<Texts> rows(grid(3));
    rows.AppendItems({Texts{"a", "b", "c"}, Texts{"d", "e", "f"}, Texts{"g", "h", "i"}});
    rows.objects[0] = {"1", "2", "3", "4", "5"};
    rows.objects[1] = {"x"};
    rows.Update();
    EXPECT_EQ(row(rows.control, 0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(row(rows.control, 1), (Texts{"x", "e", "f"}));

    rows.objects[2] = {"G"};
    rows.objects[0] = {"0"};
    rows.Update(std::vector<int>{2, 0});
    EXPECT_EQ(row(rows.control, 2), (Texts{"G", "h", "i"}));
    EXPECT_EQ(row(rows.control, 0), (Texts{"0", "2", "3"}));

    // A row outside the list fails there; the rows before it are already rewritten.
    rows.objects[1] = {"y"};
    EXPECT_THROW(rows.Update({1, 3, 0}), LookupError);
    EXPECT_THROW(rows.Update(-2), LookupError);
    EXPECT_EQ(row(rows.control, 1), (Texts{"y", "e", "f"}));
}

// Update takes a row or a list of rows; anything else does not compile.
template <class G, class I>
concept updatable_with = requires(G& g, I index) { g.Update(index); };
static_assert(updatable_with<RowGrid<Texts>, int>);
static_assert(updatable_with<RowGrid<Texts>, long>);
static_assert(updatable_with<RowGrid<Texts>, std::vector<int>>);
static_assert(updatable_with<RowGrid<Texts>, std::array<long, 2>>);
static_assert(!updatable_with<RowGrid<Texts>, double>);
static_assert(!updatable_with<RowGrid<Texts>, float>);
static_assert(!updatable_with<RowGrid<Texts>, const char*>);
static_assert(!updatable_with<RowGrid<Texts>, wxString>);
static_assert(!updatable_with<RowGrid<Texts>, std::string>);
static_assert(!updatable_with<RowGrid<Texts>, bool>);
static_assert(!updatable_with<RowGrid<Texts>, std::vector<double>>);

TEST_F(RowGridTest, InsertItemsAndDeleteSelectionsKeepObjectsInStep)
{
    RowGrid<Texts> rows(grid(1));
    rows.AppendItems({Texts{"0"}, Texts{"1"}, Texts{"2"}});
    rows.InsertItems(std::list<Texts>{{"a"}, {"b"}}, 1);
    EXPECT_EQ(rows.objects, (std::vector<Texts>{{"0"}, {"a"}, {"b"}, {"1"}, {"2"}}));
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(row(rows.control, r), rows.objects[static_cast<std::size_t>(r)]);

    rows.control->SelectRow(0);
    rows.control->SelectRow(2, true);
    rows.control->SelectRow(3, true);
    auto selected = rows.GetSelections();
    ASSERT_EQ(selected.size(), 3u);
    EXPECT_EQ(rows.GetSelectionIndex(), 0);
    rows.DeleteSelections();
    EXPECT_EQ(rows.objects, (std::vector<Texts>{{"a"}, {"2"}}));
    EXPECT_EQ(rows.control->GetNumberRows(), 2);
    EXPECT_EQ(row(rows.control, 1), (Texts{"2"}));

    EXPECT_THROW(rows.Insert({"z"}, 3), LookupError);
    EXPECT_THROW(rows.Delete(2), LookupError);
    EXPECT_EQ(rows.size(), 2u);
    rows.Clear();
    EXPECT_EQ(rows.size(), 0u);
    EXPECT_EQ(rows.control->GetNumberRows(), 0);
}

TEST_F(RowGridTest, SetSelectionReplacesTheSelection)
{
    RowGrid<Texts> rows(grid(1));
    rows.AppendItems({Texts{"0"}, Texts{"1"}, Texts{"2"}});
    rows.control->SelectRow(0);
    rows.control->SelectRow(1, true);
    EXPECT_EQ(rows.GetSelectionIndexes(), (std::vector<int>{0, 1}));
    rows.SetSelection(2);
    EXPECT_EQ(rows.GetSelectionIndexes(), std::vector<int>{2});
    EXPECT_EQ(*rows.GetSelection(), Texts{"2"});
    rows.ClearSelection();
    EXPECT_EQ(rows.GetSelectionIndex(), -1);
}

TEST_F(RowGridTest, MissingValuesFailAfterTheRowIsAdded)
{
    RowGrid<Reading> no_callback(grid(2));
    EXPECT_THROW(no_callback.Append({"CH1", 1, 1.0}), TypeError);
    EXPECT_EQ(no_callback.size(), 1u);
    EXPECT_EQ(no_callback.control->GetNumberRows(), 1);

    RowGrid<Texts> rows(grid(2));
    EXPECT_THROW(rows.Insert({"only"}, 0), LookupError);
    EXPECT_EQ(row(rows.control, 0), (Texts{"only", ""}));
    // As with one Append per item: the short item stays, the ones after it do not.
    EXPECT_THROW(rows.AppendItems({Texts{"a", "b"}, Texts{"c"}, Texts{"d", "e"}}), LookupError);
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.control->GetNumberRows(), 3);
    EXPECT_EQ(row(rows.control, 1), (Texts{"a", "b"}));
    EXPECT_EQ(row(rows.control, 2), (Texts{"c", ""}));
}

}  // namespace

namespace {

// Movable only, and without a default constructor.
struct Probe {
    Probe(std::string name, int value) : name(std::make_unique<std::string>(std::move(name))), value(value) {}
    std::unique_ptr<std::string> name;
    int value;
};

}  // namespace

TEST_F(RowGridTest, MoveOnlyObjectsWithoutDefaultConstructor)
{
    wxGrid* g = grid(2);
    RowGrid<Probe> rows(g, [](const Probe& p) { return RowValues{*p.name, p.value}; });
    rows.Append(Probe("电压", 5));
    rows.Insert(Probe("bad\xff", 1), 0);
    std::vector<Probe> batch;
    batch.emplace_back("c", 3);
    rows.AppendItems(std::move(batch));
    EXPECT_EQ(row(g, 0), (Texts{wxString::FromUTF8("bad\uFFFD"), "1"}));
    EXPECT_EQ(row(g, 1), (Texts{wxString::FromUTF8("电压"), "5"}));
    rows.SetSelection(2);
    EXPECT_EQ(rows.GetSelection()->value, 3);
    rows.objects[1].value = 7;
    rows.Update(1);
    EXPECT_EQ(row(g, 1)[1], "7");
    rows.Delete(0);
    rows.Clear();
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(g->GetNumberRows(), 0);
}
