// A tolerant load goes on past books that cannot be read, and the tree's
// saves leave those files exactly as they are; the default load still refuses.
#include "platform/paratree/paratree.h"

#include <gtest/gtest.h>

#include "tests/platform/paratree/temp_folder.h"

using namespace ovk_paratree;
using ovk_wxtest::book_with;
using ovk_wxtest::message_of;
using ovk_wxtest::read_text;
using ovk_wxtest::TempFolder;
using ovk_wxtest::write_text;
namespace fs = std::filesystem;

namespace {

const LoadOptions Tolerant{.tolerate_unreadable_books = true};

struct BadBook {
    const char* what;
    const char* text;     // nullptr: a link to nothing
    const char* message;  // part of the error
    std::size_t line, column;
};

const BadBook BadBooks[] = {
    {"trailing comma", "{\"format\": \"ovk-parameter-book\",\n \"version\": 1,\n \"parameters\": {},\n}\n",
     "not valid JSON", 4, 1},
    {"wrong type", "{\"format\": \"ovk-parameter-book\", \"version\": \"一\", \"parameters\": {}}", "\"version\"", 0, 0},
    {"not UTF-8", "{\"format\": \"ovk-parameter-book\", \"version\": 1, \"parameters\": {\"\xff\": {}}}", "UTF-8", 1,
     64},
    {"link to nothing", nullptr, "坏", 0, 0},
};

// A tree "参数" with one good book, a sub-directory "子目录" holding a good
// book and the bad book "坏"; answers the bad file's path.
fs::path make_tree(const TempFolder& dir, const BadBook& bad)
{
    auto tree = std::make_shared<ParameterDirectory>();
    auto sub = std::make_shared<ParameterDirectory>();
    tree->set("好", book_with("p", 1));
    sub->set("也好", book_with("q", "值"));
    tree->set("子目录", sub);
    tree->save(dir / "参数");
    const fs::path file = dir / "参数" / "子目录" / "坏.pbook";
    if (bad.text)
        write_text(file, bad.text);
    else
        fs::create_symlink(dir / "nowhere.pbook", file);
    return file;
}

}  // namespace

TEST(UnreadableBooks, DefaultLoadRefusesTolerantLoadListsThemAndSavesKeepThem)
{
    for (const BadBook& bad : BadBooks) {
        SCOPED_TRACE(bad.what);
        TempFolder dir;
        const fs::path file = make_tree(dir, bad);
        const std::string before = bad.text ? read_text(file) : fs::read_symlink(file).string();

        EXPECT_NE(message_of([&] { ParameterDirectory::load(dir / "参数"); }).find("坏.pbook"), std::string::npos);

        auto [tree, report] = ParameterDirectory::load_with_options(dir / "参数", Tolerant);
        ASSERT_EQ(report.unreadable.size(), 1u);
        EXPECT_EQ(report.unreadable[0].path, "子目录/坏.pbook");
        EXPECT_NE(report.unreadable[0].error.find(bad.message), std::string::npos) << report.unreadable[0].error;
        EXPECT_EQ(report.unreadable[0].line, bad.line);
        EXPECT_EQ(report.unreadable[0].column, bad.column);
        EXPECT_TRUE(tree->get_book("好"));
        EXPECT_EQ(tree->get_directory("子目录")->names(), std::vector<std::string>{"也好"});
        EXPECT_FALSE(tree->modified());
        EXPECT_TRUE(tree->changed_on_disk().empty());

        // An edit saved home, then the whole directory deleted and saved.
        tree->get_directory("子目录")->get_book("也好")->get("q")->set("value", "新");
        EXPECT_EQ(tree->save(dir / "参数").written, std::vector<std::string>{"子目录/也好.pbook"});
        EXPECT_TRUE(tree->changed_on_disk().empty());
        tree->remove("子目录");
        const SaveReport removed = tree->save(dir / "参数");
        ASSERT_EQ(removed.remained.size(), 1u);
        EXPECT_EQ(removed.remained[0].foreign, std::vector<std::string>{"坏.pbook"});
        EXPECT_EQ(bad.text ? read_text(file) : fs::read_symlink(file).string(), before);
        EXPECT_FALSE(fs::exists(dir / "参数" / "子目录" / "也好.pbook"));
    }
}

TEST(UnreadableBooks, ABookOfTheSameNameIsNeverWrittenOverItAndAMendedFileIsNews)
{
    TempFolder dir;
    const fs::path file = make_tree(dir, BadBooks[0]);
    const std::string before = read_text(file);
    auto tree = ParameterDirectory::load_with_options(dir / "参数", Tolerant).tree;

    tree->get_directory("子目录")->set("坏", book_with("r", 2));
    for (const SaveOptions options : {SaveOptions{}, SaveOptions{.overwrite_changes_on_disk = true}}) {
        const std::string error = message_of([&] { tree->save(dir / "参数", options); });
        EXPECT_NE(error.find("坏.pbook"), std::string::npos) << error;
        EXPECT_NE(error.find("not written over"), std::string::npos) << error;
        EXPECT_EQ(read_text(file), before);
    }

    // Someone mends the file: news for the tree, and a save home refuses to
    // undo it unseen; a new load reads it.
    tree->get_directory("子目录")->remove("坏");
    book_with("r", 3)->save(file);
    EXPECT_EQ(tree->changed_on_disk(), std::vector<std::string>{"子目录/坏.pbook"});
    EXPECT_NE(message_of([&] { tree->save(dir / "参数"); }).find("changed by someone else"), std::string::npos);
    auto [mended, report] = ParameterDirectory::load_with_options(dir / "参数", Tolerant);
    EXPECT_TRUE(report.unreadable.empty());
    EXPECT_TRUE(mended->get_directory("子目录")->get_book("坏"));
}

OVK_MODEL_TEST_MAIN
