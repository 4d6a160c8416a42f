// The editor for a whole working day on a tree that others change too: only
// real edits mark it changed, and a save keeps other people's work.
#include "tests/paratree/tree_panel_fixture.h"

#include "wxtools/paratree/parameter_editor_dialog.h"

#include <fstream>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::ParameterDirectory;
namespace fs = std::filesystem;

namespace {

wxCommandEvent command;

// station/  motor/ (axis: speed, torque)  setup (name)
class WorkdayTest : public TreePanelTest {
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
        motor->set("axis", make_book({{"speed", "Speed"}, {"torque", "Torque"}}));
        auto top = std::make_shared<ParameterDirectory>();
        top->set("motor", motor);
        top->set("setup", make_book({{"name", wxString(L"站点名称").utf8_string()}}));
        top->save(station());
    }
    fs::path station() const { return temp / "station"; }
    void open(Panel::Options options = Panel::Options::all()) { make_panel(wx_path(station()), nullptr, options); }

    // Another program changes one value of a book on disk.
    void change_on_disk(const char* directory, const char* book, const char* parameter, int value)
    {
        auto theirs = ParameterDirectory::load(station());
        auto holder = directory ? theirs->get_directory(directory) : theirs;
        holder->get_book(book)->get(parameter)->set("value", value);
        theirs->save(station());
    }
    static ovk_paratree::Value value_of(const ParameterDirectory& tree, const char* book, const char* parameter)
    {
        return tree.get_book(book)->get(parameter)->get("value");
    }
    ovk_paratree::Value stored(const char* book, const char* parameter) const
    {
        return value_of(*ParameterDirectory::load(station()), book, parameter);
    }

    TempFolder temp;
};

}  // namespace

TEST_F(WorkdayTest, OnlyRealEditsMarkTheTreeChanged)
{
    for (const Panel::Options& options : {Panel::Options{}, Panel::Options::all()}) {
        open(options);
        select({"setup"});
        select_rows({0});
        // Opened and cancelled; changed and changed back, then OK.
        dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& d) { d.EndModal(wxID_CANCEL); });
        panel->on_edit_parameter(command);
        EXPECT_FALSE(panel->modified());
        dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& d) {
            d.parameter()->set("value", 5);
            d.parameter()->set("value", 1);
            d.EndModal(wxID_OK);
        });
        panel->on_edit_parameter(command);
        EXPECT_FALSE(panel->modified());
        EXPECT_FALSE(frame->GetTitle().StartsWith(wxS("*")));
        // A real edit still counts.
        dialogs().inside_as<ParameterEditorDialog>([](ParameterEditorDialog& d) {
            d.parameter()->set("value", 5);
            d.EndModal(wxID_OK);
        });
        panel->on_edit_parameter(command);
        EXPECT_TRUE(panel->modified());
        panel->Destroy();
        flush_events();
    }
}

TEST_F(WorkdayTest, SaveWritesWhatChangedHereAndTakesWhatChangedOnlyOnDisk)
{
    for (const Panel::Options& options : {Panel::Options{}, Panel::Options::all()}) {
        dialogs().reset();
        change_on_disk(nullptr, "setup", "name", 1);
        open(options);
        panel->root->get_book("setup")->get("name")->set("value", 7);
        // Someone else changes a book this editor never touched.
        change_on_disk("motor", "axis", "speed", 42);
        const auto axis_file = station() / "motor" / "axis.pbook";
        const auto written_at = fs::last_write_time(axis_file);

        dialogs().answer(wxID_OK);  // the success notice, which names the book taken
        EXPECT_TRUE(panel->save());
        EXPECT_NE(dialogs().last().message.find(wxS("motor/axis.pbook")), wxString::npos);
        EXPECT_EQ(dialogs().shown().size(), 1u);
        EXPECT_EQ(stored("setup", "name"), 7);
        EXPECT_EQ(value_of(*ParameterDirectory::load(station())->get_directory("motor"), "axis", "speed"), 42);
        EXPECT_EQ(fs::last_write_time(axis_file), written_at);  // never written back
        EXPECT_EQ(value_of(*panel->root->get_directory("motor"), "axis", "speed"), 42);
        EXPECT_FALSE(panel->modified());
        panel->Destroy();
        flush_events();
    }
}

TEST_F(WorkdayTest, ABookChangedOnBothSidesIsAskedAboutWithTheirsAsTheDefault)
{
    struct Case {
        int answer;
        bool delete_here, delete_there;
        int on_disk;  // -1: no book
        bool saved;
    };
    const Case cases[] = {
        {wxID_YES, false, false, 42, true},  {wxID_NO, false, false, 7, true},
        {wxID_CANCEL, false, false, 42, false}, {wxID_YES, true, false, 42, true},
        {wxID_NO, true, false, -1, true},    {wxID_YES, false, true, -1, true},
        {wxID_NO, false, true, 7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << c.delete_here << c.delete_there);
        dialogs().reset();
        write_station();
        open();
        if (c.delete_here)
            panel->root->remove("setup");
        else
            panel->root->get_book("setup")->get("name")->set("value", 7);
        if (c.delete_there)
            fs::remove(station() / "setup.pbook");
        else
            change_on_disk(nullptr, "setup", "name", 42);

        dialogs().answer(c.answer);
        if (c.saved)
            dialogs().answer(wxID_OK);
        EXPECT_EQ(panel->save(), c.saved);
        const wxString question = dialogs().shown().front().message;
        EXPECT_NE(question.find(wxS("`setup.pbook`")), wxString::npos);
        if (!c.delete_here && !c.delete_there) {
            EXPECT_NE(question.find(wxS("name.value: here 7, on disk 42")), wxString::npos) << question;
        }
        const auto tree = ParameterDirectory::load(station());
        if (c.on_disk < 0)
            EXPECT_FALSE(tree->contains("setup"));
        else
            EXPECT_EQ(value_of(*tree, "setup", "name"), c.on_disk);
        panel->Destroy();
        flush_events();
    }
}

TEST_F(WorkdayTest, SkippedFilesAreToldCountsFollowEveryEditAndSaveCanReportByEvent)
{
    std::ofstream(station() / "bad*name.pbook") << "\n";
    dialogs().answer(wxID_OK);
    open(Panel::Options{.save_notice_as_event = true});
    EXPECT_NE(dialogs().last().message.find(wxS("bad*name.pbook")), wxString::npos);

    int edits = 0;
    wxString saved;
    panel->Bind(EVT_PARAMETER_TREE_EDITED, [&](wxCommandEvent&) { ++edits; });
    panel->Bind(EVT_PARAMETER_TREE_SAVED, [&](wxCommandEvent& event) { saved = event.GetString(); });
    select({});
    dialogs().answer_text(wxS("extra"));
    panel->on_add_book(command);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(panel->counts().books, 3u);
    EXPECT_TRUE(panel->save());  // no notice box: the script would fail on one
    EXPECT_TRUE(saved.StartsWith(wxS("Save parameter to ")));
}
