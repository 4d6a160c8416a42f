#include "wxtools/paratree/parameter_tree_dialog.h"

#include "platform/paratree/paratree.h"
#include "wxtools/testing/ui.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "ovk-dialog-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The dialog keeps no pointer to its panel; it is its only child.
ParameterTreeEditorPanel* panel_of(wxDialog& dialog)
{
    ParameterTreeEditorPanel* found = nullptr;
    int count = 0;
    for (wxWindow* child : dialog.GetChildren())
        if (auto* panel = dynamic_cast<ParameterTreeEditorPanel*>(child)) {
            found = panel;
            ++count;
        }
    EXPECT_EQ(count, 1);
    return found;
}

}  // namespace

TEST(ParameterTreeDialog, EmptyPathOpensAnEmptyEditor)
{
    ParameterTreeDialog dialog(nullptr);
    EXPECT_EQ(dialog.GetTitle(), "Parameter Tree Editor");
    EXPECT_FALSE(dialog.HasFlag(wxRESIZE_BORDER));
    ParameterTreeEditorPanel* panel = panel_of(dialog);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->root, nullptr);
    EXPECT_FALSE(panel->ui_tree->GetRootItem().IsOk());
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(panel->ui_tree_path->GetValue(), "");
    // The panel fills the dialog with a 5-pixel border all round.
    const wxSize best = panel->GetBestSize();
    EXPECT_EQ(dialog.GetClientSize(), wxSize(best.GetWidth() + 10, best.GetHeight() + 10));
    EXPECT_EQ(panel->GetPosition(), wxPoint(5, 5));
}

TEST(ParameterTreeDialog, OpensTheTreeOfAFolder)
{
    TempDir dir;
    auto top = std::make_shared<ovk_paratree::ParameterDirectory>();
    top->set("drive", std::make_shared<ovk_paratree::ParameterBook>());
    top->save(dir.path() / "bench-3");

    ParameterTreeDialog dialog(nullptr, wxString::FromUTF8((dir.path() / "bench-3").string()));
    ParameterTreeEditorPanel* panel = panel_of(dialog);
    ASSERT_NE(panel, nullptr);
    wxTreeCtrl* tree = panel->ui_tree;
    EXPECT_EQ(tree->GetItemText(tree->GetRootItem()), "bench-3");
    EXPECT_EQ(tree->GetChildrenCount(tree->GetRootItem()), 1u);
    EXPECT_EQ(panel->ui_tree_path->GetValue(), wxString::FromUTF8((dir.path() / "bench-3").string()));
}

TEST(ParameterTreeDialog, AFolderThatCannotBeLoadedFailsConstruction)
{
    TempDir dir;
    EXPECT_THROW(ParameterTreeDialog(nullptr, wxString::FromUTF8((dir.path() / "nothing-here").string())),
                 ovk_paratree::ParaTreeError);
}

TEST(ParameterTreeDialog, RunsModallyAndEndsWhenClosed)
{
    ParameterTreeDialog dialog(nullptr);
    EXPECT_EQ(run_modal(dialog, [&] { dialog.EndModal(wxID_CANCEL); }), wxID_CANCEL);
}
