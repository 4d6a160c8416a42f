// The editor worked with the keyboard alone: real key presses through the
// X server, no mouse event, from the tree to a saved value.
#include "tests/paratree/tree_panel_fixture.h"

#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"

#include <wx/toplevel.h>
#include <wx/uiaction.h>

using namespace std::chrono_literals;
using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::ParameterDirectory;

namespace {

// Without a window manager nothing gives a new window the keyboard, nor
// gives it back to a window when a dialog above it closes; this does what
// the window manager would.
void activate(wxTopLevelWindow& window)
{
    window.Raise();
    EXPECT_TRUE(wait_until([&] { return window.IsActive(); }, 5s)) << "no keyboard focus for the window";
}

// Counts the keys released in any window of the program.
class KeyReleases : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_KEY_UP)
            ++count;
        return Event_Skip;
    }
    int count = 0;
};
KeyReleases releases;

// One key pressed and released, and what it set off handled: the release
// comes through the X server after the press, however busy the machine.
void key(int code, int modifiers = wxMOD_NONE)
{
    const int before = releases.count;
    wxUIActionSimulator().Char(code, modifiers);
    wait_until([&] { return releases.count > before; }, 5s);
    flush_events();
}

// Presses `code` until `reached` holds, at most `times` times.
bool key_until(int code, const std::function<bool()>& reached, int times = 8, int modifiers = wxMOD_NONE)
{
    for (int i = 0; i < times && !reached(); ++i)
        key(code, modifiers);
    return reached();
}

wxString selected_key(wxGrid& grid)
{
    const wxArrayInt rows = grid.GetSelectedRows();
    return rows.size() == 1 ? grid.GetCellValue(rows[0], 0) : wxString(wxS("<none>"));
}

// 车间/ 电机/ (轴: 速度 10, 启用 true)  设置 (名称)
class KeyboardTest : public TreePanelTest {
protected:
    void SetUp() override
    {
        TreePanelTest::SetUp();
        wxEvtHandler::AddFilter(&releases);
        auto axis = make_book({{"速度", "转速"}, {"启用", "是否启用"}});
        axis->get("速度")->set("value", 10);
        axis->get("启用")->set("value", true);
        auto motor = std::make_shared<ParameterDirectory>();
        motor->set("轴", axis);
        auto top = std::make_shared<ParameterDirectory>();
        top->set("电机", motor);
        top->set("设置", make_book({{"名称", "名称"}}));
        top->save(folder());
        make_panel(wx_path(folder()), nullptr, Panel::Options::all());
        frame->SetSize(900, 600);
        activate(*frame);
        tree()->SetFocus();
    }
    void TearDown() override
    {
        wxEvtHandler::RemoveFilter(&releases);
        TreePanelTest::TearDown();
    }
    std::filesystem::path folder() const { return temp / "车间"; }
    wxString tree_selection() const { return tree()->GetItemText(tree()->GetSelection()); }
    bool focused(wxWindow* window) const
    {
        for (wxWindow* at = wxWindow::FindFocus(); at; at = at->GetParent())
            if (at == window)
                return true;
        return false;
    }
    // From the tree's top to the book 轴, its parameters shown.
    void go_to_axis()
    {
        key(WXK_HOME);
        ASSERT_TRUE(key_until(WXK_DOWN, [&] { return tree_selection() == wxString::FromUTF8("电机"); }));
        key(WXK_RIGHT);
        key(WXK_DOWN);
        ASSERT_EQ(tree_selection(), wxString::FromUTF8("轴"));
        ASSERT_EQ(grid()->GetNumberRows(), 2);
    }

    TempFolder temp;
};

}  // namespace

TEST_F(KeyboardTest, AWholeEditCycleNeedsNoMouse)
{
    ASSERT_NO_FATAL_FAILURE(go_to_axis());
    // Tab leaves the tree for its buttons and Shift+Tab comes back, the selection kept.
    key(WXK_TAB);
    EXPECT_TRUE(focused(panel->ui_add_directory_button));
    key(WXK_TAB, wxMOD_SHIFT);
    EXPECT_TRUE(focused(tree()));
    EXPECT_EQ(tree_selection(), wxString::FromUTF8("轴"));
    // Enter on a book goes to its parameters with a row selected; the arrows move it.
    key(WXK_RETURN);
    EXPECT_TRUE(focused(grid()));
    EXPECT_NE(selected_key(*grid()), wxS("<none>"));
    key(WXK_DOWN);
    key(WXK_UP);
    EXPECT_NE(selected_key(*grid()), wxS("<none>"));
    ASSERT_TRUE(key_until(WXK_DOWN, [&] { return selected_key(*grid()) == wxString::FromUTF8("速度"); }, 2) ||
                key_until(WXK_UP, [&] { return selected_key(*grid()) == wxString::FromUTF8("速度"); }, 2));
    EXPECT_TRUE(panel->ui_edit_parameter_button->IsEnabled());

    dialogs()
        .inside_as<ParameterEditorDialog>([&](ParameterEditorDialog& editor) {
            activate(editor);
            EXPECT_TRUE(focused(editor.ui_attributes));
            key(WXK_DOWN);  // against the last row: it stays selected
            EXPECT_EQ(selected_key(*editor.ui_attributes), wxS("value"));
            EXPECT_TRUE(editor.ui_edit_button->IsEnabled());
            key(WXK_F2);  // opens the value's editor, answered below
            activate(editor);
            EXPECT_EQ(editor.ui_attributes->GetCellValue(0, 1), wxS("20"));
            // Tab leaves the grid and reaches OK through the buttons.
            EXPECT_TRUE(key_until(WXK_TAB, [&] { return focused(editor.ui_ok_button); }));
            key(WXK_RETURN);
            wait_until([&] { return !editor.IsModal(); });
        })
        .inside_as<ParameterScalarAttributeEditorDialog>([&](ParameterScalarAttributeEditorDialog& value) {
            activate(value);
            EXPECT_TRUE(focused(value.ui_value_single_line));
            key('A', wxMOD_CONTROL);
            key('2');
            key('0');
            key(WXK_RETURN);
            wait_until([&] { return !value.IsModal(); });
        })
        .answer(wxID_OK);  // the notice that the tree was saved
    key(WXK_RETURN);  // the dialogs above run inside this key's handling
    activate(*frame);
    EXPECT_TRUE(panel->modified());
    key('S', wxMOD_CONTROL);
    EXPECT_FALSE(panel->modified());
    auto stored = ParameterDirectory::load(folder());
    EXPECT_EQ(stored->get_directory("电机")->get_book("轴")->get("速度")->get("value"), 20);
}

TEST_F(KeyboardTest, SpaceTurnsATruthValueOverAndEscapeTakesItBack)
{
    ASSERT_NO_FATAL_FAILURE(go_to_axis());
    key(WXK_RETURN);
    ASSERT_TRUE(key_until(WXK_DOWN, [&] { return selected_key(*grid()) == wxString::FromUTF8("启用"); }, 2) ||
                key_until(WXK_UP, [&] { return selected_key(*grid()) == wxString::FromUTF8("启用"); }, 2));
    wxString shown;
    dialogs().inside_as<ParameterEditorDialog>([&](ParameterEditorDialog& editor) {
        activate(editor);
        key(WXK_SPACE);
        shown = editor.ui_attributes->GetCellValue(0, 1);
        key(WXK_ESCAPE);
        wait_until([&] { return !editor.IsModal(); });
    });
    key(WXK_RETURN);
    ASSERT_EQ(dialogs().opened().size(), 1u);
    EXPECT_EQ(shown, wxS("False"));
    EXPECT_EQ(dialogs().last_opened().answer, wxID_CANCEL);
    EXPECT_EQ(panel->root->get_directory("电机")->get_book("轴")->get("启用")->get("value"), true);
    EXPECT_FALSE(panel->modified());
}

TEST_F(KeyboardTest, CtrlFGoesToTheSearchBoxAndF3ToTheNextMatch)
{
    key('F', wxMOD_CONTROL);
    wxSearchCtrl* box = nullptr;
    for (wxWindow* at = wxWindow::FindFocus(); at && !box; at = at->GetParent())
        box = dynamic_cast<wxSearchCtrl*>(at);
    ASSERT_TRUE(box) << "Ctrl+F left the keyboard elsewhere";
    panel->find(wxString::FromUTF8("名称"));
    ASSERT_FALSE(panel->find_matches().empty());
    tree()->SetFocus();
    key(WXK_F3);
    EXPECT_EQ(tree_selection(), wxString::FromUTF8("设置"));
    EXPECT_EQ(selected_key(*grid()), wxString::FromUTF8("名称"));
}

TEST_F(KeyboardTest, APathTypedIntoTheFolderChooserOpensIt)
{
    // The chooser starts in the tree's folder, where a typed path goes to its location field.
    const std::filesystem::path other = temp / "typed";
    std::filesystem::copy(folder(), other, std::filesystem::copy_options::recursive);
    dialogs().type_path(wx_path(other));
    panel->load();
    EXPECT_EQ(panel->root_path, wx_path(other));
    EXPECT_TRUE(dialogs().verify());
}
