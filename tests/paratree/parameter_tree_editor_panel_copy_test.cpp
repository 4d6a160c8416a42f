// The panel's copy commands and its offer to reload after changes on disk.
#include "wxtools/paratree/parameter_tree_editor_panel.h"
#include "wxtools/paratree/para_tree_copy_dialog.h"

#include "platform/paratree/paratree.h"
#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <wx/frame.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using namespace ovk_paratree;
namespace fs = std::filesystem;

namespace {

const wxString kSelectOne = wxString::FromUTF8("请选中并只选中一个要复制的参数。");
const wxString kReload = "Parameter tree is changed in file system. Do you want to reload it?";

wxString wx(const fs::path& path)
{
    return wxString::FromUTF8(path.string());
}

std::shared_ptr<ParameterBook> book_of(const std::vector<std::string>& names)
{
    auto book = std::make_shared<ParameterBook>();
    int n = 0;
    for (const auto& name : names) {
        auto p = std::make_shared<Parameter>();
        p->set("value", ++n);
        p->set_description("en_US", name + " text");
        book->set(name, p);
    }
    return book;
}

// On disk: tree/D/B.pbook (P, Q) and tree/T.pbook (X); an empty folder out/.
class PanelCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "ovk-panel-copy-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        base = templ;
        tree = base / "tree";
        out = base / "out";
        fs::create_directory(out);
        auto d = std::make_shared<ParameterDirectory>();
        d->set("B", book_of({"P", "Q"}));
        ParameterDirectory top;
        top.set("D", d);
        top.set("T", book_of({"X"}));
        top.save(tree);

        frame = new wxFrame(nullptr, wxID_ANY, "host");
        frame->Show();
    }
    void TearDown() override
    {
        frame->Destroy();
        flush_events();
        fs::remove_all(base);
    }

    ParameterTreeEditorPanel* make_panel(const wxString& path)
    {
        auto* panel = new ParameterTreeEditorPanel(frame, path);
        frame->Layout();
        return panel;
    }

    // The item reached from the root item through `texts`.
    static wxTreeItemId item_at(wxTreeCtrl* tree_ctrl, const std::vector<wxString>& texts)
    {
        wxTreeItemId item = tree_ctrl->GetRootItem();
        for (const wxString& text : texts) {
            wxTreeItemIdValue cookie;
            wxTreeItemId child = tree_ctrl->GetFirstChild(item, cookie);
            while (child.IsOk() && tree_ctrl->GetItemText(child) != text)
                child = tree_ctrl->GetNextChild(item, cookie);
            if (!child.IsOk())
                return child;
            item = child;
        }
        return item;
    }

    static void select_item(ParameterTreeEditorPanel* panel, const std::vector<wxString>& texts)
    {
        const wxTreeItemId item = item_at(panel->ui_tree, texts);
        ASSERT_TRUE(item.IsOk());
        panel->ui_tree->SelectItem(item);  // the selection handler fills the grid
        flush_events();
    }

    static void select_rows(ParameterTreeEditorPanel* panel, const std::vector<int>& rows)
    {
        panel->ui_book->ClearSelection();
        for (int row : rows)
            panel->ui_book->SelectRow(row, true);
    }

    // Expects the copy dialog to open, checks what it was given, then runs `act` in it.
    static void expect_copy_dialog(const wxString& source, const wxString& type,
                                   std::function<void(ParaTreeCopyDialog&)> act)
    {
        dialogs().inside_as<ParaTreeCopyDialog>([=](ParaTreeCopyDialog& d) {
            EXPECT_EQ(d.ui_source->GetValue(), source);
            EXPECT_EQ(d.ui_type->GetValue(), type);
            act(d);
        });
    }

    static void cancel(ParaTreeCopyDialog& d) { click(d.ui_cancel); }

    // Copies into `folder` under `name` and confirms; the success notice is answered.
    static std::function<void(ParaTreeCopyDialog&)> copy_into(const fs::path& folder, const wxString& name)
    {
        return [=](ParaTreeCopyDialog& d) {
            dialogs().answer_path(wx(folder));
            click(d.ui_browse_button);
            d.ui_rename->SetValue(name);
            dialogs().answer(wxID_OK);
            click(d.ui_confirm);
        };
    }

    fs::path base, tree, out;
    wxFrame* frame = nullptr;
};

TEST_F(PanelCopyTest, NothingHappensWithNoTreeLoaded)
{
    auto* panel = make_panel(wxEmptyString);
    click(panel->ui_copy_parameter_button);
    click(panel->ui_copy_tree_item_button);
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(PanelCopyTest, ParameterCopyNeedsExactlyOneRow)
{
    auto* panel = make_panel(wx(tree));
    select_item(panel, {"D", "B"});
    ASSERT_EQ(panel->ui_book->GetNumberRows(), 2);

    dialogs().answer(wxID_OK).answer(wxID_OK);
    select_rows(panel, {});
    click(panel->ui_copy_parameter_button);
    select_rows(panel, {0, 1});
    click(panel->ui_copy_parameter_button);
    ASSERT_EQ(dialogs().shown().size(), 2u);
    for (const auto& shown : dialogs().shown()) {
        EXPECT_EQ(shown.message, kSelectOne);
        EXPECT_EQ(shown.caption, "Info");
    }
}

TEST_F(PanelCopyTest, TheDialogGetsTheItemsPathAndObject)
{
    auto* panel = make_panel(wx(tree));
    select_item(panel, {"D", "B"});
    select_rows(panel, {1});
    expect_copy_dialog("D.B.Q", "Parameter", cancel);
    click(panel->ui_copy_parameter_button);

    expect_copy_dialog("D.B", "ParameterBook", cancel);
    click(panel->ui_copy_tree_item_button);

    select_item(panel, {"D"});
    expect_copy_dialog("D", "ParameterDirectory", cancel);
    click(panel->ui_copy_tree_item_button);

    // The root item alone is named by its own text, the folder's name.
    select_item(panel, {});
    expect_copy_dialog("tree", "ParameterDirectory", cancel);
    click(panel->ui_copy_tree_item_button);

    // Cancelled copies change nothing on disk: no question was asked.
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(PanelCopyTest, CopyOutsideTheTreesFolderAsksNothing)
{
    auto* panel = make_panel(wx(tree));
    select_item(panel, {"D", "B"});
    select_rows(panel, {0});
    expect_copy_dialog("D.B", "ParameterBook", copy_into(out, ""));
    click(panel->ui_copy_tree_item_button);
    EXPECT_EQ(dialogs().last().message, "Copy parameter success.");
    EXPECT_TRUE(fs::exists(out / ("B." + ParameterBook::ExtName)));
    // The grid and its selection are as they were.
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 2);
}

TEST_F(PanelCopyTest, CopyIntoTheTreesFolderOffersAReload)
{
    auto* panel = make_panel(wx(tree));
    // An edit in memory only: a reload from disk drops it.
    panel->root->remove("T");
    panel->_refresh_tree_view();

    select_item(panel, {"D", "B"});
    select_rows(panel, {0});
    expect_copy_dialog("D.B.P", "Parameter", [&](ParaTreeCopyDialog& d) {
        dialogs().answer_path(wx(tree / "D" / ("B." + ParameterBook::ExtName)));
        click(d.ui_browse_button);
        d.ui_rename->SetValue("P2");
        dialogs().answer(wxID_OK);  // success
        click(d.ui_confirm);
        dialogs().answer(wxID_YES);  // the reload question, after the dialog
    });
    click(panel->ui_copy_parameter_button);
    EXPECT_EQ(dialogs().last().message, kReload);
    EXPECT_EQ(dialogs().last().caption, "Confirm");

    // Rebuilt from disk: T is back, B holds P2, the grid is empty.
    EXPECT_TRUE(item_at(panel->ui_tree, {"T"}).IsOk());
    EXPECT_TRUE(panel->root->contains("T"));
    EXPECT_EQ(panel->root->get_directory("D")->get_book("B")->names(), (std::vector<std::string>{"P", "Q", "P2"}));
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 0);
    EXPECT_EQ(panel->root_path, wx(tree));
}

TEST_F(PanelCopyTest, AnsweringNoKeepsTheTreeAndTheGrid)
{
    auto* panel = make_panel(wx(tree));
    auto before = panel->root;
    select_item(panel, {"D", "B"});
    expect_copy_dialog("D.B", "ParameterBook", [&](ParaTreeCopyDialog& d) {
        copy_into(tree, "B2")(d);
        dialogs().answer(wxID_NO);
    });
    click(panel->ui_copy_tree_item_button);
    EXPECT_EQ(dialogs().last().message, kReload);

    EXPECT_TRUE(fs::exists(tree / ("B2." + ParameterBook::ExtName)));
    EXPECT_EQ(panel->root, before);
    EXPECT_FALSE(item_at(panel->ui_tree, {"B2"}).IsOk());
    EXPECT_EQ(panel->ui_book->GetNumberRows(), 2);
}

TEST_F(PanelCopyTest, CopyDeepBelowTheTreesFolderIsSeen)
{
    auto* panel = make_panel(wx(tree));
    select_item(panel, {"T"});
    expect_copy_dialog("T", "ParameterBook", [&](ParaTreeCopyDialog& d) {
        copy_into(tree / "D", "")(d);
        dialogs().answer(wxID_YES);
    });
    click(panel->ui_copy_tree_item_button);
    EXPECT_EQ(dialogs().last().message, kReload);
    EXPECT_TRUE(item_at(panel->ui_tree, {"D", "T"}).IsOk());
}

TEST_F(PanelCopyTest, ARefusedCopyAsksNothing)
{
    auto* panel = make_panel(wx(tree));
    select_item(panel, {"D"});
    expect_copy_dialog("D", "ParameterDirectory", [&](ParaTreeCopyDialog& d) {
        // D exists in the tree's folder and overwriting is not allowed.
        copy_into(tree, "")(d);
        EXPECT_EQ(dialogs().last().message, "Parameter directory named \"" + wx(tree / "D") + "\" already exists.");
        cancel(d);
    });
    click(panel->ui_copy_tree_item_button);
    EXPECT_EQ(dialogs().shown().size(), 2u);  // the chooser and the refusal
}

}  // namespace
