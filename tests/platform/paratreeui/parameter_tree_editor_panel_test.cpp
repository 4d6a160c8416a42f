#include "platform/paratreeui/parameter_tree_editor_panel.h"

#include "wxtools/testing/ui.h"

#include <wx/frame.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace ovk_wxtest;

namespace {

// Records which handler each user action reached.
class RecordingPanel : public ovk_paratreeui::ParameterTreeEditorPanel {
public:
    using ovk_paratreeui::ParameterTreeEditorPanel::ParameterTreeEditorPanel;
    std::vector<std::string> calls;

    void on_load(wxCommandEvent&) override { calls.push_back("load"); }
    void on_save(wxCommandEvent&) override { calls.push_back("save"); }
    void on_save_to(wxCommandEvent&) override { calls.push_back("save_to"); }
    void on_tree_sel_changed(wxTreeEvent&) override { calls.push_back("tree_sel_changed"); }
    void on_select_parameter(wxGridRangeSelectEvent&) override
    {
        calls.push_back(ui_book->GetSelectedRows().empty() ? "select_parameter:none" : "select_parameter:some");
    }
    void on_add_directory(wxCommandEvent&) override { calls.push_back("add_directory"); }
    void on_add_book(wxCommandEvent&) override { calls.push_back("add_book"); }
    void on_delete_tree_item(wxCommandEvent&) override { calls.push_back("delete_tree_item"); }
    void on_copy_tree_item(wxCommandEvent&) override { calls.push_back("copy_tree_item"); }
    void on_add_parameter(wxCommandEvent&) override { calls.push_back("add_parameter"); }
    void on_edit_parameter(wxCommandEvent&) override { calls.push_back("edit_parameter"); }
    void on_delete_parameter(wxCommandEvent&) override { calls.push_back("delete_parameter"); }
    void on_copy_parameter(wxCommandEvent&) override { calls.push_back("copy_parameter"); }
};

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "host");
        panel = new RecordingPanel(frame);
        frame->Show();
        flush_events();
    }
    void TearDown() override
    {
        frame->Destroy();
        flush_events();
    }
    wxFrame* frame = nullptr;
    RecordingPanel* panel = nullptr;
};

}  // namespace

TEST_F(LayoutTest, EveryCommandButtonReachesItsOwnHandler)
{
    const std::vector<std::pair<wxButton*, std::string>> routes = {
        {panel->ui_load_button, "load"},
        {panel->ui_save_button, "save"},
        {panel->ui_save_to_button, "save_to"},
        {panel->ui_add_directory_button, "add_directory"},
        {panel->ui_add_book_button, "add_book"},
        {panel->ui_delete_tree_item_button, "delete_tree_item"},
        {panel->ui_copy_tree_item_button, "copy_tree_item"},
        {panel->ui_add_parameter_button, "add_parameter"},
        {panel->ui_edit_parameter_button, "edit_parameter"},
        {panel->ui_delete_parameter_button, "delete_parameter"},
        {panel->ui_copy_parameter_button, "copy_parameter"},
    };
    for (const auto& [button, handler] : routes) {
        panel->calls.clear();
        click(button);
        EXPECT_EQ(panel->calls, std::vector<std::string>{handler}) << button->GetLabel();
    }
    // Rename and view are only enabled and disabled with the others.
    panel->calls.clear();
    click(panel->ui_rename_parameter_button);
    click(panel->ui_view_parameter_button);
    EXPECT_TRUE(panel->calls.empty());
}

TEST_F(LayoutTest, ControlsHaveTheKindsTheEditorReliesOn)
{
    EXPECT_FALSE(panel->ui_tree->HasFlag(wxTR_HIDE_ROOT));
    EXPECT_FALSE(panel->ui_tree->HasFlag(wxTR_MULTIPLE));
    EXPECT_GE(panel->ui_book->GetNumberCols(), 2);
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(panel->ui_book->GetColLabelValue(0), "Name");
    EXPECT_EQ(panel->ui_book->GetColLabelValue(1), "Description");
    // Column 0 is read back as each parameter's key, so cells are not typed into.
    EXPECT_FALSE(panel->ui_book->IsEditable());
    EXPECT_FALSE(panel->ui_tree_path->IsEditable());
    EXPECT_FALSE(panel->ui_tree_path->IsMultiLine());
    // Nothing is selected yet, so there is nothing for the parameter commands to act on.
    for (wxButton* b : {panel->ui_add_parameter_button, panel->ui_edit_parameter_button,
                        panel->ui_delete_parameter_button, panel->ui_rename_parameter_button,
                        panel->ui_view_parameter_button, panel->ui_copy_parameter_button})
        EXPECT_FALSE(b->IsEnabled()) << b->GetLabel();
    for (wxButton* b : {panel->ui_load_button, panel->ui_save_button, panel->ui_save_to_button,
                        panel->ui_add_directory_button, panel->ui_add_book_button,
                        panel->ui_delete_tree_item_button, panel->ui_copy_tree_item_button})
        EXPECT_TRUE(b->IsEnabled()) << b->GetLabel();
}

TEST_F(LayoutTest, TreeSelectionReachesItsHandler)
{
    const wxTreeItemId root = panel->ui_tree->AddRoot("top");
    const wxTreeItemId child = panel->ui_tree->AppendItem(root, "child");
    panel->calls.clear();
    panel->ui_tree->SelectItem(child);
    EXPECT_EQ(panel->calls, std::vector<std::string>{"tree_sel_changed"});
}

TEST_F(LayoutTest, GridRowSelectionAndItsRemovalReachTheHandler)
{
    panel->ui_book->SetSelectionMode(wxGrid::wxGridSelectRows);
    panel->ui_book->AppendRows(3);
    panel->calls.clear();
    panel->ui_book->SelectRow(1);
    ASSERT_FALSE(panel->calls.empty());
    EXPECT_EQ(panel->calls.back(), "select_parameter:some");
    panel->calls.clear();
    panel->ui_book->ClearSelection();
    ASSERT_FALSE(panel->calls.empty());
    EXPECT_EQ(panel->calls.back(), "select_parameter:none");
}

TEST_F(LayoutTest, OpensAtAComfortableSizeWithTheTreeLeftOfTheGrid)
{
    const wxSize best = panel->GetBestSize();
    EXPECT_GE(best.GetWidth(), 700);
    EXPECT_GE(best.GetHeight(), 400);
    EXPECT_LE(best.GetWidth(), 1200);
    EXPECT_LE(best.GetHeight(), 900);
    frame->SetClientSize(best);
    frame->Layout();
    flush_events();
    const wxPoint tree_at = panel->ui_tree->GetScreenPosition();
    const wxPoint grid_at = panel->ui_book->GetScreenPosition();
    EXPECT_LT(tree_at.x + panel->ui_tree->GetSize().GetWidth(), grid_at.x);
    EXPECT_LT(panel->ui_tree_path->GetScreenPosition().y, tree_at.y);
    // The description column takes up the grid's free width.
    EXPECT_GT(panel->ui_book->GetColSize(1), panel->ui_book->GetColSize(0));
}
