// What can still go wrong around a committed save: names the file system
// cannot hold, permissions, full disks, I/O errors after the commit, readers
// without write access, damaged or lost journal state, links into other
// trees, power loss, and names other file systems refuse. Whatever happens,
// the folder loads as exactly the old or the new tree.
#include "platform/paratree/paratree.h"
#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/detail/tree_journal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/platform/paratree/crash_model.h"
#include "tests/platform/paratree/temp_folder.h"
#include "tests/platform/paratree/tree_fixtures.h"

using namespace ovk_paratree;
using namespace ovk_wxtest::trees;
using ovk_wxtest::book_with;
using ovk_wxtest::listing;
using ovk_wxtest::message_of;
using ovk_wxtest::read_text;
using ovk_wxtest::TempFolder;
using ovk_wxtest::write_text;
namespace fs = std::filesystem;
namespace hook = ovk_paratree::file_io::testing;

namespace {

// Every test leaves the protocol's test hook as it found it.
class TreeStorageFaults : public ::testing::Test {
protected:
    void TearDown() override { hook::reset(); }
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs `f` in a child process as an ordinary user (nobody when the tests run
// as root, where permissions do not bind); its exit status, or 99 when `f`
// threw, with the message in `message`.
int as_user(const std::function<int()>& f, std::string* message = nullptr)
{
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(98);
        int code = 99;
        try {
            code = f();
        } catch (const std::exception& e) {
            const std::string text = e.what();
            if (::write(pipe_fds[1], text.data(), text.size()) < 0) code = 97;
        }
        ::_exit(code);
    }
    ::close(pipe_fds[1]);
    std::string text;
    char buf[512];
    for (ssize_t n; (n = ::read(pipe_fds[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
    ::close(pipe_fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (message) *message = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

// Gives the folder and everything in it to the ordinary user of as_user.
void give_away(const fs::path& root)
{
    if (::geteuid() != 0) return;
    if (::chown(root.c_str(), 65534, 65534) != 0) ADD_FAILURE() << "chown " << root;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (::lchown(entry.path().c_str(), 65534, 65534) != 0) ADD_FAILURE() << "chown " << entry.path();
}

// The folder holding the old tree, and the loaded tree edited into the new one.
struct Prepared {
    TempFolder dir;
    std::shared_ptr<ParameterDirectory> tree;
    Prepared()
    {
        old_tree()->save(dir.path());
        tree = ParameterDirectory::load(dir.path());
        make_new(*tree);
    }
};

// The file-system operations of the save Prepared makes, in order, and the
// index of the commit (the journal's rename).
std::pair<std::vector<hook::Operation>, std::size_t> operations_of_a_save()
{
    Prepared p;
    hook::record_operations(true);
    p.tree->save(p.dir.path());
    hook::record_operations(false);
    const auto ops = hook::recorded_operations();
    std::size_t commit = 0;
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].kind == "rename" && ops[i].to.filename() == ".ovk~journal") commit = i;
    return {ops, commit};
}

// Loads `folder`, edits the tree and saves it, stopped (as by a crash) at
// every step until the save is committed but not yet carried out.
void stop_after_commit(const fs::path& folder, const std::function<void(ParameterDirectory&)>& edit)
{
    for (long k = 0;; ++k) {
        auto tree = ParameterDirectory::load(folder);
        edit(*tree);
        hook::limit_steps(k, hook::StepMode::Stop);
        message_of([&] { tree->save(folder); });
        hook::reset();
        if (fs::exists(folder / ".ovk~journal")) return;
        ASSERT_LT(k, 200);
    }
}

}  // namespace

// Only names that become file or folder names are limited: directory and
// book names longer than a file name may be, or paths longer than a path may
// be, are refused before anything is written, with a message saying why;
// parameter and attribute names of any length load and save as ever.
TEST_F(TreeStorageFaults, NamesTheFileSystemCannotHoldAreRefusedBeforeTheSave)
{
    std::string chinese;  // 86 characters, 258 bytes
    for (int i = 0; i < 86; ++i) chinese += "长";
    auto tree = std::make_shared<ParameterDirectory>();
    for (const auto& [name, directory] : std::vector<std::pair<std::string, bool>>{
             {std::string(250, 'a'), false}, {chinese, false}, {chinese, true}, {".ovk~lock", true}, {".OVK~x", false}}) {
        const std::string message = message_of([&] {
            tree->set(name, directory ? std::static_pointer_cast<ParaTreeEntity>(std::make_shared<ParameterDirectory>())
                                      : book_with("p", 1));
        });
        EXPECT_TRUE(contains(message, directory ? "Directory name" : "Book name") &&
                    (contains(message, "bytes long") || contains(message, "kept for saving")))
            << message;
        EXPECT_TRUE(is_valid_name(name));
    }
    EXPECT_TRUE(tree->empty());
    tree->set(std::string(249, 'b'), book_with("p", 1));
    tree->set(std::string(255, 'd'), std::make_shared<ParameterDirectory>());

    const std::string long_key = chinese.substr(0, 300);  // 100 characters
    auto book = book_with(long_key, "值");
    book->get(long_key)->set(long_key + "单位", "毫米");
    tree->set("书", book);
    TempFolder home;
    tree->save(home.path());
    auto back = ParameterDirectory::load(home.path());
    EXPECT_EQ(describe(*back), describe(*tree));
    back->get_book("书")->get(long_key)->set("value", "新");
    back->save(home.path());
    EXPECT_EQ(ParameterDirectory::load(home.path())->get_book("书")->get(long_key)->get(long_key + "单位"), Value("毫米"));

    TempFolder dir;
    old_tree()->save(dir.path());
    const auto before = listing(dir.path());
    auto loaded = ParameterDirectory::load(dir.path());
    loaded->get_book("keep")->get("k")->set("value", 10);
    auto deep = loaded;
    for (int i = 0; i < 20; ++i) {
        auto next = std::make_shared<ParameterDirectory>();
        deep->set(std::string(240, 'd'), next);
        deep = next;
    }
    deep->set("leaf", book_with("p", 1));
    const std::string message = message_of([&] { loaded->save(dir.path()); });
    EXPECT_TRUE(contains(message, "path is") && contains(message, "nothing was changed")) << message;
    EXPECT_EQ(listing(dir.path()), before);
}

// Every operation of a save fails in turn with each error a disk or a
// permission can give, and the fault lasts: before the commit the folder
// keeps the old tree; after it the save reports the work as pending, the
// folder loads as the new tree even while the fault lasts, and the next load
// once it is gone completes the save.
TEST_F(TreeStorageFaults, EveryOperationFailingLeavesAFolderThatLoads)
{
    const Versions v = versions();
    const auto [ops, commit] = operations_of_a_save();
    ASSERT_GT(commit, 0u);
    for (const int error : {EIO, ENOSPC, EACCES, ENAMETOOLONG}) {
        for (std::size_t k = 0; k < ops.size(); ++k) {
            Prepared p;
            const auto before = listing(p.dir.path());
            hook::limit_steps(static_cast<long>(k), hook::StepMode::Persist, error);
            std::string pending;
            const std::string message = message_of([&] { pending = p.tree->save(p.dir.path()).pending; });
            const auto [during, report] = ParameterDirectory::load_with_report(p.dir.path());
            hook::reset();
            const bool journal_left = fs::exists(p.dir / ".ovk~journal");
            const std::string at = std::to_string(error) + " at " + ops[k].kind + " " + ops[k].path.string();
            // The commit is the flush of the folder after the journal's rename.
            const bool committed = k > commit + 1;
            if (!committed) {
                EXPECT_NE(message, "(no error)") << at;
                EXPECT_EQ(describe(*during), v.old_text) << at;
            } else {
                EXPECT_EQ(message, "(no error)") << at;
                EXPECT_FALSE(pending.empty()) << at;
                EXPECT_EQ(describe(*during), v.new_text) << at;
                EXPECT_EQ(report.pending.empty(), !journal_left) << at;
            }
            EXPECT_EQ(describe(*ParameterDirectory::load(p.dir.path())), committed ? v.new_text : v.old_text) << at;
            if (!committed) {
                EXPECT_EQ(listing(p.dir.path()), before) << at;
            }
            EXPECT_FALSE(has_protocol_files(p.dir.path())) << at;
        }
    }
}

// A deleted book in a sub-folder the user cannot write: the save is refused
// before its commit, and the folder keeps loading as the old tree.
TEST_F(TreeStorageFaults, AFolderThatCannotChangeIsFoundBeforeTheCommit)
{
    TempFolder dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    old_tree()->save(dir / "t");
    const Versions v = versions();
    give_away(dir / "t");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((dir / "t" / "dropped" / "deep").c_str(), 0, 0), 0);
    } else {
        fs::permissions(dir / "t" / "dropped" / "deep", fs::perms::owner_read | fs::perms::owner_exec);
    }
    const auto before = listing(dir / "t");
    std::string message;
    const int code = as_user(
        [&] {
            auto tree = ParameterDirectory::load(dir / "t");
            make_new(*tree);
            tree->save(dir / "t");
            return 0;
        },
        &message);
    EXPECT_EQ(code, 99) << message;
    EXPECT_TRUE(contains(message, "deep") && contains(message, "Nothing was changed")) << message;
    fs::permissions(dir / "t" / "dropped" / "deep", fs::perms::owner_all);
    EXPECT_EQ(listing(dir / "t"), before);
    EXPECT_EQ(describe(*ParameterDirectory::load(dir / "t")), v.old_text);
}

// A load that cannot create the lock file (no free inode) still loads.
TEST_F(TreeStorageFaults, ALoadNeedsNoRoomForItsLock)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    const Versions v = versions();
    hook::limit_steps(0, hook::StepMode::Fail, ENOSPC);
    const std::string text = describe(*ParameterDirectory::load(dir.path()));
    hook::reset();
    EXPECT_EQ(text, v.old_text);
}

// A damaged journal is never carried out: the load names the folder; paths
// with any bytes in them survive the journal.
TEST_F(TreeStorageFaults, JournalsAreCheckedAndHoldAnyPath)
{
    const auto [ops, commit] = operations_of_a_save();
    Prepared p;
    hook::limit_steps(static_cast<long>(commit + 2), hook::StepMode::Stop);
    EXPECT_NE(message_of([&] { p.tree->save(p.dir.path()); }), "(no error)");
    hook::reset();
    const fs::path journal = p.dir / ".ovk~journal";
    std::string text = read_text(journal);
    ASSERT_GT(text.size(), 100u);
    text[text.size() / 2] ^= 0x04;
    write_text(journal, text);
    const std::string message = message_of([&] { ParameterDirectory::load(p.dir.path()); });
    EXPECT_TRUE(contains(message, "damaged") && contains(message, p.dir.path().string())) << message;

    // A linked book whose folder holds a tab and a newline.
    TempFolder dir;
    const fs::path odd = dir / "a\tb\nc";
    book_with("v", 1)->save(odd / "x.pbook");
    fs::create_directory(dir / "t");
    fs::create_symlink(odd / "x.pbook", dir / "t" / "x.pbook");
    stop_after_commit(dir / "t", [](ParameterDirectory& t) { t.get_book("x")->get("v")->set("value", 2); });
    EXPECT_EQ(ParameterDirectory::load(dir / "t")->get_book("x")->get("v")->get("value"), Value(2));
    EXPECT_EQ(ParameterBook::load(odd / "x.pbook")->get("v")->get("value"), Value(2));
    EXPECT_EQ(listing(odd), (std::set<std::string>{"x.pbook"}));  // nothing of ours beside the target
}

// A staged file that is gone while the target does not hold its content:
// the load refuses, naming the folder, instead of loading a mix.
TEST_F(TreeStorageFaults, ALostStagedFileIsAnErrorNotAStepDone)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    stop_after_commit(dir.path(), [](ParameterDirectory& t) { make_new(t); });
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".ovk~") && name.size() > 5 && std::isdigit(static_cast<unsigned char>(name[5])))
            fs::remove(entry.path());
    }
    const std::string message = message_of([&] { ParameterDirectory::load(dir.path()); });
    EXPECT_TRUE(contains(message, "missing or damaged") && contains(message, dir.path().string())) << message;
}

// Tree A links to tree B's folder while B's save is stopped after its
// commit: loading A leaves B's save alone, and B then loads as its new tree.
TEST_F(TreeStorageFaults, ALoadCleansOnlyItsOwnTree)
{
    TempFolder dir;
    old_tree()->save(dir / "b");
    dir_with({{"own", book_with("o", 1)}})->save(dir / "a");
    fs::create_directory_symlink(dir / "b", dir / "a" / "linked");
    stop_after_commit(dir / "b", [](ParameterDirectory& t) { make_new(t); });
    const auto b_before = listing(dir / "b");
    ParameterDirectory::load(dir / "a");
    EXPECT_EQ(listing(dir / "b"), b_before);
    EXPECT_EQ(describe(*ParameterDirectory::load(dir / "b")), versions().new_text);
}

// Under power loss only what was flushed survives: before the commit every
// staged file and every folder that gained a name has been flushed since.
TEST_F(TreeStorageFaults, EverythingTheCommitNeedsIsFlushedFirst)
{
    hook::skip_flushes(false);
    TempFolder dir;
    old_tree()->save(dir.path());
    auto tree = ParameterDirectory::load(dir.path());
    tree->get_directory("moving")->get_book("inner")->get("i")->set("value", 40);
    tree->get_directory("dropped")->get_directory("deep")->set("n", book_with("n", 1));
    tree->set("fresh", dir_with({{"z", book_with("z", 1)}}));
    hook::record_operations(true);
    tree->save(dir.path());
    hook::record_operations(false);
    hook::skip_flushes(true);
    std::map<fs::path, bool> folders, files;  // -> flushed since the last change
    bool all = false;
    for (const auto& op : hook::recorded_operations()) {
        if (op.kind == "rename" && op.to.filename() == ".ovk~journal") break;
        const fs::path gained = op.kind == "rename" ? op.to : op.path;
        const std::string name = gained.filename().string();
        if (name == ".ovk~gen" || name == ".ovk~journal.new") continue;  // harmless when lost
        if (op.kind == "create" || op.kind == "mkdir" || op.kind == "rename") folders[gained.parent_path()] = false;
        if (op.kind == "create" || op.kind == "write") files[op.path] = op.path.filename() == ".ovk~gen";
        if (op.kind == "unlink") files.erase(op.path);
        if (op.kind == "flush") files[op.path] = true;
        if (op.kind == "flush-folder") folders[op.path] = true;
        if (op.kind == "flush-all") all = true;
    }
    for (const auto& [folder, flushed] : folders) EXPECT_TRUE(flushed || all) << folder;
    for (const auto& [file, flushed] : files) EXPECT_TRUE(flushed || all) << file;
    EXPECT_FALSE(folders.empty());

    // A folder that cannot be flushed is an error, not a silence.
    EXPECT_THROW(file_io::sync_folder(dir / "missing"), ParaTreeError);
}

// Two links in one tree to one file: an edit through one is saved, and the
// tree knows the file it wrote through the other link too.
TEST_F(TreeStorageFaults, TwoLinksToOneFileStayTheTreesOwn)
{
    TempFolder dir;
    book_with("v", 1)->save(dir / "shared" / "s.pbook");
    dir_with({{"own", book_with("o", 1)}})->save(dir / "t");
    fs::create_symlink(dir / "shared" / "s.pbook", dir / "t" / "one.pbook");
    fs::create_symlink(dir / "shared" / "s.pbook", dir / "t" / "two.pbook");
    auto tree = ParameterDirectory::load(dir / "t");
    tree->get_book("one")->get("v")->set("value", 2);
    tree->save(dir / "t");
    EXPECT_TRUE(tree->changed_on_disk().empty());
    tree->get_book("own")->get("o")->set("value", 3);
    EXPECT_EQ(message_of([&] { tree->save(dir / "t"); }), "(no error)");
    EXPECT_EQ(ParameterBook::load(dir / "shared" / "s.pbook")->get("v")->get("value"), Value(2));
}

// A tree moved after a save was stopped past its commit still completes it,
// also through its linked books.
TEST_F(TreeStorageFaults, AMovedTreeCompletesItsSave)
{
    TempFolder dir;
    book_with("v", 1)->save(dir / "x" / "shared" / "s.pbook");
    old_tree()->save(dir / "x" / "t");
    fs::create_symlink("../shared/s.pbook", dir / "x" / "t" / "linked.pbook");
    stop_after_commit(dir / "x" / "t", [](ParameterDirectory& t) {
        make_new(t);
        t.get_book("linked")->get("v")->set("value", 2);
    });
    fs::rename(dir / "x", dir / "y");
    auto tree = ParameterDirectory::load(dir / "y" / "t");
    EXPECT_EQ(tree->get_book("linked")->get("v")->get("value"), Value(2));
    tree->remove("linked");
    EXPECT_EQ(describe(*tree), versions().new_text);
    EXPECT_EQ(listing(dir / "y" / "shared"), (std::set<std::string>{"s.pbook"}));
}

// Our names are valid on FAT, exFAT, NTFS and SMB; the names an earlier
// version used are still recognised, completed and cleaned.
TEST_F(TreeStorageFaults, OurNamesSuitEveryFileSystemAndOldOnesAreCleaned)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    for (long k = 0; k < 40; ++k) {
        auto tree = ParameterDirectory::load(dir.path());
        make_new(*tree);
        hook::limit_steps(k, hook::StepMode::Stop);
        message_of([&] { tree->save(dir.path()); });
        hook::reset();
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find_first_of(":*?\"<>|\\"), std::string::npos) << entry.path();
        fs::remove_all(dir.path());
        old_tree()->save(dir.path());
    }
    // An earlier version's interrupted save: a staged book, its journal, a
    // stale lock and an orphan staging file.
    write_text(dir / ".ovk:7", book_with("k", 5)->to_text());
    write_text(dir / ".ovk:journal", "ovk-tree-journal 1\nR\tkeep.pbook\t.ovk:7\nend 1\n");
    write_text(dir / ".ovk:lock", "");
    write_text(dir / "moving" / ".ovk:12", "x");
    EXPECT_EQ(ParameterDirectory::load(dir.path())->get_book("keep")->get("k")->get("value"), Value(5));
    EXPECT_FALSE(has_protocol_files(dir.path()));
}

// check() tells what a stopped save left and what a load skips, changing
// nothing; a sound folder has nothing to report.
TEST_F(TreeStorageFaults, CheckReportsWithoutChanging)
{
    TempFolder dir;
    old_tree()->save(dir.path());
    EXPECT_TRUE(ParameterDirectory::check(dir.path()).ok());
    write_text(dir / "电机:x.pbook", "{}");
    stop_after_commit(dir.path(), [](ParameterDirectory& t) { make_new(t); });
    write_text(dir / "broken.pbook", "{not json");
    const auto before = listing(dir.path());
    const auto report = ParameterDirectory::check(dir.path());
    EXPECT_EQ(listing(dir.path()), before);
    std::string all;
    for (const auto& line : report.problems) all += line + "\n";
    EXPECT_TRUE(contains(all, ".ovk~journal: a save was interrupted")) << all;
    EXPECT_TRUE(contains(all, "电机:x.pbook: skipped")) << all;
    EXPECT_TRUE(contains(all, "broken.pbook: cannot be read")) << all;
    EXPECT_TRUE(contains(all, "left by an interrupted save")) << all;
}

// Every prefix of a save's operations, as a journaled file system keeps it
// and as one keeping only what was flushed keeps it after a power loss:
// each loads as exactly the old or the new tree. Both a save of a few books
// (flushed one by one) and of many (one flush of the file system).
TEST_F(TreeStorageFaults, EveryCrashStateOfBothModelsLoadsAsOldOrNew)
{
    const Versions v = versions();
    for (const bool many : {false, true}) {
        Prepared p;
        if (!many) {  // one change per kind of step, few books written
            p.tree = ParameterDirectory::load(p.dir.path());
            p.tree->get_directory("moving")->get_book("inner")->get("i")->set("value", 40);
            p.tree->get_directory("dropped")->get_directory("deep")->set("n", book_with("n", 1));
            p.tree->set("fresh", dir_with({{"z", book_with("z", 1)}}));
            p.tree->remove("gone");
        } else {
            for (int i = 0; i < 5; ++i) p.tree->set("extra" + std::to_string(i), book_with("e", i));
        }
        const std::string old_text = describe(*ParameterDirectory::load(p.dir.path()));
        const std::string new_text = describe(*p.tree);
        ovk_wxtest::CrashModel model(p.dir.path());
        hook::record_operations(true);
        p.tree->save(p.dir.path());
        hook::record_operations(false);
        const auto ops = hook::recorded_operations();
        int olds = 0, news = 0;
        for (std::size_t k = 0; k <= ops.size(); ++k) {
            for (const bool all : {true, false}) {
                TempFolder crashed;
                fs::remove(crashed.path());
                model.write(crashed.path(), all);
                std::string now;
                const std::string message = message_of([&] { now = describe(*ParameterDirectory::load(crashed.path())); });
                EXPECT_TRUE(now == old_text || now == new_text)
                    << (all ? "journaled" : "flushed only") << ", after " << k << " of " << ops.size() << ": " << message;
                (now == old_text ? olds : news)++;
            }
            if (k < ops.size()) model.apply(ops[k]);
        }
        EXPECT_GT(olds, 4);
        EXPECT_GT(news, 4);
    }
    (void)v;
}

// Two writers and two readers without write access, 100 rounds each: no
// reader ever sees books of two saves, and none fails while saves run.
TEST_F(TreeStorageFaults, ReadersWithoutWriteAccessNeverSeeAMix)
{
    TempFolder dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::group_read |
                                    fs::perms::others_exec | fs::perms::others_read);
    const auto tree_of = [](const std::string& stamp) {
        return dir_with({{"a", book_with("v", stamp)},
                         {"b", book_with("v", stamp)},
                         {"sub", dir_with({{"c", book_with("v", stamp)}, {"d", book_with("v", stamp)}})}});
    };
    tree_of("start")->save(dir.path());
    const fs::path done = dir / "writers-done";
    std::vector<pid_t> writers;
    for (int w = 0; w < 2; ++w) {
        const pid_t child = ::fork();
        if (child == 0) {
            int code = 0;
            try {
                for (int round = 0; round < 100; ++round)
                    tree_of("w" + std::to_string(w) + "-" + std::to_string(round))->save(dir.path());
            } catch (const std::exception& e) {
                std::fprintf(stderr, "writer: %s\n", e.what());
                code = 1;
            }
            ::_exit(code);
        }
        writers.push_back(child);
    }
    std::vector<pid_t> readers;
    for (int r = 0; r < 2; ++r) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(98);
            int mixed = 0, failed = 0, loads = 0;
            while (!fs::exists(done) || loads < 100) {
                ++loads;
                try {
                    auto tree = ParameterDirectory::load(dir.path());
                    std::set<std::string> stamps;
                    for (const auto& book : {tree->get_book("a"), tree->get_book("b"),
                                             tree->get_directory("sub")->get_book("c"),
                                             tree->get_directory("sub")->get_book("d")})
                        stamps.insert(book->get("v")->get("value").get<std::string>());
                    mixed += stamps.size() != 1;
                } catch (const std::exception& e) {
                    if (failed++ == 0) std::fprintf(stderr, "reader: %s\n", e.what());
                }
            }
            if (mixed || failed) std::fprintf(stderr, "reader: %d mixed, %d failed of %d\n", mixed, failed, loads);
            ::_exit(mixed || failed ? 1 : 0);
        }
        readers.push_back(child);
    }
    for (const pid_t w : writers) {
        int status = 0;
        ::waitpid(w, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    write_text(done, "");
    for (const pid_t r : readers) {
        int status = 0;
        ::waitpid(r, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

// Flushes to disk guard against power loss, which these tests simulate.
class NoFlushes : public ::testing::Environment {
    void SetUp() override { file_io::testing::skip_flushes(true); }
};
const auto* const no_flushes = ::testing::AddGlobalTestEnvironment(new NoFlushes);

OVK_MODEL_TEST_MAIN
