// What the tree editor panel's options add, driven through the real panel on
// trees stored in temporary folders, and the plain panel when they are off.
#include "tests/paratree/tree_panel_fixture.h"

#include "wxtools/paratree/para_tree_copy_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_tree_dialog.h"
#include "wxtools/paratree/value_display_text.h"

#include <fstream>
#include <functional>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
namespace fs = std::filesystem;

namespace {

wxCommandEvent command;

wxString u8(const char* text) { return wxString::FromUTF8(text); }

// station/  motor/ (axis: speed, torque)  setup (name)
class OptionsTest : public TreePanelTest {
protected:
    void SetUp() override
    {
        TreePanelTest::SetUp();
        write_station();
        fs::create_directories(temp / "other");
    }

    void write_station()
    {
        auto motor = std::make_shared<ParameterDirectory>();
        motor->set("axis", make_book({{"speed", "Speed"}, {"torque", "Torque"}}));
        auto top = std::make_shared<ParameterDirectory>();
        top->set("motor", motor);
        top->set("setup", make_book({{"name", "Station name"}}));
        top->get_book("setup")->get("name")->set_description("zh_CN", "站点名称");
        top->save(station());
    }

    fs::path station() const { return temp / "station"; }
    void open(Panel::Options options = Panel::Options::all()) { make_panel(wx_path(station()), nullptr, options); }

    // An unsaved change made through the panel: a new directory "extra".
    void add_extra()
    {
        select({});
        dialogs().answer_text(wxS("extra"));
        panel->on_add_directory(command);
        ASSERT_TRUE(panel->modified());
    }
    bool extra_on_disk() const { return fs::is_directory(station() / "extra"); }

    TempFolder temp;
};

}  // namespace

TEST_F(OptionsTest, DefaultsKeepThePlainPanel)
{
    open({});
    EXPECT_EQ(grid()->GetNumberCols(), 2);
    EXPECT_FALSE(tree()->IsExpanded(tree()->GetRootItem()));
    select({"motor", "axis"});
    select_rows({0});
    // Rename... and View... stay without an action; nothing asks about the unsaved change.
    click(panel->ui_rename_parameter_button);
    click(panel->ui_view_parameter_button);
    add_extra();
    EXPECT_FALSE(tree()->IsBold(item({"extra"})));
    EXPECT_EQ(frame->GetTitle(), wxS("host"));
    dialogs().answer_path(wx_path(temp / "other"));
    panel->on_load(command);
    EXPECT_EQ(dialogs().shown().size(), 2u);  // the name of the new directory, then the chooser
    EXPECT_EQ(dialogs().last().kind, DialogKind::DirChooser);
}

TEST_F(OptionsTest, FolderChooserStartsAtTheTreeFolderWhenAsked)
{
    // Off, the chooser is given no folder, as ever; on, the tree's folder,
    // else home. The folder chosen opens either way.
    struct Case {
        bool on;
        bool tree;
        wxString start;
    };
    const Case cases[] = {{false, true, {}}, {true, true, wx_path(station())}, {true, false, wxGetHomeDir()}};
    const fs::path chosen = temp / "别处";
    write_station();
    fs::rename(station(), chosen);
    write_station();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.on << c.tree);
        dialogs().reset();
        make_panel(c.tree ? wx_path(station()) : wxString(), nullptr, {.chooser_at_tree_folder = c.on});
        dialogs().answer_path(wx_path(chosen));
        panel->load();
        EXPECT_EQ(dialogs().last().kind, DialogKind::DirChooser);
        EXPECT_EQ(dialogs().last().value, c.start);
        EXPECT_EQ(panel->root_path, wx_path(chosen));
        EXPECT_TRUE(item({"motor", "axis"}).IsOk());
        panel->Destroy();
        flush_events();
    }
}

TEST_F(OptionsTest, ValueColumnShowsTheMainValueAsTheFileWritesIt)
{
    struct Case {
        std::function<void(Parameter&)> fill;
        wxString text;
    };
    const std::vector<Case> cases = {
        {[](Parameter& p) { p.set("value", 5); p.set("max", 9); }, wxS("5")},
        {[](Parameter& p) { p.set("value", "快速"); }, u8("快速")},
        {[](Parameter& p) { p.set("value", false); }, wxS("false")},
        {[](Parameter& p) { p.set("value", nullptr); }, wxS("null")},
        {[](Parameter& p) { p.set("value", ovk_paratree::Value::parse(R"({"a":[1,"轴"],"b":2.0})")); },
         u8(R"({"a":[1,"轴"],"b":2.0})")},
        {[](Parameter& p) { p.set("min", 1); p.set("unit", "mm"); p.set("on", true); }, wxS("min=1, unit=mm, on=true")},
        {[](Parameter&) {}, wxString()},
        {[](Parameter& p) { p.set("list", std::vector<int>(60, 7)); }, wxString()},  // checked below
    };
    auto book = std::make_shared<ParameterBook>();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        auto parameter = std::make_shared<Parameter>();
        cases[i].fill(*parameter);
        book->set("p" + std::to_string(i), parameter);
    }
    auto top = std::make_shared<ParameterDirectory>();
    top->set("values", book);
    make_panel(wxS("/data/values"), top, {.value_column = true});
    select({"values"});
    ASSERT_EQ(grid()->GetNumberCols(), 3);
    const int last = static_cast<int>(cases.size()) - 1;
    for (int i = 0; i < last; ++i)
        EXPECT_EQ(grid()->GetCellValue(i, Panel::_ValueColumn), cases[i].text) << i;
    // A long summary is cut, marked with an ellipsis.
    const wxString cut = grid()->GetCellValue(last, Panel::_ValueColumn);
    EXPECT_EQ(cut.length(), kParameterValueTextMax);
    EXPECT_TRUE(cut.StartsWith(wxS("list=[7,7,")));
    EXPECT_TRUE(cut.EndsWith(wxString(L"\u2026")));

    // The column grows with the window up to half the free width, and the
    // cut value shows whole in the tooltip of its cell.
    frame->SetSize(700, 500);
    flush_events();
    const int narrow = grid()->GetColSize(Panel::_ValueColumn);
    frame->SetSize(1200, 500);
    flush_events();
    const int wide = grid()->GetColSize(Panel::_ValueColumn);
    EXPECT_GT(wide, narrow);
    const int free = grid()->GetClientSize().GetWidth() - grid()->GetColSize(0);
    EXPECT_LE(wide, free / 2);
    const wxRect cell = grid()->CellToRect(last, Panel::_ValueColumn);
    wxMouseEvent move(wxEVT_MOTION);
    move.SetPosition(grid()->CalcScrolledPosition(cell.GetPosition()) + wxPoint(3, 3));
    grid()->GetGridWindow()->ProcessWindowEvent(move);
    const wxString tip = grid()->GetGridWindow()->GetToolTipText();
    EXPECT_TRUE(tip.StartsWith(wxS("list=[7,7,")));
    EXPECT_EQ(tip.length(), wxString(wxS("list=[]")).length() + 60 * 2 - 1);
}

// Each way of dropping the tree, with each answer to Save / Discard / Cancel.
TEST_F(OptionsTest, UnsavedChangesGuardAsksOnEveryPath)
{
    enum class Path { Load, Reload, Close };
    for (const Path path : {Path::Load, Path::Reload, Path::Close}) {
        for (const int answer : {wxID_YES, wxID_NO, wxID_CANCEL}) {
            SCOPED_TRACE(testing::Message() << "path " << static_cast<int>(path) << " answer " << answer);
            fs::remove_all(station() / "extra");
            dialogs().reset();
            std::unique_ptr<ParameterTreeDialog> dialog;
            if (path == Path::Close) {
                dialog = std::make_unique<ParameterTreeDialog>(frame, wx_path(station()), Panel::Options::all());
                panel = dialog->panel();
            } else {
                open();
            }
            add_extra();
            EXPECT_TRUE(dialog ? dialog->GetTitle().StartsWith(wxS("* ")) : frame->GetTitle().StartsWith(wxS("* ")));
            // The question, then with Save the save notice.
            const auto answer_guard = [answer] {
                dialogs().answer(answer);
                if (answer == wxID_YES)
                    dialogs().answer(wxID_OK);
            };
            bool went_on = false;
            if (path == Path::Load) {
                answer_guard();
                if (answer != wxID_CANCEL)
                    dialogs().answer_path(wx_path(temp / "other"));
                panel->on_load(command);
                went_on = panel->root_path == wx_path(temp / "other");
            } else if (path == Path::Reload) {
                // The copy dialog writes into the tree's folder; its reload offer is taken.
                dialogs().inside([&](wxDialog& d) {
                    std::ofstream(station() / "notes.txt") << "copied";
                    d.EndModal(wxID_CANCEL);
                });
                dialogs().answer(wxID_YES);
                answer_guard();
                select({"setup"});
                const auto before = panel->root;
                panel->on_copy_tree_item(command);
                went_on = panel->root != before;
            } else {
                answer_guard();
                went_on = dialog->Close();
            }
            EXPECT_EQ(dialogs().pending(), 0u);
            EXPECT_EQ(dialogs().shown()[1].kind, DialogKind::Message);
            EXPECT_EQ(went_on, answer != wxID_CANCEL);
            EXPECT_EQ(extra_on_disk(), answer == wxID_YES);
            if (answer == wxID_CANCEL) {
                EXPECT_TRUE(panel->modified());
            }
            if (dialog)
                dialog.reset();
            else
                panel->Destroy();
            flush_events();
        }
    }
}

TEST_F(OptionsTest, SaveAsksAboutABookChangedHereAndOnDisk)
{
    for (const int answer : {wxID_NO, wxID_YES}) {
        SCOPED_TRACE(answer);
        dialogs().reset();
        open();
        panel->root->get_book("setup")->get("name")->set("value", 7);
        // Someone else changes the same book after the load.
        auto theirs = ParameterDirectory::load(station());
        theirs->get_book("setup")->get("name")->set("value", 42);
        theirs->save(station());

        dialogs().answer(answer).answer(wxID_OK);  // Use mine / Keep theirs, then the success notice
        panel->on_save(command);
        EXPECT_NE(dialogs().shown().front().message.find(wxS("`setup.pbook`")), wxString::npos);
        const auto stored = ParameterDirectory::load(station());
        EXPECT_EQ(stored->get_book("setup")->get("name")->get("value"), answer == wxID_NO ? 7 : 42);
        panel->Destroy();
        flush_events();
    }
}

TEST_F(OptionsTest, RenamedItemsReadBackAfterSaveAndReload)
{
    enum class Kind { Directory, Book, Parameter };
    struct Case {
        Kind kind;
        const char* new_name;
        std::string motor, axis;
        std::vector<std::string> root_names, axis_names;
    };
    const std::vector<Case> cases = {
        {Kind::Directory, "电机", "电机", "axis", {"setup", "电机"}, {"speed", "torque"}},
        {Kind::Book, "spindle", "motor", "spindle", {"motor", "setup"}, {"speed", "torque"}},
        {Kind::Parameter, "速度", "motor", "axis", {"motor", "setup"}, {"torque", "速度"}},
    };
    for (const Case& c : cases) {
        dialogs().reset();
        fs::remove_all(station());
        write_station();
        open();
        dialogs().answer_text(u8(c.new_name));
        if (c.kind == Kind::Directory) {
            select({"motor"});
            // F2 on the tree item.
            wxTreeEvent f2(wxEVT_TREE_KEY_DOWN, tree());
            wxKeyEvent key(wxEVT_KEY_DOWN);
            key.m_keyCode = WXK_F2;
            f2.SetKeyEvent(key);
            tree()->ProcessWindowEvent(f2);
        } else if (c.kind == Kind::Book) {
            select({"motor", "axis"});
            panel->rename_tree_item();
        } else {
            select({"motor", "axis"});
            select_rows({0});
            click(panel->ui_rename_parameter_button);
        }
        EXPECT_EQ(dialogs().last().caption, wxS("Rename"));
        dialogs().answer(wxID_OK);
        panel->on_save(command);
        const auto stored = ParameterDirectory::load(station());
        auto sorted = [](std::vector<std::string> v) { std::sort(v.begin(), v.end()); return v; };
        EXPECT_EQ(sorted(stored->names()), c.root_names);
        const auto motor = stored->get_directory(c.motor);
        ASSERT_TRUE(motor);
        EXPECT_EQ(motor->names(), std::vector<std::string>{c.axis});
        EXPECT_EQ(sorted(motor->get_book(c.axis)->names()), c.axis_names);
        panel->Destroy();
        flush_events();
    }
}

TEST_F(OptionsTest, RenameRefusesATakenName)
{
    open();
    select({"motor"});
    dialogs().answer_text(wxS("setup")).answer(wxID_OK);
    panel->rename_tree_item();
    EXPECT_EQ(dialogs().last().message, wxS("Directory name `setup` already exists.\nPlease choose another one."));
    EXPECT_EQ(names_of(*panel->root), (std::vector<std::string>{"motor", "setup"}));
}

TEST_F(OptionsTest, FindHitsChineseDescriptionsAndCaseFoldedNames)
{
    open();
    panel->find(u8("名称"));
    ASSERT_EQ(panel->find_matches().size(), 1u);
    EXPECT_TRUE(panel->find_next());
    EXPECT_EQ(tree()->GetItemText(tree()->GetSelection()), wxS("setup"));
    EXPECT_EQ(grid()->GetSelectedRows().size(), 1u);

    panel->find(wxS("SPEED"));
    ASSERT_EQ(panel->find_matches().size(), 1u);
    EXPECT_EQ(panel->find_matches()[0].parameter, wxS("speed"));
    panel->find(wxS("o"));  // motor, torque, Station name
    EXPECT_EQ(panel->find_matches().size(), 3u);
    panel->find(wxString());
    EXPECT_FALSE(panel->find_next());
}

TEST_F(OptionsTest, KeysAndDoubleClick)
{
    open();
    EXPECT_TRUE(tree()->IsExpanded(tree()->GetRootItem()));
    select({"motor", "axis"});
    // Double-click opens the editor on the row.
    bool edited = false;
    dialogs().inside_as<ParameterEditorDialog>([&](ParameterEditorDialog& d) {
        edited = d.ui_name->GetValue() == wxS("torque");
        d.EndModal(wxID_OK);
    });
    wxGridEvent dclick(grid()->GetId(), wxEVT_GRID_CELL_LEFT_DCLICK, grid(), 1, 0);
    grid()->ProcessWindowEvent(dclick);
    EXPECT_TRUE(edited);
    // Delete asks first.
    for (const int answer : {wxID_NO, wxID_YES}) {
        select_rows({0});
        dialogs().answer(answer);
        wxKeyEvent del(wxEVT_KEY_DOWN);
        del.m_keyCode = WXK_DELETE;
        grid()->ProcessWindowEvent(del);
        EXPECT_EQ(grid()->GetNumberRows(), answer == wxID_NO ? 2 : 1);
    }
    // Ctrl+S saves.
    dialogs().answer(wxID_OK);
    wxKeyEvent save(wxEVT_CHAR_HOOK);
    save.m_keyCode = 'S';
    save.m_controlDown = true;
    panel->ProcessWindowEvent(save);
    EXPECT_EQ(ParameterDirectory::load(station())->get_directory("motor")->get_book("axis")->size(), 1u);
    EXPECT_FALSE(panel->modified());
}

TEST_F(OptionsTest, CancelRestoresTheParameterOnlyWhenAsked)
{
    for (const bool restore : {false, true}) {
        make_panel(wx_path(station()), nullptr, {.cancel_restores = restore});
        select({"setup"});
        select_rows({0});
        dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& d) {
            d.parameter()->set("value", 99);
            d.parameter()->set_description("zh_CN", "改了");
            d.EndModal(wxID_CANCEL);
        });
        panel->on_edit_parameter(command);
        const auto name = panel->root->get_book("setup")->get("name");
        EXPECT_EQ(name->get("value") == 1, restore);
        EXPECT_EQ(name->get_description("zh_CN") == "站点名称", restore);
        panel->Destroy();
        flush_events();
    }
}

TEST_F(OptionsTest, ViewShowsTheParameterReadOnly)
{
    open();
    select({"setup"});
    select_rows({0});
    dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& d) {
        d.ui_attributes->SelectRow(0);
        EXPECT_FALSE(d.ui_add_button->IsEnabled());
        EXPECT_FALSE(d.ui_edit_button->IsEnabled());
        EXPECT_FALSE(d.ui_delete_button->IsEnabled());
        EXPECT_FALSE(d.ui_descriptions_button->IsEnabled());
        d.EndModal(wxID_CANCEL);
    });
    click(panel->ui_view_parameter_button);
    EXPECT_EQ(dialogs().pending(), 0u);
}

TEST_F(OptionsTest, DescriptionLocaleChoosesTheTextsShown)
{
    make_panel(wx_path(station()), nullptr, {.description_locale = "zh_CN"});
    select({"setup"});
    EXPECT_EQ(rows()[0].second, u8("站点名称"));
    select({"motor", "axis"});
    EXPECT_EQ(rows()[0].second, wxS("Speed"));  // no Chinese text: the English one
    panel->set_description_locale("en_US");
    EXPECT_EQ(panel->description_locales(), (std::vector<std::string>{"en_US", "zh_CN"}));
    select({"setup"});
    EXPECT_EQ(rows()[0].second, wxS("Station name"));
}

TEST_F(OptionsTest, ModifiedStateShowsInBoldInTheTitleAndAsAnEvent)
{
    open();
    std::vector<int> reported;
    panel->Bind(EVT_PARAMETER_TREE_MODIFIED, [&](wxCommandEvent& e) { reported.push_back(e.GetInt()); });
    select({"motor", "axis"});
    select_rows({1});
    dialogs().answer(wxID_YES);
    panel->on_delete_parameter(command);
    EXPECT_TRUE(tree()->IsBold(item({"motor", "axis"})));
    EXPECT_TRUE(tree()->IsBold(item({"motor"})));
    EXPECT_FALSE(tree()->IsBold(item({"setup"})));
    EXPECT_EQ(frame->GetTitle(), wxS("* host"));

    dialogs().answer(wxID_OK);
    panel->on_save(command);
    EXPECT_FALSE(tree()->IsBold(item({"motor", "axis"})));
    EXPECT_EQ(frame->GetTitle(), wxS("host"));
    EXPECT_EQ(reported, (std::vector<int>{1, 0}));
}
