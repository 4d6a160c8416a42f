#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include "tests/paratree/tree_panel_fixture.h"

#include <wx/frame.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeError;
namespace fs = std::filesystem;

namespace {

using TempDir = TempFolder;

// A tree whose entries are deliberately out of alphabetical order and nested:
//   zeta/            (directory)
//     inner/         (directory)
//       deep         (book)
//     b-book         (book)
//   alpha            (book)
//   Mid/             (directory, empty)
std::shared_ptr<ParameterDirectory> unsorted_tree()
{
    auto inner = std::make_shared<ParameterDirectory>();
    inner->set("deep", make_book({{"p", "deep p"}}));
    auto zeta = std::make_shared<ParameterDirectory>();
    zeta->set("inner", inner);
    zeta->set("b-book", make_book({}));
    auto top = std::make_shared<ParameterDirectory>();
    top->set("zeta", zeta);
    top->set("alpha", make_book({{"speed", "Speed of the axis"}, {"accel", "Acceleration"}, {"limit", ""}}));
    top->set("Mid", std::make_shared<ParameterDirectory>());
    return top;
}

// A small tree on disk: folder/motor/axis.pbook (two parameters) and folder/setup.pbook.
void write_tree(const fs::path& folder)
{
    auto motor = std::make_shared<ParameterDirectory>();
    motor->set("axis", make_book({{"speed", "Speed"}, {"torque", "Torque"}}));
    auto top = std::make_shared<ParameterDirectory>();
    top->set("motor", motor);
    top->set("setup", make_book({{"name", "Station name"}}));
    top->save(folder);
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "host");
        frame->Show();
    }
    void TearDown() override
    {
        frame->Destroy();
        flush_events();
    }

    ParameterTreeEditorPanel* make_panel(const wxString& path = wxEmptyString,
                                         std::shared_ptr<ParameterDirectory> directory = nullptr)
    {
        auto* panel = new ParameterTreeEditorPanel(frame, path, std::move(directory));
        frame->Layout();
        return panel;
    }

    // The view depth first: one line per item, indented by depth, with its picture.
    static std::vector<std::string> outline(wxTreeCtrl* tree)
    {
        std::vector<std::string> lines;
        if (tree->GetRootItem().IsOk())
            walk(tree, tree->GetRootItem(), 0, lines);
        return lines;
    }

    static wxTreeItemId find(wxTreeCtrl* tree, const wxTreeItemId& under, const wxString& text)
    {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree->GetFirstChild(under, cookie); c.IsOk(); c = tree->GetNextChild(under, cookie))
            if (tree->GetItemText(c) == text)
                return c;
        return {};
    }

    static std::vector<std::pair<wxString, wxString>> grid_rows(wxGrid* grid)
    {
        std::vector<std::pair<wxString, wxString>> rows;
        for (int r = 0; r < grid->GetNumberRows(); ++r)
            rows.emplace_back(grid->GetCellValue(r, 0), grid->GetCellValue(r, 1));
        return rows;
    }

    static std::vector<bool> parameter_buttons(ParameterTreeEditorPanel* p)
    {
        return {p->ui_add_parameter_button->IsEnabled(), p->ui_edit_parameter_button->IsEnabled(),
                p->ui_delete_parameter_button->IsEnabled(), p->ui_rename_parameter_button->IsEnabled(),
                p->ui_view_parameter_button->IsEnabled(), p->ui_copy_parameter_button->IsEnabled()};
    }

    wxFrame* frame = nullptr;

private:
    static void walk(wxTreeCtrl* tree, const wxTreeItemId& item, int depth, std::vector<std::string>& lines)
    {
        const int image = tree->GetItemImage(item);
        const char* kind = image == ParameterTreeEditorPanel::_ImageDirectory ? "dir"
                           : image == ParameterTreeEditorPanel::_ImageBook    ? "book"
                                                                              : "?";
        lines.push_back(std::string(depth * 2, ' ') + kind + ":" + tree->GetItemText(item).utf8_string());
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
            walk(tree, c, depth + 1, lines);
    }
};

const std::vector<bool> kAllOff(6, false);
const std::vector<bool> kAddOnly = {true, false, false, false, false, false};
const std::vector<bool> kAllOn(6, true);

}  // namespace

TEST(ParameterTreeNameRule, RefusesEmptyDotsAndEveryInvalidCharacterAnywhere)
{
    EXPECT_FALSE(ParameterTreeEditorPanel::is_valid_name(""));
    EXPECT_FALSE(ParameterTreeEditorPanel::is_valid_name("."));
    EXPECT_FALSE(ParameterTreeEditorPanel::is_valid_name(".."));
    for (const std::string& entry : ovk_paratree::InvalidNameCharacters) {
        const wxString c = wxString::FromUTF8(entry.data(), entry.size());
        EXPECT_FALSE(ParameterTreeEditorPanel::is_valid_name(c + "name")) << int(entry[0]);
        EXPECT_FALSE(ParameterTreeEditorPanel::is_valid_name("na" + c + "me")) << int(entry[0]);
        EXPECT_FALSE(ParameterTreeEditorPanel::is_valid_name("name" + c)) << int(entry[0]);
    }
}

TEST(ParameterTreeNameRule, AcceptsOrdinaryNamesWithoutTrimming)
{
    for (const char* name : {"speed", "a.b", "...", ".hidden", "two words", "  ", " padded ", "速度", "x-1_2"})
        EXPECT_TRUE(ParameterTreeEditorPanel::is_valid_name(wxString::FromUTF8(name))) << name;
}

TEST_F(PanelTest, EmptyPathStartsEmptyAndIgnoresAGivenDirectory)
{
    auto* panel = make_panel("", unsorted_tree());
    EXPECT_EQ(panel->root, nullptr);
    EXPECT_EQ(panel->root_path, "");
    EXPECT_EQ(panel->ui_tree_path->GetValue(), "");
    EXPECT_FALSE(panel->ui_tree->GetRootItem().IsOk());
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(panel->ui_book->GetSelectionMode(), wxGrid::wxGridSelectRows);
}

TEST_F(PanelTest, ShowsTheTreeDepthFirstInTheModelsOrderWithPictures)
{
    auto tree = unsorted_tree();
    auto* panel = make_panel("/data/machines/station-7", tree);
    EXPECT_EQ(panel->root, tree);
    EXPECT_EQ(panel->root_path, "/data/machines/station-7");
    EXPECT_EQ(panel->ui_tree_path->GetValue(), "/data/machines/station-7");
    const std::vector<std::string> expected = {
        "dir:station-7",
        "  dir:zeta",
        "    dir:inner",
        "      book:deep",
        "    book:b-book",
        "  book:alpha",
        "  dir:Mid",
    };
    EXPECT_EQ(outline(panel->ui_tree), expected);
    // No separate picture for the selected state.
    EXPECT_EQ(panel->ui_tree->GetItemImage(panel->ui_tree->GetRootItem(), wxTreeItemIcon_Selected), -1);
}

TEST_F(PanelTest, EveryItemCarriesTheModelObjectItShows)
{
    auto tree = unsorted_tree();
    auto* panel = make_panel("/x/top", tree);
    wxTreeCtrl* t = panel->ui_tree;
    const wxTreeItemId root = t->GetRootItem();
    EXPECT_EQ(panel->item_object(root), tree);
    const wxTreeItemId zeta = find(t, root, "zeta");
    const wxTreeItemId inner = find(t, zeta, "inner");
    const wxTreeItemId deep = find(t, inner, "deep");
    ASSERT_TRUE(deep.IsOk());
    auto zeta_dir = tree->get_directory("zeta");
    EXPECT_EQ(panel->item_object(zeta), zeta_dir);
    EXPECT_EQ(panel->item_object(inner), zeta_dir->get("inner"));
    EXPECT_EQ(panel->item_object(deep), zeta_dir->get_directory("inner")->get("deep"));
    EXPECT_EQ(panel->item_object(find(t, root, "alpha")), tree->get("alpha"));
    EXPECT_EQ(panel->item_object(wxTreeItemId()), nullptr);
}

TEST_F(PanelTest, RootTextIsTheFoldersLastComponent)
{
    auto* panel = make_panel("relative", std::make_shared<ParameterDirectory>());
    EXPECT_EQ(panel->ui_tree->GetItemText(panel->ui_tree->GetRootItem()), "relative");
    panel->root_path = "/a/b/";
    panel->_refresh_tree_view();
    EXPECT_EQ(panel->ui_tree->GetItemText(panel->ui_tree->GetRootItem()), "");
    EXPECT_EQ(panel->ui_tree->GetCount(), 1u);
    EXPECT_EQ(panel->item_object(panel->ui_tree->GetRootItem()), panel->root);
}

TEST_F(PanelTest, SelectingABookListsItsParametersInOrder)
{
    auto* panel = make_panel("/x/top", unsorted_tree());
    wxTreeCtrl* t = panel->ui_tree;
    t->SelectItem(find(t, t->GetRootItem(), "alpha"));
    const std::vector<std::pair<wxString, wxString>> expected = {
        {"speed", "Speed of the axis"}, {"accel", "Acceleration"}, {"limit", ""}};
    EXPECT_EQ(grid_rows(panel->ui_book), expected);
    EXPECT_EQ(parameter_buttons(panel), kAddOnly);

    // The grid is emptied for each new selection, not appended to.
    t->SelectItem(find(t, find(t, find(t, t->GetRootItem(), "zeta"), "inner"), "deep"));
    EXPECT_EQ(grid_rows(panel->ui_book), (std::vector<std::pair<wxString, wxString>>{{"p", "deep p"}}));
}

TEST_F(PanelTest, ButtonStatesFollowTheSelections)
{
    auto* panel = make_panel("/x/top", unsorted_tree());
    wxTreeCtrl* t = panel->ui_tree;
    const wxTreeItemId root = t->GetRootItem();
    const wxTreeItemId alpha = find(t, root, "alpha");
    const wxTreeItemId empty_book = find(t, find(t, root, "zeta"), "b-book");

    t->SelectItem(alpha);
    EXPECT_EQ(parameter_buttons(panel), kAddOnly);
    panel->ui_book->SelectRow(1);
    EXPECT_EQ(parameter_buttons(panel), kAllOn);
    panel->ui_book->SelectRow(2, true);
    EXPECT_EQ(parameter_buttons(panel), kAllOn);
    panel->ui_book->ClearSelection();
    EXPECT_EQ(parameter_buttons(panel), kAddOnly);

    // A book with no parameters: empty grid, only adding makes sense.
    t->SelectItem(empty_book);
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_TRUE(panel->ui_add_parameter_button->IsEnabled());

    // The root item and a directory after a book: empty grid, all six off.
    t->SelectItem(alpha);
    panel->ui_book->SelectRow(0);
    ASSERT_EQ(parameter_buttons(panel), kAllOn);
    t->SelectItem(root);
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(parameter_buttons(panel), kAllOff);
    t->SelectItem(alpha);
    panel->ui_book->SelectRow(0);
    t->SelectItem(find(t, root, "Mid"));
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(parameter_buttons(panel), kAllOff);
}

TEST_F(PanelTest, NoSelectionEmptiesTheGridAndKeepsTheButtons)
{
    auto* panel = make_panel("/x/top", unsorted_tree());
    wxTreeCtrl* t = panel->ui_tree;
    t->SelectItem(find(t, t->GetRootItem(), "alpha"));
    ASSERT_EQ(panel->ui_book->GetNumberRows(), 3);
    t->DeleteAllItems();
    ASSERT_FALSE(t->GetSelection().IsOk());
    wxTreeEvent event(wxEVT_TREE_SEL_CHANGED, t, wxTreeItemId());
    panel->on_tree_sel_changed(event);
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(parameter_buttons(panel), kAddOnly);
}

TEST_F(PanelTest, ShowParametersAppendsAfterExistingRows)
{
    auto* panel = make_panel();
    auto book = make_book({{"a", "first"}, {"b", "second"}});
    panel->_show_parameters_of_book(*book);
    panel->_show_parameters_of_book(*book);
    const std::vector<std::pair<wxString, wxString>> expected = {
        {"a", "first"}, {"b", "second"}, {"a", "first"}, {"b", "second"}};
    EXPECT_EQ(grid_rows(panel->ui_book), expected);
}

TEST_F(PanelTest, ConstructionLoadsTheTreeOfTheFolder)
{
    TempDir dir;
    write_tree(dir / "station");
    auto* panel = make_panel(wx_path(dir / "station"));
    ASSERT_NE(panel->root, nullptr);
    const std::vector<std::string> expected = {"dir:station", "  dir:motor", "    book:axis", "  book:setup"};
    EXPECT_EQ(outline(panel->ui_tree), expected);
    EXPECT_EQ(panel->ui_tree_path->GetValue(), wx_path(dir / "station"));
}

TEST_F(PanelTest, ConstructionOnAnUnreadableFolderThrowsTheModelsError)
{
    TempDir dir;
    EXPECT_THROW(make_panel(wx_path(dir / "missing")), ParaTreeError);
}

TEST_F(PanelTest, LoadReplacesTheTreeAndEmptiesTheGrid)
{
    TempDir dir;
    write_tree(dir / "second");
    auto* panel = make_panel("/x/first", unsorted_tree());
    wxTreeCtrl* t = panel->ui_tree;
    t->SelectItem(find(t, t->GetRootItem(), "alpha"));
    ASSERT_EQ(panel->ui_book->GetNumberRows(), 3);
    panel->ui_book->SelectRow(0);
    ASSERT_EQ(parameter_buttons(panel), kAllOn);

    dialogs().answer_path(wx_path(dir / "second"));
    wxCommandEvent event;
    panel->on_load(event);
    EXPECT_EQ(dialogs().last().kind, DialogKind::DirChooser);
    EXPECT_EQ(panel->root_path, wx_path(dir / "second"));
    EXPECT_EQ(panel->ui_tree_path->GetValue(), wx_path(dir / "second"));
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    const std::vector<std::string> expected = {"dir:second", "  dir:motor", "    book:axis", "  book:setup"};
    EXPECT_EQ(outline(t), expected);
    EXPECT_EQ(panel->item_object(t->GetRootItem()), panel->root);
    // No book is selected in the new tree, so no parameter command may act.
    EXPECT_EQ(parameter_buttons(panel), kAllOff);
}

TEST_F(PanelTest, CancelledLoadChangesNothing)
{
    auto tree = unsorted_tree();
    auto* panel = make_panel("/x/first", tree);
    dialogs().answer_path("/tmp", wxID_CANCEL);
    wxCommandEvent event;
    panel->on_load(event);
    EXPECT_EQ(panel->root, tree);
    EXPECT_EQ(panel->root_path, "/x/first");
    EXPECT_EQ(panel->ui_tree->GetCount(), 7u);
    EXPECT_EQ(dialogs().shown().size(), 1u);
}

TEST_F(PanelTest, FailingLoadShowsTheModelsMessageAndKeepsEverything)
{
    TempDir dir;
    fs::create_directories(dir / "broken");
    std::ofstream(dir / "broken" / ("bad." + ParameterBook::ExtName)) << "{ this is not a book";
    std::string model_message;
    try {
        ParameterDirectory::load(dir / "broken");
    } catch (const ParaTreeError& error) {
        model_message = error.what();
    }
    ASSERT_FALSE(model_message.empty()) << "the broken folder should not load";

    auto tree = unsorted_tree();
    auto* panel = make_panel("/x/first", tree);
    wxTreeCtrl* t = panel->ui_tree;
    t->SelectItem(find(t, t->GetRootItem(), "alpha"));
    dialogs().answer_path(wx_path(dir / "broken")).answer(wxID_OK);
    wxCommandEvent event;
    panel->on_load(event);

    EXPECT_EQ(dialogs().last().kind, DialogKind::Message);
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_EQ(dialogs().last().message, wxString::FromUTF8(model_message));
    EXPECT_EQ(panel->root, tree);
    EXPECT_EQ(panel->root_path, "/x/first");
    EXPECT_EQ(panel->ui_tree_path->GetValue(), "/x/first");
    EXPECT_EQ(outline(t).front(), "dir:first");
    EXPECT_EQ(t->GetCount(), 7u);
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 3);
    // load_directory itself hands the error on.
    EXPECT_THROW(panel->load_directory(wx_path(dir / "broken")), ParaTreeError);
    EXPECT_EQ(panel->root, tree);
}

TEST_F(PanelTest, SavingWithoutATreeAsksToLoadOne)
{
    auto* panel = make_panel();
    dialogs().answer(wxID_OK).answer(wxID_OK);
    wxCommandEvent event;
    panel->on_save(event);
    panel->on_save_to(event);
    ASSERT_EQ(dialogs().shown().size(), 2u);  // no chooser was opened
    for (const ShownDialog& shown : dialogs().shown()) {
        EXPECT_EQ(shown.message, "Please load an parameter directory first.");
        EXPECT_EQ(shown.caption, "Info");
    }
}

TEST_F(PanelTest, SaveWritesToTheLoadedFolderEvenAfterSaveTo)
{
    TempDir dir;
    write_tree(dir / "home");
    fs::create_directories(dir / "elsewhere");
    auto* panel = make_panel(wx_path(dir / "home"));
    panel->root->set("added", make_book({{"k", "new"}}));
    const std::string book_file = "added." + ParameterBook::ExtName;

    dialogs().answer_path(wx_path(dir / "elsewhere")).answer(wxID_OK);
    wxCommandEvent event;
    panel->on_save_to(event);
    EXPECT_EQ(dialogs().last().message, "Save parameter to " + wx_path(dir / "elsewhere") + " success.");
    EXPECT_EQ(dialogs().last().caption, "Info");
    EXPECT_TRUE(fs::exists(dir / "elsewhere" / book_file));
    EXPECT_TRUE(fs::exists(dir / "elsewhere" / "motor" / ("axis." + ParameterBook::ExtName)));
    EXPECT_FALSE(fs::exists(dir / "home" / book_file));
    EXPECT_EQ(panel->root_path, wx_path(dir / "home"));
    EXPECT_EQ(panel->ui_tree_path->GetValue(), wx_path(dir / "home"));

    dialogs().answer(wxID_OK);
    panel->on_save(event);
    EXPECT_EQ(dialogs().last().message, "Save parameter to " + wx_path(dir / "home") + " success.");
    EXPECT_TRUE(fs::exists(dir / "home" / book_file));
    auto reloaded = ParameterDirectory::load(dir / "home");
    EXPECT_EQ(reloaded->get_book("added")->get("k")->description(), "new");
}

TEST_F(PanelTest, CancelledSaveToWritesNothingAndSaysNothing)
{
    auto* panel = make_panel("/x/first", unsorted_tree());
    dialogs().answer_path("/tmp", wxID_CANCEL);
    wxCommandEvent event;
    panel->on_save_to(event);
    EXPECT_EQ(dialogs().shown().size(), 1u);
}

TEST_F(PanelTest, FailingSaveShowsTheErrorAndChangesNothing)
{
    TempDir dir;
    std::ofstream(dir / "a-file") << "not a folder";
    auto tree = unsorted_tree();
    auto* panel = make_panel(wx_path(dir / "a-file"), tree);
    dialogs().answer(wxID_OK);
    wxCommandEvent event;
    panel->on_save(event);
    const ShownDialog shown = dialogs().last();
    EXPECT_EQ(shown.caption, "Error");
    const wxString prefix = "Exception raised while saving parameter directory: ";
    EXPECT_TRUE(shown.message.StartsWith(prefix)) << shown.message;
    EXPECT_GT(shown.message.length(), prefix.length());
    EXPECT_EQ(dialogs().shown().size(), 1u) << "no success notice after a failure";
    EXPECT_EQ(panel->root, tree);
    EXPECT_EQ(panel->root_path, wx_path(dir / "a-file"));
    EXPECT_EQ(panel->ui_tree->GetCount(), 7u);

    // The same for another folder: a file stands where a directory must go.
    fs::create_directories(dir / "target");
    std::ofstream(dir / "target" / "zeta") << "in the way";
    dialogs().answer_path(wx_path(dir / "target")).answer(wxID_OK);
    panel->on_save_to(event);
    EXPECT_TRUE(dialogs().last().message.StartsWith(prefix)) << dialogs().last().message;
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_EQ(panel->root_path, wx_path(dir / "a-file"));
}
