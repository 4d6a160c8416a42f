// The harness itself: chooser answers must read back through the toolkit's
// own accessors, and our own dialogs run for real with their action inside.
#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

using namespace ovk_wxtest;

TEST(DialogScript, FolderChooserAnswerReadsBack)
{
    const wxString dir = wxFileName::GetTempDir();
    dialogs().answer_path(dir);
    wxDirDialog chooser(nullptr, "Pick a folder", "/");
    EXPECT_EQ(chooser.ShowModal(), wxID_OK);
    EXPECT_EQ(chooser.GetPath(), dir);
    EXPECT_EQ(dialogs().last().kind, DialogKind::DirChooser);
    EXPECT_EQ(dialogs().last().message, "Pick a folder");
}

TEST(DialogScript, FileChooserAnswerReadsBack)
{
    const wxString path = wxFileName::CreateTempFileName("ovk_chooser");
    ASSERT_FALSE(path.empty());
    dialogs().answer_path(path);
    wxFileDialog chooser(nullptr, "Pick a file", "", "", "All files|*");
    EXPECT_EQ(chooser.ShowModal(), wxID_OK);
    EXPECT_EQ(chooser.GetPath(), path);
    EXPECT_EQ(dialogs().last().wildcard, "All files|*");
    wxRemoveFile(path);
}

TEST(DialogScript, SaveChooserTakesANewName)
{
    const wxString path = wxFileName::GetTempDir() + "/not_there_yet.ptb";
    dialogs().answer_path(path);
    wxFileDialog chooser(nullptr, "Save as", "", "", "Parameter File(*.ptb)|*.ptb", wxFD_SAVE);
    EXPECT_EQ(chooser.ShowModal(), wxID_OK);
    EXPECT_EQ(chooser.GetPath(), path);
}

TEST(DialogScript, CancelledChooserIsNeverShown)
{
    dialogs().answer_path("/tmp", wxID_CANCEL);
    wxDirDialog chooser(nullptr, "Pick a folder", "/");
    EXPECT_EQ(chooser.ShowModal(), wxID_CANCEL);
    EXPECT_EQ(dialogs().shown().size(), 1u);
}

TEST(DialogScript, OwnDialogsRunWithTheirActionInside)
{
    wxDialog dialog(nullptr, wxID_ANY, "own");
    auto* apply = new wxButton(&dialog, wxID_OK, "OK");
    bool was_modal = false;
    dialogs().inside([&](wxDialog& d) {
        was_modal = d.IsModal();
        click(apply);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_TRUE(was_modal);
}
