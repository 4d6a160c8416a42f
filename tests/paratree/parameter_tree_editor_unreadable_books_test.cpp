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
        auto motor = std::make_shared<ParameterDirectory>();
        motor->set("轴", make_book({{"speed", "Speed"}}));
        auto top = std::make_shared<ParameterDirectory>();
        top->set("电机", motor);
        top->set("setup", make_book({{"name", "Name"}}));
        top->save(station());
        std::ofstream(broken(), std::ios::binary) << "{\"format\": \"ovk-parameter-book\",\n \"version\": 1,\n"
                                                     " \"parameters\": {},\n}\n";
        before = text_of(broken());
    }
    fs::path station() const { return temp / "工位"; }
    fs::path broken() const { return station() / "电机" / "坏的.pbook"; }
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
