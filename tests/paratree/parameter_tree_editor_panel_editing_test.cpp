// The editing commands of the tree editor panel: adding directories and books,
// deleting tree items or clearing the tree, and adding, editing and deleting
// the parameters of the selected book.
#include "tests/paratree/tree_panel_fixture.h"

#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"

#include <fstream>
#include <functional>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
namespace fs = std::filesystem;

namespace {

// station/
//   motor/
//     axis    (book: speed, torque, limit, accel, jerk)
//     drive/
//       gear  (book: ratio)
//   setup     (book: name)
std::shared_ptr<ParameterDirectory> station_tree()
{
    auto drive = std::make_shared<ParameterDirectory>();
    drive->set("gear", make_book({{"ratio", "Gear ratio"}}));
    auto motor = std::make_shared<ParameterDirectory>();
    motor->set("axis", make_book({{"speed", "Speed"},
                                  {"torque", "Torque"},
                                  {"limit", "Limit"},
                                  {"accel", "Acceleration"},
                                  {"jerk", "Jerk"}}));
    motor->set("drive", drive);
    auto top = std::make_shared<ParameterDirectory>();
    top->set("motor", motor);
    top->set("setup", make_book({{"name", "Station name"}}));
    return top;
}

const wxString kInvalidCharacters = wxString::FromUTF8(ovk_paratree::InvalidNameCharacters.to_string());

wxCommandEvent command;

class EditingTest : public TreePanelTest {
protected:
    void SetUp() override
    {
        TreePanelTest::SetUp();
        top = station_tree();
        make_panel("/data/station", top);
    }

    std::shared_ptr<ParameterDirectory> top;
};

}  // namespace

// ---- adding directories and books ----

TEST_F(EditingTest, AddDirectoryTrimsTheNameAppendsAndSelectsTheNewItem)
{
    select({"motor", "axis"});
    select_rows({1});
    select({"motor"});
    // Blanks, a tab and the ideographic space around the name.
    dialogs().answer_text(wxString::FromUTF8("  \tEncoder\xE3\x80\x80 "));
    panel->on_add_directory(command);

    const ShownDialog& asked = dialogs().last();
    EXPECT_EQ(asked.kind, DialogKind::TextEntry);
    EXPECT_EQ(asked.message, "Please input directory name.");
    EXPECT_EQ(asked.caption, "Input Dialog");
    EXPECT_EQ(dialogs().shown().size(), 1u);

    auto motor = top->get_directory("motor");
    EXPECT_EQ(motor->names(), (std::vector<std::string>{"axis", "drive", "Encoder"}));
    auto encoder = motor->get_directory("Encoder");
    ASSERT_NE(encoder, nullptr);
    EXPECT_TRUE(encoder->empty());

    const wxTreeItemId added = item({"motor", "Encoder"});
    ASSERT_TRUE(added.IsOk());
    EXPECT_EQ(children(item({"motor"})), (std::vector<wxString>{"axis", "drive", "Encoder"}));
    EXPECT_EQ(tree()->GetItemImage(added), Panel::_ImageDirectory);
    EXPECT_EQ(panel->item_object(added), encoder);
    EXPECT_EQ(tree()->GetSelection(), added);
    EXPECT_EQ(grid()->GetNumberRows(), 0);
    EXPECT_EQ(parameter_buttons(), kButtonsAllOff);
    flush_events();
    EXPECT_EQ(tree()->GetSelection(), added);
}

TEST_F(EditingTest, AddBookGoesAfterTheSiblingsAndEnablesOnlyAdding)
{
    select({"motor", "axis"});
    select_rows({0});
    ASSERT_EQ(parameter_buttons(), kButtonsAllOn);
    tree()->SelectItem(tree()->GetRootItem());
    // The model keeps directories and books in its own order; the view appends.
    dialogs().answer_text("brake");
    panel->on_add_book(command);
    EXPECT_EQ(dialogs().last().message, "Please input book name.");

    auto brake = top->get_book("brake");
    ASSERT_NE(brake, nullptr);
    EXPECT_TRUE(brake->empty());
    const wxTreeItemId added = item({"brake"});
    EXPECT_EQ(children(tree()->GetRootItem()), (std::vector<wxString>{"motor", "setup", "brake"}));
    EXPECT_EQ(tree()->GetItemImage(added), Panel::_ImageBook);
    EXPECT_EQ(tree()->GetItemImage(added, wxTreeItemIcon_Selected), -1);
    EXPECT_EQ(panel->item_object(added), brake);
    EXPECT_EQ(tree()->GetSelection(), added);
    EXPECT_EQ(grid()->GetNumberRows(), 0);
    EXPECT_EQ(parameter_buttons()[0], true);
}

TEST_F(EditingTest, AddDirectoryAndBookRefusalsShowTheirExactBoxes)
{
    struct Refusal {
        const char* what;
        std::function<void()> prepare;  // selection and scripted answers
        bool directory;                 // which command
        DialogKind kind;
        wxString caption;
        wxString message;
    };
    const std::vector<Refusal> refusals = {
        {"no item", [this] { tree()->Unselect(); }, true, DialogKind::Message, "Info",
         "You must select a parameter directory item first."},
        {"no item (book)", [this] { tree()->Unselect(); }, false, DialogKind::Message, "Info",
         "You must select a parameter directory item first."},
        {"book selected", [this] { select({"setup"}); }, true, DialogKind::Message, "Error",
         "Parameter Directory only can be added into a directory. Select the parameter directory you want to use."},
        {"book selected (book)", [this] { select({"setup"}); }, false, DialogKind::Message, "Error",
         "Parameter Book only can be added into a directory. Select the parameter directory you want to use."},
        {"blanks only", [this] { select({}); dialogs().answer_text(wxString::FromUTF8(" \xE3\x80\x80\t ")); }, true,
         DialogKind::Message, "Error", "Directory name could not be empty."},
        {"nothing (book)", [this] { select({}); dialogs().answer_text(""); }, false, DialogKind::Message, "Error",
         "Book name could not be empty."},
        {"invalid", [this] { select({"motor"}); dialogs().answer_text(" a/b "); }, true, DialogKind::Message, "Error",
         "Directory name `a/b` is invalid. It may be has invalid characters: `" + kInvalidCharacters + "`."},
        {"invalid (book)", [this] { select({"motor"}); dialogs().answer_text("x:y"); }, false, DialogKind::Message, "Error",
         "Book name `x:y` is invalid. It may be has invalid characters: `" + kInvalidCharacters + "`."},
        {"directory exists", [this] { select({}); dialogs().answer_text(" motor "); }, true, DialogKind::Message, "Error",
         "Directory name `motor` already exists.\nPlease choose another one."},
        {"a book blocks a directory", [this] { select({}); dialogs().answer_text("setup"); }, true, DialogKind::Message,
         "Error", "Directory name `setup` already exists.\nPlease choose another one."},
        {"a directory blocks a book", [this] { select({"motor"}); dialogs().answer_text("drive"); }, false,
         DialogKind::Message, "Error", "Book name `drive` already exists.\nPlease choose another one."},
    };
    const std::vector<std::string> before = outline();
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        dialogs().reset();
        r.prepare();
        const wxTreeItemId selected = tree()->GetSelection();
        dialogs().answer(wxID_OK);
        if (r.directory)
            panel->on_add_directory(command);
        else
            panel->on_add_book(command);
        ASSERT_FALSE(dialogs().shown().empty());
        const ShownDialog& box = dialogs().last();
        EXPECT_EQ(box.kind, r.kind);
        EXPECT_EQ(box.caption, r.caption);
        EXPECT_EQ(box.message, r.message);
        EXPECT_EQ(dialogs().pending(), 0u);
        EXPECT_EQ(outline(), before);
        EXPECT_EQ(tree()->GetSelection(), selected);
    }
    EXPECT_EQ(top->names(), (std::vector<std::string>{"motor", "setup"}));
    EXPECT_EQ(top->get_directory("motor")->names(), (std::vector<std::string>{"axis", "drive"}));
}

TEST_F(EditingTest, NamesAreCaseSensitiveAndCancellingSaysNothing)
{
    select({});
    dialogs().answer_text("x", wxID_CANCEL);
    panel->on_add_directory(command);
    dialogs().answer_text("x", wxID_CANCEL);
    panel->on_add_book(command);
    EXPECT_EQ(dialogs().shown().size(), 2u);  // the two prompts, nothing after them
    EXPECT_EQ(top->size(), 2u);

    select({});
    dialogs().answer_text("Motor");
    panel->on_add_book(command);
    select({});
    dialogs().answer_text("SETUP");
    panel->on_add_directory(command);
    EXPECT_EQ(top->names(), (std::vector<std::string>{"motor", "setup", "Motor", "SETUP"}));
    EXPECT_NE(top->get_book("Motor"), nullptr);
    EXPECT_NE(top->get_directory("SETUP"), nullptr);
    EXPECT_EQ(children(tree()->GetRootItem()), (std::vector<wxString>{"motor", "setup", "Motor", "SETUP"}));
}

TEST_F(EditingTest, AModelRefusalWhileStoringIsShownAndChangesNothing)
{
    // The model keeps "<name>.<ExtName>" for book files, so it refuses such a directory name.
    const wxString name = wxString::FromUTF8("drive." + ParameterBook::ExtName);
    select({"motor"});
    dialogs().answer_text(name).answer(wxID_OK);
    panel->on_add_directory(command);
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_FALSE(dialogs().last().message.empty());
    EXPECT_EQ(top->get_directory("motor")->names(), (std::vector<std::string>{"axis", "drive"}));
    EXPECT_EQ(children(item({"motor"})), (std::vector<wxString>{"axis", "drive"}));
    EXPECT_EQ(tree()->GetSelection(), item({"motor"}));
}

TEST_F(EditingTest, AddedItemsWorkAsContainersAtOnce)
{
    select({});
    dialogs().answer_text("line");
    panel->on_add_directory(command);
    dialogs().answer_text("cell");
    panel->on_add_book(command);  // the new directory is selected
    dialogs().answer_text("p");
    dialogs().inside([](wxDialog& editor) { editor.EndModal(wxID_OK); });
    panel->on_add_parameter(command);  // the new book is selected
    const std::vector<std::string> expected = {"dir:station",    "  dir:motor",  "    book:axis", "    dir:drive",
                                               "      book:gear", "  book:setup", "  dir:line",    "    book:cell"};
    EXPECT_EQ(outline(), expected);
    EXPECT_TRUE(top->get_directory("line")->get_book("cell")->contains("p"));
    EXPECT_EQ(rows().size(), 1u);
}

// ---- deleting tree items ----

TEST_F(EditingTest, DeleteWithoutSelectionIsRefused)
{
    tree()->Unselect();
    dialogs().answer(wxID_OK);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(dialogs().last().message, "Please select the item you want to delete first.");
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(tree()->GetCount(), 6u);
}

TEST_F(EditingTest, DeletingADirectoryTakesItsSubtreeAndSelectsTheParent)
{
    auto motor = top->get_directory("motor");
    select({"motor", "drive"});
    dialogs().answer(wxID_NO);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(dialogs().last().message, "Do you really want to delete Parameter Directory `drive`?");
    EXPECT_EQ(dialogs().last().caption, "Confirm");
    EXPECT_TRUE(motor->contains("drive"));
    EXPECT_TRUE(item({"motor", "drive", "gear"}).IsOk());

    dialogs().answer(wxID_YES);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(motor->names(), (std::vector<std::string>{"axis"}));
    const std::vector<std::string> expected = {"dir:station", "  dir:motor", "    book:axis", "  book:setup"};
    EXPECT_EQ(outline(), expected);
    EXPECT_EQ(tree()->GetSelection(), item({"motor"}));
    flush_events();  // the tree's own idle-time selection must not move it
    EXPECT_EQ(tree()->GetSelection(), item({"motor"}));
    EXPECT_EQ(parameter_buttons(), kButtonsAllOff);
}

TEST_F(EditingTest, DeletingABookEmptiesTheGridAndSelectsItsDirectory)
{
    select({"motor", "axis"});
    select_rows({0, 1});
    ASSERT_EQ(grid()->GetNumberRows(), 5);
    dialogs().answer(wxID_YES);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(dialogs().last().message, "Do you really want to delete Parameter Book `axis`?");
    EXPECT_EQ(top->get_directory("motor")->names(), (std::vector<std::string>{"drive"}));
    EXPECT_EQ(children(item({"motor"})), (std::vector<wxString>{"drive"}));
    EXPECT_EQ(tree()->GetSelection(), item({"motor"}));
    EXPECT_EQ(grid()->GetNumberRows(), 0);
    EXPECT_EQ(parameter_buttons(), kButtonsAllOff);
}

TEST_F(EditingTest, ClearingTheWholeTreeAnsweredNoChangesNothing)
{
    tree()->SelectItem(tree()->GetRootItem());
    const std::vector<std::string> before = outline();
    dialogs().answer(wxID_NO);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(dialogs().last().message, "Do you really want to clear the whole parameter tree?");
    EXPECT_EQ(dialogs().last().caption, "Confirm");
    EXPECT_EQ(outline(), before);
    EXPECT_EQ(panel->root, top);
    EXPECT_EQ(top->size(), 2u);
}

TEST_F(EditingTest, ClearingTheWholeTreeLeavesOneEmptyRootItem)
{
    select({"setup"});
    tree()->SelectItem(tree()->GetRootItem());
    dialogs().answer(wxID_YES);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(outline(), (std::vector<std::string>{"dir:station"}));
    ASSERT_NE(panel->root, nullptr);
    EXPECT_TRUE(panel->root->empty());
    EXPECT_EQ(panel->item_object(tree()->GetRootItem()), panel->root);
    EXPECT_EQ(panel->root_path, "/data/station");
    EXPECT_EQ(panel->ui_tree_path->GetValue(), "/data/station");
    EXPECT_EQ(grid()->GetNumberRows(), 0);

    // The emptied tree takes new entries at once.
    tree()->SelectItem(tree()->GetRootItem());
    dialogs().answer_text("fresh");
    panel->on_add_book(command);
    EXPECT_EQ(panel->root->names(), (std::vector<std::string>{"fresh"}));
    EXPECT_EQ(outline(), (std::vector<std::string>{"dir:station", "  book:fresh"}));
}

TEST_F(TreePanelTest, SavingTheClearedTreeEmptiesItsFolder)
{
    TempFolder folder;
    station_tree()->save(folder / "station");
    std::ofstream(folder / "station" / "notes.txt") << "not tree content";
    make_panel(wx_path(folder / "station"));

    tree()->SelectItem(tree()->GetRootItem());
    dialogs().answer(wxID_YES);
    panel->on_delete_tree_item(command);
    dialogs().answer(wxID_OK);
    panel->on_save(command);
    EXPECT_EQ(dialogs().last().message, "Save parameter to " + wx_path(folder / "station") + " success.");

    EXPECT_TRUE(ParameterDirectory::load(folder / "station")->empty());
    EXPECT_FALSE(fs::exists(folder / "station" / "motor"));
    EXPECT_FALSE(fs::exists(folder / "station" / ("setup." + ParameterBook::ExtName)));
    EXPECT_TRUE(fs::exists(folder / "station" / "notes.txt"));  // not ours to delete
}

TEST_F(TreePanelTest, AnEmptyPanelRefusesTheTreeCommands)
{
    make_panel();
    tree()->Unselect();
    dialogs().answer(wxID_OK);
    panel->on_delete_tree_item(command);
    EXPECT_EQ(dialogs().last().message, "Please select the item you want to delete first.");
    dialogs().answer(wxID_OK);
    panel->on_add_directory(command);
    EXPECT_EQ(dialogs().last().message, "You must select a parameter directory item first.");
    EXPECT_EQ(panel->root, nullptr);
}

// ---- adding parameters ----

TEST_F(EditingTest, AddParameterKeepsBlanksOpensTheEditorAndAppendsARow)
{
    select({"motor", "axis"});
    auto book = top->get_directory("motor")->get_book("axis");
    std::shared_ptr<Parameter> made;
    dialogs().answer_text(" speed");  // " speed" is not "speed"
    dialogs().inside_as<ParameterEditorDialog>([&](ParameterEditorDialog& editor) {
        EXPECT_EQ(editor.GetParent(), panel);
        EXPECT_EQ(editor.ui_name->GetValue(), " speed");
        EXPECT_TRUE(editor.parameter()->empty());
        made = editor.parameter();
        made->set_description("en_US", "Speed with a blank");
        made->set("max", 10);
        click(editor.ui_ok_button);
    });
    panel->on_add_parameter(command);
    EXPECT_EQ(dialogs().shown().front().message, "Please input your preferred parameter name.");
    EXPECT_EQ(dialogs().shown().size(), 1u);

    ASSERT_NE(made, nullptr);
    EXPECT_EQ(book->get(" speed"), made);
    EXPECT_EQ(book->names().back(), " speed");
    ASSERT_EQ(grid()->GetNumberRows(), 6);
    EXPECT_EQ(rows().back(), (std::pair<wxString, wxString>{" speed", "Speed with a blank"}));
    EXPECT_EQ(rows().front(), (std::pair<wxString, wxString>{"speed", "Speed"}));
}

TEST_F(EditingTest, CancellingTheParameterEditorAddsNothing)
{
    select({"motor", "axis"});
    auto book = top->get_directory("motor")->get_book("axis");
    const auto before = rows();
    dialogs().answer_text("new");
    dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& editor) {
        editor.parameter()->set("x", 1);  // changes made inside are dropped with the parameter
        click(editor.ui_cancel_button);
    });
    panel->on_add_parameter(command);
    EXPECT_FALSE(book->contains("new"));
    EXPECT_EQ(book->size(), 5u);
    EXPECT_EQ(rows(), before);
}

TEST_F(EditingTest, AddParameterRefusals)
{
    auto book = top->get_directory("motor")->get_book("axis");

    tree()->Unselect();
    dialogs().answer(wxID_OK);
    panel->on_add_parameter(command);
    EXPECT_EQ(dialogs().last().message, "Please select a parameter book first.");
    EXPECT_EQ(dialogs().last().caption, "Error");

    // A directory selected (the add button is off then, but the command may still come).
    dialogs().reset();
    select({"motor"});
    dialogs().answer(wxID_OK);
    panel->on_add_parameter(command);
    EXPECT_EQ(dialogs().last().message, "Please select a parameter book first.");
    EXPECT_EQ(top->get_directory("motor")->size(), 2u);

    select({"motor", "axis"});
    const auto before = rows();
    // Cancelled and empty: no message at all.
    dialogs().reset();
    dialogs().answer_text("x", wxID_CANCEL);
    panel->on_add_parameter(command);
    dialogs().answer_text("");
    panel->on_add_parameter(command);
    EXPECT_EQ(dialogs().shown().size(), 2u);

    dialogs().reset();
    dialogs().answer_text("a*b").answer(wxID_OK);
    panel->on_add_parameter(command);
    EXPECT_EQ(dialogs().last().message,
              "Parameter name `a*b` is invalid. It may be has invalid characters: `" + kInvalidCharacters + "`.");
    EXPECT_EQ(dialogs().last().caption, "Error");

    dialogs().answer_text("torque").answer(wxID_OK);
    panel->on_add_parameter(command);
    EXPECT_EQ(dialogs().last().message, "Parameter name `torque` already exists. Please choose another one.");
    EXPECT_EQ(dialogs().last().caption, "Error");

    // Case counts: "Torque" is a new name.
    dialogs().answer_text("Torque");
    dialogs().inside([](wxDialog& editor) { editor.EndModal(wxID_OK); });
    panel->on_add_parameter(command);
    EXPECT_TRUE(book->contains("Torque"));
    EXPECT_EQ(rows().size(), before.size() + 1);
    EXPECT_EQ(dialogs().pending(), 0u);
}

// ---- editing parameters ----

TEST_F(EditingTest, EditingOneRowOpensItsParameterAndRewritesOnlyTheDescription)
{
    select({"motor", "axis"});
    auto book = top->get_directory("motor")->get_book("axis");
    select_rows({2});
    dialogs().inside_as<ParameterEditorDialog>([&](ParameterEditorDialog& editor) {
        EXPECT_EQ(editor.parameter(), book->get("limit"));
        EXPECT_EQ(editor.ui_name->GetValue(), "limit");
        dialogs().inside_as<DescriptionEditorDialog>([](DescriptionEditorDialog& descriptions) {
            descriptions.ui_descriptions->SelectRow(0);  // en_US
            dialogs().answer_text("Travel limit");
            click(descriptions.ui_edit_button);
            click(descriptions.ui_close_button);
        });
        click(editor.ui_descriptions_button);
        // Cancelling does not undo: the dialog works on the parameter itself.
        click(editor.ui_cancel_button);
    });
    panel->on_edit_parameter(command);
    EXPECT_EQ(book->get("limit")->get_description("en_US"), "Travel limit");
    const std::vector<std::pair<wxString, wxString>> expected = {{"speed", "Speed"},
                                                                 {"torque", "Torque"},
                                                                 {"limit", "Travel limit"},
                                                                 {"accel", "Acceleration"},
                                                                 {"jerk", "Jerk"}};
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(book->names(), (std::vector<std::string>{"speed", "torque", "limit", "accel", "jerk"}));
}

TEST_F(EditingTest, EditingTwoRowsOrNoneOnlyExplains)
{
    select({"motor", "axis"});
    const auto before = rows();
    select_rows({0, 3});
    dialogs().answer(wxID_OK);
    panel->on_edit_parameter(command);  // an opened editor would be unscripted and fail the test
    EXPECT_EQ(dialogs().last().message, "Only one parameter could be edited one time.");
    EXPECT_EQ(dialogs().last().caption, "Info");

    grid()->ClearSelection();
    dialogs().answer(wxID_OK);
    panel->on_edit_parameter(command);
    EXPECT_EQ(dialogs().last().kind, DialogKind::Message);
    EXPECT_EQ(dialogs().last().caption, "Info");
    EXPECT_EQ(dialogs().shown().size(), 2u);
    EXPECT_EQ(rows(), before);
}

TEST_F(EditingTest, EditingAParameterMissingFromTheBookIsReported)
{
    select({"motor", "axis"});
    top->get_directory("motor")->get_book("axis")->remove("torque");  // behind the panel's back
    select_rows({1});
    dialogs().answer(wxID_OK);
    panel->on_edit_parameter(command);
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_TRUE(dialogs().last().message.Contains("torque")) << dialogs().last().message;
    EXPECT_EQ(rows()[1], (std::pair<wxString, wxString>{"torque", "Torque"}));
}

// ---- deleting parameters ----

TEST_F(EditingTest, DeletingRowsOneThreeAndFourRemovesExactlyThoseParameters)
{
    select({"motor", "axis"});
    auto book = top->get_directory("motor")->get_book("axis");
    // Selected out of order; the command works from the highest row down.
    grid()->ClearSelection();
    grid()->SelectRow(3, true);
    grid()->SelectRow(1, true);
    grid()->SelectRow(4, true);
    ASSERT_EQ(parameter_buttons(), kButtonsAllOn);
    panel->on_delete_parameter(command);
    EXPECT_TRUE(dialogs().shown().empty()) << "deleting parameters asks nothing";
    EXPECT_EQ(rows(), (std::vector<std::pair<wxString, wxString>>{{"speed", "Speed"}, {"limit", "Limit"}}));
    EXPECT_EQ(book->names(), (std::vector<std::string>{"speed", "limit"}));
    // Nothing is left selected, so the row buttons go off.
    EXPECT_TRUE(grid()->GetSelectedRows().empty());
    EXPECT_EQ(parameter_buttons(), kButtonsAddOnly);
}

TEST_F(EditingTest, DeletingWithNoRowSelectedDoesNothingSilently)
{
    select({"motor", "axis"});
    grid()->ClearSelection();
    panel->on_delete_parameter(command);
    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_EQ(grid()->GetNumberRows(), 5);
    EXPECT_EQ(top->get_directory("motor")->get_book("axis")->size(), 5u);
}

TEST_F(EditingTest, GridAndModelStayInStepThroughAddEditDelete)
{
    select({"setup"});
    auto setup = top->get_book("setup");
    dialogs().answer_text("operator");
    dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& editor) {
        editor.parameter()->set_description("en_US", "Operator");
        click(editor.ui_ok_button);
    });
    panel->on_add_parameter(command);
    select_rows({0});
    panel->on_delete_parameter(command);
    EXPECT_EQ(rows(), (std::vector<std::pair<wxString, wxString>>{{"operator", "Operator"}}));
    EXPECT_EQ(setup->names(), (std::vector<std::string>{"operator"}));

    // Moving away and back shows the same as the grid kept by hand.
    select({"motor"});
    select({"setup"});
    EXPECT_EQ(rows(), (std::vector<std::pair<wxString, wxString>>{{"operator", "Operator"}}));
}
