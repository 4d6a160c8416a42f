// A book that cannot be read never blocks the editor (with the option): it
// shows marked with its error, cannot be changed here, and saves keep it.
#include "tests/paratree/tree_panel_fixture.h"

#include <fstream>
#include <iterator>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::ParameterDirectory;
namespace fs = std::filesystem;

namespace {

wxCommandEvent command;

// 工位/  电机/ (轴: speed; 坏的: a trailing comma)  setup (name)
class UnreadableBookTest : public TreePanelTest {
protected:
    void SetUp() override
    {
        TreePanelTest::SetUp();
        write_station();
    }
    void write_station()
    {
        fs::remove_all(station());
        auto motor = std::make_shared<ParameterDirectory>();
        motor->set("轴", make_book({{"speed", "Speed"}}));
        auto top = std::make_shared<ParameterDirectory>();
        top->set("电机", motor);
        top->set("setup", make_book({{"name", "Name"}}));
        top->save(station());
        break_book(broken());
        before = text_of(broken());
    }
    fs::path station() const { return temp / "工位"; }
    fs::path broken() const { return station() / "电机" / "坏的.pbook"; }
    // A trailing comma: valid up to its last line.
    static void break_book(const fs::path& file)
    {
        std::ofstream(file, std::ios::binary) << "{\"format\": \"ovk-parameter-book\",\n \"version\": 1,\n"
                                                 " \"parameters\": {},\n}\n";
    }
    static std::string text_of(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    TempFolder temp;
    std::string before;
};

}  // namespace

TEST_F(UnreadableBookTest, TheDefaultEditorStillRefusesTheTree)
{
    EXPECT_THROW(make_panel(wx_path(station())), ovk_paratree::ParaTreeError);
}

TEST_F(UnreadableBookTest, ABrokenBookIsShownWithItsErrorCannotBeChangedAndSavesKeepIt)
{
    dialogs().answer(wxID_OK);  // the notice listing it
    make_panel(wx_path(station()), nullptr, Panel::Options::all());
    EXPECT_NE(dialogs().last().message.find(wxS("电机/坏的.pbook: ")), wxString::npos) << dialogs().last().message;
    EXPECT_NE(dialogs().last().message.find(wxS("line 4, column 1")), wxString::npos);
    EXPECT_EQ(panel->counts().books, 2u);
    EXPECT_EQ(panel->counts().unreadable_books, 1u);

    const wxTreeItemId bad = item({"电机", "坏的"});
    ASSERT_TRUE(bad.IsOk());
    EXPECT_NE(tree()->GetItemImage(bad), Panel::_ImageBook);
    EXPECT_EQ(tree()->GetItemTextColour(bad), *wxRED);
    wxTreeEvent tip(wxEVT_TREE_ITEM_GETTOOLTIP, tree(), bad);
    tree()->GetEventHandler()->ProcessEvent(tip);
    EXPECT_NE(tip.GetLabel().find(wxS("not valid JSON")), wxString::npos) << tip.GetLabel();

    // Selected it shows no parameters and takes none; it is neither deleted
    // nor renamed, and no new book takes its name.
    tree()->SelectItem(bad);
    EXPECT_EQ(grid()->GetNumberRows(), 0);
    EXPECT_FALSE(panel->ui_add_parameter_button->IsEnabled());
    dialogs().answer(wxID_OK);
    panel->on_delete_tree_item(command);
    EXPECT_NE(dialogs().last().message.find(wxS("could not be read")), wxString::npos);
    dialogs().answer(wxID_OK);
    panel->rename_tree_item();
    EXPECT_TRUE(item({"电机", "坏的"}).IsOk());
    select({"电机"});
    dialogs().answer_text(wxS("坏的")).answer(wxID_OK);
    panel->on_add_book(command);
    EXPECT_FALSE(panel->root->get_directory("电机")->contains("坏的"));

    // An edit saved (through the merge with the disk), then the whole
    // directory deleted and saved: the broken file stays as it was.
    panel->root->get_book("setup")->get("name")->set("value", 2);
    dialogs().answer(wxID_OK);
    EXPECT_TRUE(panel->save());
    select({"电机"});
    dialogs().answer(wxID_YES).answer(wxID_OK);
    panel->on_delete_tree_item(command);
    EXPECT_TRUE(panel->save());
    EXPECT_EQ(text_of(broken()), before);
    EXPECT_FALSE(fs::exists(station() / "电机" / "轴.pbook"));

    // Someone breaks another book on disk meanwhile: the next save takes that
    // in, marks it, and keeps its file too.
    std::ofstream(station() / "setup.pbook", std::ios::binary) << "{";
    panel->root->set("新", make_book({{"p", "P"}}));
    dialogs().answer(wxID_OK);
    EXPECT_TRUE(panel->save());
    EXPECT_EQ(text_of(station() / "setup.pbook"), "{");
    EXPECT_TRUE(item({"setup"}).IsOk());
    EXPECT_EQ(panel->counts().unreadable_books, 2u);
    EXPECT_TRUE(dialogs().verify());
}

TEST_F(UnreadableBookTest, ABookBrokenOnDiskWhileOpenIsToldAsUnreadableAndItsFileKept)
{
    // Someone writes a trailing comma into `setup` while the editor holds it.
    struct Case {
        bool tolerant;
        bool changed_here;
        int answer;  // to the question about it; wxID_NONE: no question
        bool saved;
    };
    const Case cases[] = {
        {true, true, wxID_YES, true},      // Keep theirs: the file as it is, marked here
        {true, true, wxID_NO, false},      // Use mine: nothing saved, mine stays here
        {true, true, wxID_CANCEL, false},  //
        {true, false, wxID_NONE, true},    // taken in, and the save notice says why
        {false, true, wxID_NONE, false},   // the default editor: an error, nothing saved
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tolerant << c.changed_here << c.answer);
        dialogs().reset();
        write_station();
        if (c.tolerant)
            dialogs().answer(wxID_OK);  // the notice listing 坏的
        else
            fs::remove(broken());
        make_panel(wx_path(station()), nullptr, c.tolerant ? Panel::Options::all() : Panel::Options{});
        if (c.changed_here)
            panel->root->get_book("setup")->get("name")->set("value", 7);
        break_book(station() / "setup.pbook");
        const std::string theirs = text_of(station() / "setup.pbook");
        dialogs().answer(c.answer == wxID_NONE ? wxID_OK : c.answer);
        if (c.answer != wxID_NONE && c.answer != wxID_CANCEL)
            dialogs().answer(wxID_OK);  // the save notice, or why nothing was saved

        EXPECT_EQ(panel->save(), c.saved);
        EXPECT_EQ(dialogs().pending(), 0u);
        const wxString told = dialogs().shown()[c.tolerant ? 1 : 0].message;
        EXPECT_NE(told.find(wxS("setup.pbook")), wxString::npos) << told;
        EXPECT_NE(told.find(c.tolerant ? wxS("cannot be read: ") : wxS("not valid JSON")), wxString::npos) << told;
        EXPECT_NE(told.find(wxS("line 4")), wxString::npos) << told;
        EXPECT_EQ(told.find(wxS("deleted")), wxString::npos) << told;
        EXPECT_EQ(told.find(wxS("no parameter")), wxString::npos) << told;
        EXPECT_EQ(text_of(station() / "setup.pbook"), theirs);
        EXPECT_EQ(panel->root->contains("setup"), !c.saved);
        EXPECT_EQ(panel->modified(), c.changed_here && !c.saved);
        panel->Destroy();
        flush_events();
    }
}
