#include "wxtools/paratree/para_tree_copy_dialog.h"

#include "platform/paratree/paratree.h"
#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

using namespace ovk_wxtest;
using namespace ovk_paratree;
using ovk_wxtools::ParaTreeCopyDialog;
namespace fs = std::filesystem;

namespace {

std::string bytes_of(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::shared_ptr<Parameter> parameter_with(int max, const std::string& description)
{
    auto p = std::make_shared<Parameter>();
    p->set("max", max);
    p->set_description("en_US", description);
    return p;
}

wxString wx(const fs::path& path)
{
    return wxString::FromUTF8(path.string());
}

class CopyDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "ovk-copy-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        dir = templ;
        // The target book: holds "speed" (max 1) and "other".
        book_file = dir / ("target." + ParameterBook::ExtName);
        ParameterBook target;
        target.set("speed", parameter_with(1, "old speed"));
        target.set("other", parameter_with(2, "other"));
        target.save(book_file);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the dialog: browse to `target` (answered by the chooser), set the
    // name and overwrite box, confirm, then cancel it unless the copy ended it.
    int copy(ParaTreeCopyDialog& dialog, const fs::path& target, const wxString& rename = "",
             bool overwrite = false)
    {
        return run_modal(dialog, [&] {
            dialogs().answer_path(wx(target));
            click(dialog.ui_browse_button);
            type_into(dialog.ui_rename, rename);
            dialog.ui_overwrite->SetValue(overwrite);
            dialogs().answer(wxID_OK);  // every confirmation ends in one box: success or refusal
            click(dialog.ui_confirm);
            if (dialog.IsModal())
                click(dialog.ui_cancel);
        });
    }

    fs::path dir, book_file;
};

TEST_F(CopyDialogTest, ShowsTheSourcePathAndKind)
{
    ParaTreeCopyDialog parameter(nullptr, {"top", "mid", "leaf"}, std::make_shared<Parameter>());
    EXPECT_EQ(parameter.ui_source->GetValue(), "top.mid.leaf");
    EXPECT_EQ(parameter.ui_type->GetValue(), "Parameter");
    EXPECT_FALSE(parameter.ui_confirm->IsEnabled());

    ParaTreeCopyDialog book(nullptr, {"B"}, std::make_shared<ParameterBook>());
    EXPECT_EQ(book.ui_source->GetValue(), "B");
    EXPECT_EQ(book.ui_type->GetValue(), "ParameterBook");
    ParaTreeCopyDialog directory(nullptr, {wxString::FromUTF8("根"), "D"}, std::make_shared<ParameterDirectory>());
    EXPECT_EQ(directory.ui_source->GetValue(), wxString::FromUTF8("根.D"));
    EXPECT_EQ(directory.ui_type->GetValue(), "ParameterDirectory");
}

TEST_F(CopyDialogTest, RefusesAnEmptyPathOrNoItem)
{
    EXPECT_THROW(ParaTreeCopyDialog(nullptr, {}, std::make_shared<Parameter>()), std::invalid_argument);
    EXPECT_THROW(ParaTreeCopyDialog(nullptr, {"P"}, nullptr), std::invalid_argument);
}

TEST_F(CopyDialogTest, BrowsingPicksABookFileForAParameterAndAFolderOtherwise)
{
    ParaTreeCopyDialog parameter(nullptr, {"B", "P"}, std::make_shared<Parameter>());
    // A cancelled chooser changes nothing.
    dialogs().answer_path(wx(book_file), wxID_CANCEL);
    click(parameter.ui_browse_button);
    EXPECT_EQ(parameter.ui_target_path->GetValue(), "");
    EXPECT_FALSE(parameter.ui_confirm->IsEnabled());
    dialogs().answer_path(wx(book_file));
    click(parameter.ui_browse_button);
    EXPECT_EQ(parameter.ui_target_path->GetValue(), wx(book_file));
    EXPECT_TRUE(parameter.ui_confirm->IsEnabled());
    EXPECT_EQ(dialogs().last().kind, DialogKind::FileChooser);
    EXPECT_EQ(dialogs().last().wildcard,
              "Parameter File(*." + ParameterBook::ExtName + ")|*." + ParameterBook::ExtName);
    // Once enabled, a later cancelled chooser keeps target and button.
    dialogs().answer_path(wx(book_file), wxID_CANCEL);
    click(parameter.ui_browse_button);
    EXPECT_EQ(parameter.ui_target_path->GetValue(), wx(book_file));
    EXPECT_TRUE(parameter.ui_confirm->IsEnabled());

    ParaTreeCopyDialog book(nullptr, {"B"}, std::make_shared<ParameterBook>());
    dialogs().answer_path(wx(dir));
    click(book.ui_browse_button);
    EXPECT_EQ(dialogs().last().kind, DialogKind::DirChooser);
    EXPECT_EQ(book.ui_target_path->GetValue(), wx(dir));
    EXPECT_TRUE(book.ui_confirm->IsEnabled());
}

TEST_F(CopyDialogTest, ParameterGoesIntoTheBookUnderItsOwnOrANewName)
{
    {
        ParaTreeCopyDialog dialog(nullptr, {"D", "B", "accel"}, parameter_with(7, "acceleration"));
        EXPECT_EQ(copy(dialog, book_file), wxID_OK);
        EXPECT_EQ(dialogs().last().message, "Copy parameter success.");
        EXPECT_EQ(dialogs().last().caption, "Info");
    }
    {
        // Blanks around the new name are dropped; blanks only fall back to the own name.
        ParaTreeCopyDialog renamed(nullptr, {"B", "accel"}, parameter_with(8, "renamed"));
        EXPECT_EQ(copy(renamed, book_file, wxString::FromUTF8(" \t Q\u3000 ")), wxID_OK);
    }
    auto book = ParameterBook::load(book_file);
    EXPECT_EQ(book->names(), (std::vector<std::string>{"speed", "other", "accel", "Q"}));
    EXPECT_EQ(book->get("accel")->get("max"), 7);
    EXPECT_EQ(book->get("accel")->get_description("en_US"), "acceleration");
    EXPECT_EQ(book->get("Q")->get("max"), 8);

    ParaTreeCopyDialog blank(nullptr, {"B", "other"}, parameter_with(9, "x"));
    EXPECT_EQ(copy(blank, book_file, "   "), wxID_CANCEL);  // the name "other" is taken
    EXPECT_EQ(dialogs().last().message, "Parameter named \"other\" already exists.");
}

TEST_F(CopyDialogTest, ExistingParameterIsKeptUnlessOverwriteIsChecked)
{
    const std::string before = bytes_of(book_file);
    ParaTreeCopyDialog dialog(nullptr, {"B", "speed"}, parameter_with(99, "new speed"));
    int result = run_modal(dialog, [&] {
        dialogs().answer_path(wx(book_file));
        click(dialog.ui_browse_button);
        dialogs().answer(wxID_OK);
        click(dialog.ui_confirm);
        // Refused: still open, so the user may tick the box and try again.
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(dialogs().last().message, "Parameter named \"speed\" already exists.");
        EXPECT_EQ(dialogs().last().caption, "Error");
        EXPECT_EQ(bytes_of(book_file), before);

        dialog.ui_overwrite->SetValue(true);
        dialogs().answer(wxID_OK);
        click(dialog.ui_confirm);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialogs().shown().size(), 3u);  // chooser, error, success
    auto book = ParameterBook::load(book_file);
    EXPECT_EQ(book->names(), (std::vector<std::string>{"speed", "other"}));
    EXPECT_EQ(book->get("speed")->get("max"), 99);
    EXPECT_EQ(book->get("speed")->get_description("en_US"), "new speed");
}

TEST_F(CopyDialogTest, ModelFailuresShowOneErrorAndKeepTheDialogOpen)
{
    // A file that is not a book.
    const fs::path junk = dir / ("junk." + ParameterBook::ExtName);
    std::ofstream(junk) << "not a book";
    ParaTreeCopyDialog parameter(nullptr, {"B", "P"}, parameter_with(1, "p"));
    EXPECT_EQ(copy(parameter, junk), wxID_CANCEL);
    ASSERT_EQ(dialogs().shown().size(), 2u);  // chooser and one error, no success notice
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_NE(dialogs().last().message, "");
    EXPECT_EQ(bytes_of(junk), "not a book");

    // A folder that cannot be written to (a file stands where it should go).
    dialogs().reset();
    const fs::path blocked = dir / "blocked";
    std::ofstream(blocked) << "file";
    ParaTreeCopyDialog book(nullptr, {"B"}, std::make_shared<ParameterBook>());
    EXPECT_EQ(run_modal(book,
                        [&] {
                            book.ui_target_path->SetValue(wx(blocked));
                            book.ui_confirm->Enable();
                            dialogs().answer(wxID_OK);
                            click(book.ui_confirm);
                            EXPECT_TRUE(book.IsModal());
                            click(book.ui_cancel);
                        }),
              wxID_CANCEL);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().last().caption, "Error");
}

TEST_F(CopyDialogTest, ANameThatWouldLeaveTheTargetIsRefused)
{
    auto source = std::make_shared<ParameterBook>();
    source->set("p", parameter_with(1, "p"));
    ParaTreeCopyDialog dialog(nullptr, {"B"}, source);
    fs::create_directory(dir / "inner");
    EXPECT_EQ(copy(dialog, dir / "inner", "../escaped"), wxID_CANCEL);
    EXPECT_EQ(dialogs().last().message.Find("Target name `../escaped` is invalid."), 0);
    EXPECT_FALSE(fs::exists(dir / ("escaped." + ParameterBook::ExtName)));
}

TEST_F(CopyDialogTest, BookBecomesANewFileAndAnExistingOneNeedsOverwrite)
{
    auto source = std::make_shared<ParameterBook>();
    source->set("p", parameter_with(5, "p"));
    const fs::path copied = dir / ("B." + ParameterBook::ExtName);
    {
        ParaTreeCopyDialog dialog(nullptr, {"D", "B"}, source);
        EXPECT_EQ(copy(dialog, dir), wxID_OK);
        EXPECT_EQ(ParameterBook::load(copied)->get("p")->get("max"), 5);
    }
    source->get("p")->set("max", 6);
    const std::string before = bytes_of(copied);
    {
        ParaTreeCopyDialog dialog(nullptr, {"D", "B"}, source);
        EXPECT_EQ(copy(dialog, dir), wxID_CANCEL);
        // The whole file name, folder included.
        EXPECT_EQ(dialogs().last().message,
                  "Parameter book named \"" + wx(copied) + "\" already exists.");
        EXPECT_EQ(bytes_of(copied), before);
    }
    {
        ParaTreeCopyDialog dialog(nullptr, {"D", "B"}, source);
        EXPECT_EQ(copy(dialog, dir, "", true), wxID_OK);
        EXPECT_EQ(ParameterBook::load(copied)->get("p")->get("max"), 6);
    }
}

TEST_F(CopyDialogTest, DirectoryBecomesANewFolder)
{
    auto source = std::make_shared<ParameterDirectory>();
    auto book = std::make_shared<ParameterBook>();
    book->set("p", parameter_with(3, "p"));
    auto sub = std::make_shared<ParameterDirectory>();
    sub->set("B", book);
    source->set("sub", sub);

    ParaTreeCopyDialog dialog(nullptr, {"D"}, source);
    EXPECT_EQ(copy(dialog, dir, "Copied"), wxID_OK);
    auto loaded = ParameterDirectory::load(dir / "Copied");
    ASSERT_TRUE(loaded->get_directory("sub"));
    EXPECT_EQ(loaded->get_directory("sub")->get_book("B")->get("p")->get("max"), 3);
}

TEST_F(CopyDialogTest, ExistingDirectoryIsAddedToOnlyWithOverwrite)
{
    // The target folder already holds a book the copied directory lacks.
    fs::create_directory(dir / "D");
    ParameterBook kept;
    kept.set("k", parameter_with(1, "k"));
    kept.save(dir / "D" / ("kept." + ParameterBook::ExtName));

    auto source = std::make_shared<ParameterDirectory>();
    auto book = std::make_shared<ParameterBook>();
    book->set("p", parameter_with(4, "p"));
    source->set("B", book);

    ParaTreeCopyDialog refused(nullptr, {"D"}, source);
    EXPECT_EQ(copy(refused, dir), wxID_CANCEL);
    EXPECT_EQ(dialogs().last().message, "Parameter directory named \"" + wx(dir / "D") + "\" already exists.");
    EXPECT_FALSE(fs::exists(dir / "D" / ("B." + ParameterBook::ExtName)));

    ParaTreeCopyDialog allowed(nullptr, {"D"}, source);
    EXPECT_EQ(copy(allowed, dir, "", true), wxID_OK);
    auto loaded = ParameterDirectory::load(dir / "D");
    EXPECT_EQ(loaded->names(), (std::vector<std::string>{"B", "kept"}));
    EXPECT_EQ(loaded->get_book("B")->get("p")->get("max"), 4);
}

TEST_F(CopyDialogTest, DirectoryOntoAFileIsRefusedEvenWithOverwrite)
{
    std::ofstream(dir / "D") << "a plain file";
    ParaTreeCopyDialog dialog(nullptr, {"D"}, std::make_shared<ParameterDirectory>());
    EXPECT_EQ(copy(dialog, dir, "", true), wxID_CANCEL);
    EXPECT_EQ(dialogs().last().message,
              "Target \"" + wx(dir / "D") + "\" already exists and is not a directory.");
    EXPECT_EQ(bytes_of(dir / "D"), "a plain file");
}

TEST_F(CopyDialogTest, CopyingADirectoryLeavesTheOriginalsFolderAlone)
{
    // A tree loaded from disk: copying it elsewhere must not make the copy's
    // folder its own, so a later save still goes where it came from.
    fs::create_directory(dir / "home");
    ParameterBook b;
    b.set("p", parameter_with(1, "p"));
    b.save(dir / "home" / ("B." + ParameterBook::ExtName));
    auto tree = ParameterDirectory::load(dir / "home");
    fs::create_directory(dir / "out");

    ParaTreeCopyDialog dialog(nullptr, {"home"}, tree);
    EXPECT_EQ(copy(dialog, dir / "out"), wxID_OK);
    EXPECT_TRUE(fs::exists(dir / "out" / "home" / ("B." + ParameterBook::ExtName)));

    tree->remove("B");
    tree->save(dir / "home");
    EXPECT_FALSE(fs::exists(dir / "home" / ("B." + ParameterBook::ExtName)));
    EXPECT_TRUE(fs::exists(dir / "out" / "home" / ("B." + ParameterBook::ExtName)));
}

}  // namespace
