#include "platform/handy/file_system_observer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/stat.h>

namespace fs = std::filesystem;
using ovk_handy::FileSystemObserver;
using Method = FileSystemObserver::Method;

namespace {

void write_file(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A small tree: top/a.txt, top/sub/b.txt, top/sub/deeper/c.txt.
class ObserverTest : public ::testing::TestWithParam<Method> {
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "ovk-observer-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        base = templ;
        top = base / "top";
        fs::create_directories(top / "sub" / "deeper");
        write_file(top / "a.txt", "alpha");
        write_file(top / "sub" / "b.txt", "beta");
        write_file(top / "sub" / "deeper" / "c.txt", "gamma");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(top, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(base, ec);
    }

    // Watches `top` while `act` runs and answers whether a change was seen.
    bool changed_by(const std::function<void()>& act)
    {
        FileSystemObserver observer(top, GetParam());
        act();
        observer.close();
        return observer.changed();
    }

    fs::path base, top;
};

TEST_P(ObserverTest, ReadingAndListingIsNoChange)
{
    EXPECT_FALSE(changed_by([&] {
        EXPECT_EQ(read_file(top / "sub" / "deeper" / "c.txt"), "gamma");
        for (const auto& e : fs::recursive_directory_iterator(top))
            (void)e.is_directory();
        // Writing outside the folder is none of its business either.
        write_file(base / "outside.txt", "x");
        fs::create_directory(base / "top-sibling");
    }));
}

TEST_P(ObserverTest, CreatingAnywhereIsAChange)
{
    EXPECT_TRUE(changed_by([&] { write_file(top / "new.txt", ""); }));
    EXPECT_TRUE(changed_by([&] { write_file(top / "sub" / "deeper" / "new.txt", "n"); }));
    EXPECT_TRUE(changed_by([&] { fs::create_directory(top / "sub" / "deeper" / "folder"); }));
    // Made and removed again while watched: still a change on the way.
    if (GetParam() == Method::Notifications) {
        EXPECT_TRUE(changed_by([&] {
            write_file(top / "sub" / "tmp.txt", "t");
            fs::remove(top / "sub" / "tmp.txt");
        }));
    }
}

TEST_P(ObserverTest, RemovingIsAChange)
{
    EXPECT_TRUE(changed_by([&] { fs::remove(top / "sub" / "deeper" / "c.txt"); }));
    EXPECT_TRUE(changed_by([&] { fs::remove_all(top / "sub"); }));
}

TEST_P(ObserverTest, ModifyingIsAChange)
{
    EXPECT_TRUE(changed_by([&] { write_file(top / "sub" / "b.txt", "beta, longer"); }));
    EXPECT_TRUE(changed_by([&] { fs::permissions(top / "a.txt", fs::perms::owner_read); }));
    if (GetParam() == Method::Notifications) {
        // Same size, written at once: timestamps may not tell, the kernel does.
        EXPECT_TRUE(changed_by([&] { write_file(top / "sub" / "deeper" / "c.txt", "GAMMA"); }));
    }
}

TEST_P(ObserverTest, RenamingIsAChange)
{
    EXPECT_TRUE(changed_by([&] { fs::rename(top / "sub" / "deeper" / "c.txt", top / "sub" / "deeper" / "d.txt"); }));
    EXPECT_TRUE(changed_by([&] { fs::rename(top / "sub", top / "other"); }));
    // Moving the whole folder away, or a file out of it.
    EXPECT_TRUE(changed_by([&] { fs::rename(top / "a.txt", base / "a.txt"); }));
    EXPECT_TRUE(changed_by([&] { fs::rename(top, base / "moved"); }));
}

TEST_P(ObserverTest, ReplacingAFileAtomicallyIsAChange)
{
    // What a careful writer does: a temporary file renamed over the old one.
    EXPECT_TRUE(changed_by([&] {
        write_file(top / "sub" / ".b.tmp", "beta");
        fs::rename(top / "sub" / ".b.tmp", top / "sub" / "b.txt");
    }));
}

TEST_P(ObserverTest, ChangeInAFolderCreatedDuringTheWatch)
{
    // Only the creation of `late` is needed to count; its content must not confuse.
    EXPECT_TRUE(changed_by([&] {
        fs::create_directories(top / "late" / "inner");
        write_file(top / "late" / "inner" / "x.txt", "x");
    }));
}

TEST_P(ObserverTest, ChangedIsSettledByClose)
{
    FileSystemObserver observer(top, GetParam());
    EXPECT_TRUE(observer.is_open());
    EXPECT_FALSE(observer.changed());
    observer.close();
    EXPECT_FALSE(observer.is_open());
    write_file(top / "after.txt", "late");  // after close: not watched any more
    observer.close();
    EXPECT_FALSE(observer.changed());

    FileSystemObserver second(top, GetParam());
    write_file(top / "during.txt", "d");
    EXPECT_TRUE(second.changed());  // may be asked while still open
    second.close();
    EXPECT_TRUE(second.changed());
}

TEST_P(ObserverTest, FolderThatAppearsOrStaysAbsent)
{
    const fs::path missing = base / "not-yet";
    {
        FileSystemObserver observer(missing, GetParam());
        EXPECT_EQ(observer.method(), Method::Snapshots);
        observer.close();
        EXPECT_FALSE(observer.changed());
    }
    FileSystemObserver observer(missing, GetParam());
    fs::create_directory(missing);
    observer.close();
    EXPECT_TRUE(observer.changed());
}

TEST_P(ObserverTest, LinkBackIntoTheTreeIsWatchedOnce)
{
    fs::create_directory_symlink(top, top / "sub" / "loop");
    EXPECT_FALSE(changed_by([] {}));
    EXPECT_TRUE(changed_by([&] { write_file(top / "sub" / "deeper" / "c.txt", "changed"); }));
}

TEST_P(ObserverTest, TrailingSeparatorNamesTheSameFolder)
{
    FileSystemObserver observer(top.string() + "/", GetParam());
    EXPECT_EQ(observer.folder(), top);
    write_file(top / "sub" / "z.txt", "z");
    observer.close();
    EXPECT_TRUE(observer.changed());
}

INSTANTIATE_TEST_SUITE_P(Methods, ObserverTest, ::testing::Values(Method::Notifications, Method::Snapshots),
                         [](const auto& info) {
                             return info.param == Method::Notifications ? std::string("Notifications")
                                                                        : std::string("Snapshots");
                         });

TEST(FileSystemObserver, NotificationsAreUsedWhenAvailable)
{
    std::string folder = (fs::temp_directory_path() / "ovk-observer-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    {
        FileSystemObserver observer(folder);
        EXPECT_EQ(observer.method(), Method::Notifications);
    }
    fs::remove_all(folder);
}

}  // namespace
