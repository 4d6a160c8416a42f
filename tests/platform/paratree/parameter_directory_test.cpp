#include "platform/paratree/paratree.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

#include "tests/platform/paratree/temp_folder.h"

using namespace ovk_paratree;
using ovk_wxtest::book_with;
using ovk_wxtest::message_of;
using ovk_wxtest::listing;
using ovk_wxtest::read_text;
using ovk_wxtest::TempFolder;
using ovk_wxtest::write_text;
using Names = std::vector<std::string>;
using Listing = std::set<std::string>;

namespace {

// root: dirs "machine" (with book "axis" and dir "deep" holding book "leaf")
// and "empty"; books "general" and "zeta".
std::shared_ptr<ParameterDirectory> sample_tree()
{
    auto root = std::make_shared<ParameterDirectory>();
    root->set("zeta", book_with("z", 1));
    auto machine = std::make_shared<ParameterDirectory>();
    machine->set("axis", book_with("speed", 2.5));
    auto deep = std::make_shared<ParameterDirectory>();
    deep->set("leaf", book_with("l", "text"));
    machine->set("deep", deep);
    root->set("machine", machine);
    root->set("general", book_with("g", Value::array({1, 2})));
    root->set("empty", std::make_shared<ParameterDirectory>());
    return root;
}

// The tree as text, for comparing whole trees.
std::string describe(const ParameterDirectory& dir, const std::string& indent = "")
{
    std::string out;
    for (const auto& [name, child] : dir.items()) {
        if (auto d = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
            out += indent + name + "/\n" + describe(*d, indent + "  ");
        } else {
            out += indent + name + ": " + std::dynamic_pointer_cast<ParameterBook>(child)->to_text() + "\n";
        }
    }
    return out;
}

}  // namespace

TEST(ParameterDirectory, StoresToFoldersAndBookFilesAndLoadsInDocumentedOrder)
{
    TempFolder dir;
    auto tree = sample_tree();
    EXPECT_EQ(tree->class_name(), "ParameterDirectory");
    EXPECT_EQ(tree->names(), (Names{"zeta", "machine", "general", "empty"}));  // insertion order
    tree->save(dir.path());
    EXPECT_EQ(listing(dir.path()), (Listing{"empty/", "general.pbook", "machine/", "machine/axis.pbook",
                                            "machine/deep/", "machine/deep/leaf.pbook", "zeta.pbook"}));

    auto back = ParameterDirectory::load(dir.path());
    // Loaded: sub-directories first, then books, each by name.
    EXPECT_EQ(back->names(), (Names{"empty", "machine", "general", "zeta"}));
    ASSERT_TRUE(back->get_directory("machine"));
    EXPECT_EQ(back->get_directory("machine")->names(), (Names{"deep", "axis"}));
    EXPECT_EQ(back->get_book("general")->get("g")->get("value"), Value::array({1, 2}));
    EXPECT_EQ(back->get_directory("machine")->get_directory("deep")->get_book("leaf")->get("l")->get("value"),
              Value("text"));
    EXPECT_EQ(back->get_book("machine"), nullptr);
    EXPECT_EQ(back->get("nothing"), nullptr);
}

TEST(ParameterDirectory, DeletedEntriesDoNotComeBackAfterSavingToTheSameFolder)
{
    TempFolder dir;
    sample_tree()->save(dir.path());
    write_text(dir / "notes.txt", "keep me");
    write_text(dir / "machine" / "readme.md", "keep me too");
    write_text(dir / "machine" / "deep" / "data.csv", "1,2");

    auto tree = ParameterDirectory::load(dir.path());
    EXPECT_TRUE(tree->remove("general"));
    EXPECT_TRUE(tree->remove("empty"));
    EXPECT_TRUE(tree->get_directory("machine")->remove("deep"));
    tree->get_directory("machine")->set("added", book_with("a", 1));
    tree->save(dir.path());

    // Tree content that was deleted is gone; other files stay, and so does the
    // folder that still holds one.
    EXPECT_EQ(listing(dir.path()), (Listing{"machine/", "machine/axis.pbook", "machine/added.pbook",
                                            "machine/readme.md", "machine/deep/", "machine/deep/data.csv",
                                            "notes.txt", "zeta.pbook"}));
    // A second round on the same objects keeps deleting what was loaded.
    tree->remove("zeta");
    tree->save(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir / "zeta.pbook"));
    EXPECT_EQ(read_text(dir / "notes.txt"), "keep me");

    auto back = ParameterDirectory::load(dir.path());
    EXPECT_EQ(back->names(), (Names{"machine"}));
    // "deep" still holds a foreign file, so its folder stays and loads as an empty directory.
    EXPECT_EQ(back->get_directory("machine")->names(), (Names{"deep", "added", "axis"}));
    EXPECT_TRUE(back->get_directory("machine")->get_directory("deep")->empty());
}

TEST(ParameterDirectory, ReloadGivesBackExactlyTheTreeInMemory)
{
    TempFolder dir;
    sample_tree()->save(dir.path());
    auto tree = ParameterDirectory::load(dir.path());
    // Rename a directory, turn a book into a directory of the same name, and
    // replace a loaded directory by a fresh one of the same name.
    auto machine = tree->get_directory("machine");
    tree->remove("machine");
    tree->set("machine2", machine);
    auto fresh = std::make_shared<ParameterDirectory>();
    fresh->set("inner", book_with("i", 1));
    tree->set("general", fresh);
    auto replaced = std::make_shared<ParameterDirectory>();
    replaced->set("new", book_with("n", 2));
    machine->set("deep", replaced);
    tree->save(dir.path());

    EXPECT_EQ(listing(dir.path()),
              (Listing{"empty/", "general/", "general/inner.pbook", "machine2/", "machine2/axis.pbook",
                       "machine2/deep/", "machine2/deep/new.pbook", "zeta.pbook"}));
    auto back = ParameterDirectory::load(dir.path());
    EXPECT_EQ(describe(*back->get_directory("machine2")), describe(*machine));
    EXPECT_EQ(back->get_directory("general")->names(), (Names{"inner"}));

    // Clearing empties the folder of tree content.
    write_text(dir / "other.txt", "x");
    back->clear();
    back->save(dir.path());
    EXPECT_EQ(listing(dir.path()), (Listing{"other.txt"}));
    EXPECT_TRUE(ParameterDirectory::load(dir.path())->empty());
}

TEST(ParameterDirectory, SavingToAnotherFolderAddsAndReplacesOnly)
{
    TempFolder a, b;
    sample_tree()->save(a.path());
    write_text(b / "general.pbook", "old content");
    write_text(b / "foreign.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{}})");
    write_text(b / "machine" / "other.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{}})");

    auto tree = ParameterDirectory::load(a.path());
    tree->remove("zeta");
    tree->get_directory("machine")->remove("axis");
    tree->save(b.path());
    EXPECT_EQ(listing(b.path()), (Listing{"empty/", "foreign.pbook", "general.pbook", "machine/",
                                          "machine/deep/", "machine/deep/leaf.pbook", "machine/other.pbook"}));
    EXPECT_EQ(ParameterBook::load(b / "general.pbook")->names(), (Names{"g"}));

    // Saving to the other folder did not make it the tree's own: a second save
    // there still deletes nothing, and saving home deletes what was removed.
    tree->remove("general");
    tree->save(b.path());
    EXPECT_TRUE(std::filesystem::exists(b / "general.pbook"));
    tree->save(a.path());
    EXPECT_FALSE(std::filesystem::exists(a / "general.pbook"));
    EXPECT_FALSE(std::filesystem::exists(a / "zeta.pbook"));
    EXPECT_FALSE(std::filesystem::exists(a / "machine" / "axis.pbook"));
}

TEST(ParameterDirectory, NewTreeOwnsTheFolderItIsFirstSavedTo)
{
    TempFolder dir;
    write_text(dir / "old.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{}})");
    auto tree = sample_tree();
    tree->save(dir.path());
    EXPECT_TRUE(std::filesystem::exists(dir / "old.pbook"));  // not written by this tree: kept
    tree->remove("machine");
    tree->save(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir / "machine"));
    EXPECT_TRUE(std::filesystem::exists(dir / "old.pbook"));

    // The folder is recognised however it is spelt.
    auto fresh = sample_tree();
    fresh->save((dir / "new").string() + "/");
    fresh->remove("zeta");
    fresh->save(dir / "new" / ".." / "new");
    EXPECT_FALSE(std::filesystem::exists(dir / "new" / "zeta.pbook"));

    // A clone belongs nowhere yet.
    auto copy = tree->clone();
    copy->remove("zeta");
    TempFolder other;
    copy->save(other.path());
    copy->get_book("general")->get("g")->set("value", 9);
    EXPECT_EQ(tree->get_book("general")->get("g")->get("value"), Value::array({1, 2}));
}

TEST(ParameterDirectory, KeyedStoreRefusals)
{
    auto tree = sample_tree();
    auto machine = tree->get_directory("machine");
    for (const std::string& bad : std::vector<std::string>{"", ".", "..", "a/b", "a\\b", "c:", "x*"}) {
        EXPECT_THROW(tree->set(bad, std::make_shared<ParameterDirectory>()), ParaTreeError) << bad;
        EXPECT_THROW(tree->set(bad, std::make_shared<ParameterBook>()), ParaTreeError) << bad;
    }
    EXPECT_THROW(tree->set("p", std::make_shared<Parameter>()), ParaTreeError);
    EXPECT_THROW(tree->set("p", nullptr), ParaTreeError);
    EXPECT_THROW(tree->set("x.pbook", std::make_shared<ParameterDirectory>()), ParaTreeError);
    EXPECT_THROW(tree->set("self", tree), ParaTreeError);
    EXPECT_THROW(machine->get_directory("deep")->set("loop", tree), ParaTreeError);
    EXPECT_EQ(tree->names(), (Names{"zeta", "machine", "general", "empty"}));

    // One name set for directories and books: storing replaces whatever is there.
    tree->set("zeta", std::make_shared<ParameterDirectory>());
    EXPECT_TRUE(tree->get_directory("zeta"));
    EXPECT_EQ(tree->names(), (Names{"zeta", "machine", "general", "empty"}));
    EXPECT_EQ(tree->size(), 4u);
    tree->set("x.pbook", std::make_shared<ParameterBook>());  // a book may be named so
}

TEST(ParameterDirectory, BadFoldersGiveOneErrorNamingThePlace)
{
    TempFolder dir;
    const std::string missing = message_of([&] { ParameterDirectory::load(dir / "nowhere"); });
    EXPECT_NE(missing.find("nowhere"), std::string::npos) << missing;
    EXPECT_NE(missing.find("does not exist"), std::string::npos) << missing;

    write_text(dir / "file.txt", "x");
    const std::string not_folder = message_of([&] { ParameterDirectory::load(dir / "file.txt"); });
    EXPECT_NE(not_folder.find("not a folder"), std::string::npos) << not_folder;

    // A broken book deep inside: the error names that file.
    TempFolder tree;
    sample_tree()->save(tree.path());
    write_text(tree / "machine" / "deep" / "bad.pbook", "{oops");
    const std::string bad = message_of([&] { ParameterDirectory::load(tree.path()); });
    EXPECT_NE(bad.find((tree / "machine" / "deep" / "bad.pbook").string()), std::string::npos) << bad;
    EXPECT_NE(bad.find("not valid JSON"), std::string::npos) << bad;
    std::filesystem::remove(tree / "machine" / "deep" / "bad.pbook");

    // A link back up the tree.
    std::filesystem::create_directory_symlink(tree.path(), tree / "machine" / "up");
    const std::string loop = message_of([&] { ParameterDirectory::load(tree.path()); });
    EXPECT_NE(loop.find("up"), std::string::npos) << loop;
    EXPECT_NE(loop.find("symbolic link"), std::string::npos) << loop;
    std::filesystem::remove(tree / "machine" / "up");

    // A link to itself.
    std::filesystem::create_symlink(tree / "self", tree / "self");
    const std::string self = message_of([&] { ParameterDirectory::load(tree.path()); });
    EXPECT_NE(self.find("self"), std::string::npos) << self;
    EXPECT_NE(self.find("link"), std::string::npos) << self;
    std::filesystem::remove(tree / "self");

    // A folder and a book file of the same name.
    std::filesystem::create_directory(tree / "general");
    const std::string both = message_of([&] { ParameterDirectory::load(tree.path()); });
    EXPECT_NE(both.find("general.pbook"), std::string::npos) << both;
    std::filesystem::remove(tree / "general");

    EXPECT_EQ(ParameterDirectory::load(tree.path())->size(), 4u);
}

TEST(ParameterDirectory, NonTreeEntriesAreNotLoaded)
{
    TempFolder dir;
    sample_tree()->save(dir.path());
    write_text(dir / "notes.txt", "x");
    write_text(dir / "weird:name.pbook", "not even json");
    write_text(dir / ".pbook", "nameless");
    std::filesystem::create_directory(dir / "folder.pbook");
    write_text(dir / ".general.pbook.tmp-1-1", "a leftover temporary");
    std::filesystem::create_symlink(dir / "gone", dir / "dangling");
    auto tree = ParameterDirectory::load(dir.path());
    EXPECT_EQ(tree->names(), (Names{"empty", "machine", "general", "zeta"}));
    tree->save(dir.path());
    EXPECT_TRUE(std::filesystem::exists(dir / "weird:name.pbook"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.pbook"));
}

TEST(ParameterDirectory, FailedSaveReportsThePlace)
{
    TempFolder dir;
    write_text(dir / "machine", "a file where a folder should go");
    const std::string message = message_of([&] { sample_tree()->save(dir.path()); });
    EXPECT_NE(message.find((dir / "machine").string()), std::string::npos) << message;
}

TEST(ParameterDirectory, WriteFailureReplacesNoBook)
{
    TempFolder dir;
    sample_tree()->save(dir.path());
    const Listing before_listing = listing(dir.path());
    const std::string before = read_text(dir / "zeta.pbook");

    auto tree = ParameterDirectory::load(dir.path());
    tree->get_book("zeta")->get("z")->set("value", "changed");
    tree->get_book("general")->get("g")->set("value", std::string(100000, 'x'));
    tree->remove("machine");

    // A file size limit makes one book's write fail, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{20000, RLIM_INFINITY};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string message = message_of([&] { tree->save(dir.path()); });
    limit.rlim_cur = RLIM_INFINITY;
    ::setrlimit(RLIMIT_FSIZE, &limit);

    EXPECT_NE(message.find((dir / "general.pbook").string()), std::string::npos) << message;
    EXPECT_EQ(read_text(dir / "zeta.pbook"), before);  // staged, but never put in place
    EXPECT_EQ(listing(dir.path()), before_listing);      // nothing deleted, no temporary left

    // The failed save lost no knowledge: saving again completes the deletion.
    tree->get_book("general")->get("g")->set("value", 1);
    tree->save(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir / "machine"));
    EXPECT_EQ(ParameterDirectory::load(dir.path())->get_book("zeta")->get("z")->get("value"), Value("changed"));
}

TEST(ParameterDirectory, ModifiedFollowsEditsUpToTheLastSaveHome)
{
    TempFolder dir, other;
    auto tree = sample_tree();
    EXPECT_TRUE(tree->modified());  // never saved
    tree->save(dir.path());
    EXPECT_FALSE(tree->modified());
    auto machine = tree->get_directory("machine");
    auto axis = machine->get_book("axis");

    // An in-place edit of a parameter marks its book and every directory above.
    axis->get("speed")->set_description("zh_CN", "速度");
    EXPECT_TRUE(axis->modified());
    EXPECT_TRUE(machine->modified());
    EXPECT_TRUE(tree->modified());
    EXPECT_FALSE(tree->get_book("zeta")->modified());
    EXPECT_FALSE(machine->get_directory("deep")->modified());
    tree->save(other.path());  // a copy elsewhere does not save it home
    EXPECT_TRUE(tree->modified());
    tree->save(dir.path());
    EXPECT_FALSE(tree->modified());

    const std::vector<std::function<void()>> edits{
        [&] { machine->remove("deep"); },
        [&] { tree->set("新", std::make_shared<ParameterBook>()); },
        [&] { axis->remove("speed"); },
        [&] { tree->get_book("zeta")->get("z")->remove("value"); },
    };
    for (const auto& edit : edits) {
        auto back = ParameterDirectory::load(dir.path());
        EXPECT_FALSE(back->modified());
        tree = back;
        machine = tree->get_directory("machine");
        axis = machine->get_book("axis");
        edit();
        EXPECT_TRUE(tree->modified());
        tree->save(dir.path());
        EXPECT_FALSE(tree->modified());
    }
    EXPECT_TRUE(ParameterDirectory::load(dir.path())->clone()->modified());
}

TEST(ParameterDirectory, ChangedOnDiskListsWhatOthersDid)
{
    TempFolder dir;
    auto tree = sample_tree();
    EXPECT_TRUE(tree->changed_on_disk().empty());  // no folder yet
    tree->save(dir.path());
    EXPECT_TRUE(tree->changed_on_disk().empty());

    book_with("x", 1)->save(dir / "machine" / "axis.pbook");
    book_with("x", 1)->save(dir.path() / std::filesystem::path(u8"新.pbook"));
    std::filesystem::remove_all(dir / "machine" / "deep");
    std::filesystem::create_directory(dir / "added");
    write_text(dir / "notes.txt", "not tree content");
    EXPECT_EQ(tree->changed_on_disk(), (Names{"added/", "machine/axis.pbook", "machine/deep/", "新.pbook"}));
    // Saving would undo their changes unseen: refused unless asked for.
    EXPECT_THROW(tree->save(dir.path()), ParaTreeError);
    tree->save(dir.path(), {.overwrite_changes_on_disk = true});
    // What the tree holds is back; the others' additions stay theirs, known now.
    EXPECT_TRUE(std::filesystem::exists(dir / "machine" / "deep" / "leaf.pbook"));
    EXPECT_TRUE(tree->changed_on_disk().empty());
}

TEST(ParameterDirectory, SetHomeGivesAFolderToATreeWithoutClaimingWhatIsThere)
{
    TempFolder dir, other;
    sample_tree()->save(dir.path());
    auto tree = std::make_shared<ParameterDirectory>();
    tree->set("我的", book_with("m", 1));
    tree->set_home(dir.path());
    EXPECT_TRUE(tree->changed_on_disk().empty());
    tree->save(other.path());  // a copy elsewhere does not move its home
    tree->save(dir.path());
    tree->remove("我的");
    tree->save(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / std::filesystem::path(u8"我的.pbook")));
    EXPECT_TRUE(std::filesystem::exists(other.path() / std::filesystem::path(u8"我的.pbook")));
    EXPECT_EQ(ParameterDirectory::load(dir.path())->names(), (Names{"empty", "machine", "general", "zeta"}));
}

OVK_MODEL_TEST_MAIN
