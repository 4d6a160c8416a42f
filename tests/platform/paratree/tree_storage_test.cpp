// Whole-tree saves as transactions: crashes at every step, killed writers,
// competing writers, conflicts found before anything changes, and honest
// reports of what a save or load could not do.
#include "platform/paratree/paratree.h"
#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/detail/tree_journal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/platform/paratree/temp_folder.h"

using namespace ovk_paratree;
using ovk_wxtest::book_with;
using ovk_wxtest::message_of;
using ovk_wxtest::listing;
using ovk_wxtest::read_text;
using ovk_wxtest::TempFolder;
using ovk_wxtest::write_text;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;
namespace hook = ovk_paratree::file_io::testing;

namespace {

std::shared_ptr<ParameterDirectory> dir_with(std::vector<std::pair<std::string, std::shared_ptr<ParaTreeEntity>>> items)
{
    auto dir = std::make_shared<ParameterDirectory>();
    for (auto& [name, child] : items) dir->set(name, child);
    return dir;
}

// The old tree: books keep, change, gone, swap_b (becomes a directory);
// directories moving (renamed), swap_d (becomes a book), dropped.
std::shared_ptr<ParameterDirectory> old_tree()
{
    return dir_with({{"keep", book_with("k", 1)},
                     {"change", book_with("c", "旧")},
                     {"gone", book_with("g", 2)},
                     {"swap_b", book_with("s", 3)},
                     {"moving", dir_with({{"inner", book_with("i", 4)}})},
                     {"swap_d", dir_with({{"x", book_with("x", 5)}})},
                     {"dropped", dir_with({{"deep", dir_with({{"y", book_with("y", 6)}})}})}});
}

// Turns a loaded old tree into the new one: adds, replaces, deletes, renames
// and swaps books and directories.
void make_new(ParameterDirectory& tree)
{
    tree.get_book("change")->get("c")->set("value", "新");
    tree.remove("gone");
    tree.set("added", book_with("a", 7));
    tree.set("swap_b", dir_with({{"b", book_with("b", 8)}}));
    tree.set("swap_d", book_with("d", 9));
    auto moving = tree.get_directory("moving");
    tree.remove("moving");
    tree.set("moved", moving);
    tree.remove("dropped");
    tree.set("fresh", dir_with({{"sub", dir_with({{"z", book_with("z", 10)}})}}));
}

// The tree as text, for comparing whole trees.
std::string describe(const ParameterDirectory& dir)
{
    std::vector<std::string> lines;
    for (const auto& [name, child] : dir.items()) {
        if (auto d = std::dynamic_pointer_cast<ParameterDirectory>(child)) lines.push_back(name + "/{" + describe(*d) + "}");
        else lines.push_back(name + ":" + std::dynamic_pointer_cast<ParameterBook>(child)->to_text());
    }
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const auto& line : lines) out += line + ";";
    return out;
}

bool has_protocol_files(const fs::path& root)
{
    for (const auto& entry : listing(root))
        if (entry.find(".ovk:") != std::string::npos) return true;
    return false;
}

struct Versions {
    std::string old_text, new_text;
};

Versions versions()
{
    TempFolder scratch;
    old_tree()->save(scratch.path());
    auto tree = ParameterDirectory::load(scratch.path());
    Versions v{describe(*tree), ""};
    make_new(*tree);
    v.new_text = describe(*tree);
    return v;
}

}  // namespace

// Every file-system step of a save, stopped there (as by a crash) or failing
// there (as on a full disk): the next load gives exactly the old or the new
// tree and leaves nothing of the save behind.
TEST(TreeStorage, EveryCrashPointLoadsAsOldOrNew)
{
    const Versions v = versions();
    ASSERT_NE(v.old_text, v.new_text);
    for (const auto mode : {hook::StepMode::Stop, hook::StepMode::Fail}) {
        int olds = 0, news = 0;
        for (long k = 0;; ++k) {
            TempFolder dir;
            old_tree()->save(dir.path());
            auto tree = ParameterDirectory::load(dir.path());
            make_new(*tree);
            hook::limit_steps(k, mode);
            bool done = true;
            try {
                tree->save(dir.path());
            } catch (const ParaTreeError&) {
                done = false;
            }
            hook::reset();
            const std::string now = describe(*ParameterDirectory::load(dir.path()));
            EXPECT_TRUE(now == v.old_text || now == v.new_text) << "step " << k << ": " << now;
            (now == v.old_text ? olds : news)++;
            EXPECT_FALSE(has_protocol_files(dir.path())) << "step " << k;
            if (done) break;
        }
        EXPECT_GT(olds, 3);  // both sides of the commit point were hit
        EXPECT_GT(news, 3);
    }
}

// A writer killed at random moments, 300 times: every kill leaves a folder
// that loads as one of the trees it was saving.
TEST(TreeStorage, KilledWritersLeaveOneWholeTree)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    const Versions v = versions();
    std::mt19937 random(13);
    for (int round = 0; round < 300; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                auto tree = ParameterDirectory::load(dir.path());
                if (describe(*tree) == v.old_text) make_new(*tree);
                else {
                    tree->clear();
                    for (const auto& [name, item] : old_tree()->items()) tree->set(name, item);
                }
                tree->save(dir.path());
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 8000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = describe(*ParameterDirectory::load(dir.path()));
        ASSERT_TRUE(now == v.old_text || now == v.new_text) << "round " << round << ": " << now;
        ASSERT_FALSE(has_protocol_files(dir.path()));
    }
}

// Two processes loading the same folder and saving different trees into it,
// 100 rounds: the saves take turns, a writer whose load is out of date gets
// the clear error, and the folder always holds exactly one of the trees.
TEST(TreeStorage, TwoWritersNeverMix)
{
    TempFolder dir;
    const Versions v = versions();
    std::string other;
    {
        TempFolder scratch;
        old_tree()->save(scratch.path());
        auto tree = ParameterDirectory::load(scratch.path());
        tree->get_book("gone")->get("g")->set("value", 20);
        other = describe(*tree);
    }
    int refused = 0;
    for (int round = 0; round < 100; ++round) {
        fs::remove_all(dir.path());
        old_tree()->save(dir.path());
        int pipes[2], ready[2];
        ASSERT_EQ(::pipe(pipes), 0);
        ASSERT_EQ(::pipe(ready), 0);
        pid_t children[2];
        for (int who = 0; who < 2; ++who) {
            children[who] = ::fork();
            ASSERT_GE(children[who], 0);
            if (children[who] != 0) continue;
            ::close(pipes[1]);
            int code = 0;
            try {
                auto tree = ParameterDirectory::load(dir.path());
                char go = 0;
                // Both loaded the same tree: start saving together.
                if (::write(ready[1], &go, 1) != 1 || ::read(pipes[0], &go, 1) < 0) ::_exit(3);
                if (who == 1) make_new(*tree);
                else tree->get_book("gone")->get("g")->set("value", 20);
                tree->save(dir.path());
            } catch (const ParaTreeError& e) {
                code = std::string(e.what()).find("changed by someone else") != std::string::npos ? 1 : 2;
            }
            ::_exit(code);
        }
        char loaded[2];
        for (int got = 0; got < 2;) got += std::max<ssize_t>(0, ::read(ready[0], loaded, 2 - got));
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(pipes[0]);
        ::close(pipes[1]);  // end of file starts both
        int codes[2];
        for (int who = 0; who < 2; ++who) {
            int status = 0;
            ::waitpid(children[who], &status, 0);
            codes[who] = WIFEXITED(status) ? WEXITSTATUS(status) : 9;
        }
        EXPECT_TRUE(codes[0] < 2 && codes[1] < 2 && codes[0] + codes[1] == 1) << round << ": " << codes[0] << codes[1];
        refused += codes[0] + codes[1];
        const std::string now = describe(*ParameterDirectory::load(dir.path()));
        EXPECT_TRUE(now == v.new_text || now == other) << round << ": " << now;
        EXPECT_FALSE(has_protocol_files(dir.path()));
    }
    EXPECT_EQ(refused, 100);
}

TEST(TreeStorage, ASecondWriterWaitsThenGetsAClearErrorAndChangesNothing)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    const auto before = listing(dir.path());
    auto tree = ParameterDirectory::load(dir.path());
    make_new(*tree);
    file_io::FolderLock held(dir.path());
    const std::string message = message_of([&] { tree->save(dir.path()); });
    EXPECT_NE(message.find(dir.path().string()), std::string::npos) << message;
    EXPECT_NE(message.find("another program"), std::string::npos) << message;
    auto after = listing(dir.path());
    after.erase(".ovk:lock");  // the one we hold
    EXPECT_EQ(after, before);
}

// Conflicts found before anything changes: the folder stays byte for byte.
TEST(TreeStorage, ConflictsAreRefusedBeforeAnythingChanges)
{
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> prepare;  // on the folder holding the old tree
        std::function<void(const fs::path&)> save;
        const char* named;  // what the message names
    };
    const std::vector<Case> cases{
        {"a directory turned book, its folder holding a foreign file",
         [](const fs::path& d) { write_text(d / "swap_d" / "notes.txt", "mine"); },
         [](const fs::path& d) {
             auto tree = ParameterDirectory::load(d);
             tree->set("swap_d", book_with("d", 1));
             tree->save(d);
         },
         "swap_d"},
        {"a folder where a book file must go",
         [](const fs::path& d) { fs::create_directory(d / "zz.pbook"); },
         [](const fs::path& d) {
             auto tree = ParameterDirectory::load(d);
             tree->set("fresh", dir_with({{"b", book_with("b", 1)}}));
             tree->get_book("keep")->get("k")->set("value", 2);
             tree->set("zz", book_with("z", 1));
             tree->save(d);
         },
         "zz.pbook"},
        {"Save To a folder holding a folder where a book must go",
         [](const fs::path& d) { fs::create_directory(d / "新"); },
         [](const fs::path& d) {
             auto tree = old_tree();
             tree->set("新", book_with("x", 1));
             tree->save(d);
         },
         "新"},
        {"a book file where a directory must go",
         [](const fs::path& d) { write_text(d / "fresh.pbook", "{}"); },
         [](const fs::path& d) { dir_with({{"fresh", dir_with({})}, {"keep", book_with("k", 2)}})->save(d); },
         "fresh.pbook"},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        old_tree()->save(dir.path());
        c.prepare(dir.path());
        const auto before = listing(dir.path());
        const std::string keep = read_text(dir / "keep.pbook");
        const std::string message = message_of([&] { c.save(dir.path()); });
        EXPECT_NE(message.find(c.named), std::string::npos) << c.what << ": " << message;
        EXPECT_NE(message.find("nothing was changed"), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(listing(dir.path()), before) << c.what;
        EXPECT_EQ(read_text(dir / "keep.pbook"), keep) << c.what;
    }
}

TEST(TreeStorage, UnwritableFolderPartWayChangesNothing)
{
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempFolder dir;
    old_tree()->save(dir.path());
    auto tree = ParameterDirectory::load(dir.path());
    make_new(*tree);
    tree->get_directory("moved")->set("late", book_with("l", 1));
    const auto before = listing(dir.path());
    ::chmod((dir / "moving").c_str(), 0555);
    const std::string message = message_of([&] { tree->save(dir.path()); });
    ::chmod((dir / "moving").c_str(), 0755);
    EXPECT_NE(message.find("moving"), std::string::npos) << message;
    EXPECT_EQ(listing(dir.path()), before);
}

TEST(TreeStorage, RemainedFoldersAndSkippedFilesAreReported)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    write_text(dir / "dropped" / "deep" / "data.csv", "1,2");
    write_text(dir / "weird:name.pbook", "{}");
    write_text(dir / "moving" / ".pbook", "{}");
    fs::create_directory(dir / "a|b");
    write_text(dir / "notes.txt", "not tree-like: not reported");

    auto [tree, loaded] = ParameterDirectory::load_with_report(dir.path());
    EXPECT_EQ(loaded.skipped, (Names{"a|b/", "moving/.pbook", "weird:name.pbook"}));

    tree->remove("dropped");
    const SaveReport saved = tree->save(dir.path());
    ASSERT_EQ(saved.remained.size(), 1u);
    EXPECT_EQ(saved.remained[0].folder, "dropped");
    EXPECT_EQ(saved.remained[0].foreign, (Names{"deep/data.csv"}));
    EXPECT_NE(saved.message().find("data.csv"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "dropped" / "deep" / "y.pbook"));
    EXPECT_TRUE(fs::exists(dir / "dropped" / "deep" / "data.csv"));
}

TEST(TreeStorage, SavingHomeWritesOnlyWhatChanged)
{
    TempFolder dir, other;
    old_tree()->save(dir.path());
    auto tree = ParameterDirectory::load(dir.path());
    EXPECT_TRUE(tree->save(dir.path()).written.empty());
    tree->get_directory("dropped")->get_directory("deep")->get_book("y")->get("y")->set("value", 60);
    EXPECT_EQ(tree->save(dir.path()).written, (Names{"dropped/deep/y.pbook"}));
    // A book someone else rewrote is put back as the tree holds it, when asked.
    book_with("other", 0)->save(dir / "keep.pbook");
    EXPECT_NE(message_of([&] { tree->save(dir.path()); }).find("keep.pbook` was changed by someone else"),
              std::string::npos);
    EXPECT_EQ(tree->save(dir.path(), {.overwrite_changes_on_disk = true}).written, (Names{"keep.pbook"}));
    EXPECT_EQ(describe(*ParameterDirectory::load(dir.path())), describe(*tree));
    // Elsewhere, everything is written.
    EXPECT_EQ(tree->save(other.path()).written.size(), 7u);
}

TEST(TreeStorage, EdgesOfNamesAndValuesRoundTrip)
{
    TempFolder dir;
    // A book name at the file-name limit saves, and saves again.
    const std::string name = std::string(255 - 6 - 3, 'n') + "名";
    auto tree = dir_with({{name, book_with("p", 1)}});
    tree->save(dir.path());
    tree->get_book(name)->get("p")->set("value", 2);
    tree->save(dir.path());
    EXPECT_EQ(ParameterDirectory::load(dir.path())->get_book(name)->get("p")->get("value"), Value(2));

    // Whatever nesting is accepted is saved and loads back; one more is refused.
    Value deep = 1;
    for (int i = 0; i < MaxValueNesting; ++i) deep = Value::array({deep});
    auto book = book_with("p", deep);
    book->save(dir / "deep.pbook");
    EXPECT_EQ(ParameterBook::load(dir / "deep.pbook")->get("p")->get("value"), deep);
    EXPECT_THROW(book->get("p")->set("value", Value::array({deep})), ParaTreeError);

    // A name given twice in a file is an error naming the file and the name.
    const std::vector<std::pair<std::string, std::string>> twice{
        {"参数", R"({"参数":{"attributes":{}},"参数":{"attributes":{}}})"},
        {"max", R"({"p":{"attributes":{"max":1,"max":2}}})"},
        {"en_US", R"({"p":{"descriptions":{"en_US":"a","en_US":"b"}}})"},
    };
    for (const auto& [key, parameters] : twice) {
        std::string many;
        for (int i = 0; i < 40; ++i) many += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
        const std::string text = R"({"format":"ovk-parameter-book","version":1,"parameters":)" + parameters + "}";
        write_text(dir / "twice.pbook", text);
        const std::string message = message_of([&] { ParameterBook::load(dir / "twice.pbook"); });
        EXPECT_NE(message.find((dir / "twice.pbook").string()), std::string::npos) << message;
        EXPECT_NE(message.find("`" + key + "` twice"), std::string::npos) << message;
        // The same in a large mapping, where names are checked by hash.
        write_text(dir / "twice.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{"p":{"attributes":{)" +
                                            many + R"("k7":0}}}})");
        EXPECT_NE(message_of([&] { ParameterBook::load(dir / "twice.pbook"); }).find("`k7` twice"), std::string::npos);
    }
}

// Flushes to disk guard against power loss, which these tests do not cause.
class NoFlushes : public ::testing::Environment {
    void SetUp() override { file_io::testing::skip_flushes(true); }
};
const auto* const no_flushes = ::testing::AddGlobalTestEnvironment(new NoFlushes);

OVK_MODEL_TEST_MAIN
