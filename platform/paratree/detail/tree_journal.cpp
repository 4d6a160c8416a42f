#include "platform/paratree/detail/tree_journal.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree::file_io {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Prefix = ".ovk:";
const std::string LockName = ".ovk:lock";
const std::string JournalName = ".ovk:journal";
const std::string NewJournalName = ".ovk:journal.new";
constexpr std::string_view JournalHeader = "ovk-tree-journal 1\n";

// The test hook: how many steps may still run (-1: any number).
std::atomic<long> steps_left{-1};
std::atomic<long> taken{0};
std::atomic<bool> stopped{false};
std::atomic<testing::StepMode> step_mode{testing::StepMode::Stop};
std::atomic<bool> flushes{true};

int flush_file(int fd) { return flushes ? ::fdatasync(fd) : 0; }

// Called before every change of the file system the protocol makes.
void step(const fs::path& path)
{
    if (stopped) throw ParaTreeError("Cannot change `" + to_text(path) + "`: stopped for a test.");
    ++taken;
    long left = steps_left.load();
    if (left < 0) return;
    steps_left = left - 1;
    if (left > 0) return;
    if (step_mode == testing::StepMode::Stop) stopped = true;
    else steps_left = -1;
    throw ParaTreeError("Cannot change `" + to_text(path) + "`: failure injected for a test.");
}

// False once a test stopped the protocol: clean-up must not touch the disk
// then, as a dead process would not.
bool alive() { return !stopped; }

[[noreturn]] void fail(const std::string& action, const fs::path& path, int err, const std::string& after = "")
{
    throw ParaTreeError("Cannot " + action + " `" + to_text(path) + "`: " + std::strerror(err) + "." + after);
}

struct Fd {
    int fd = -1;
    ~Fd() { if (fd >= 0) ::close(fd); }
};

void write_all(int fd, std::string_view data, const fs::path& path, const std::string& what)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t w = ::write(fd, data.data() + done, data.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            fail("save " + what, path, errno);
        }
        done += static_cast<std::size_t>(w);
    }
}

void flush_folder(const fs::path& folder)
{
    step(folder);
    if (flushes) sync_folder(folder);
}

fs::path resolve(const fs::path& root, const std::string& path)
{
    const fs::path p = to_path(path);
    return p.is_absolute() ? p : root / p;
}

fs::path parent_of(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

std::string serialise(const std::vector<JournalStep>& steps)
{
    std::string out(JournalHeader);
    for (const auto& s : steps) {
        out += static_cast<char>(s.kind);
        out += '\t';
        out += s.path;
        if (s.kind == JournalStep::Move) {
            out += '\t';
            out += s.from;
        }
        out += '\n';
    }
    out += "end " + std::to_string(steps.size()) + "\n";
    return out;
}

std::vector<JournalStep> parse(const std::string& text, const fs::path& file)
{
    const auto bad = [&] {
        return ParaTreeError("The journal `" + to_text(file) +
                             "` of an interrupted save is damaged; the folder needs checking by hand.");
    };
    if (!text.starts_with(JournalHeader)) throw bad();
    std::vector<JournalStep> steps;
    std::size_t pos = JournalHeader.size();
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) throw bad();
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.starts_with("end ")) {
            if (line != "end " + std::to_string(steps.size()) || pos != text.size()) throw bad();
            return steps;
        }
        if (line.size() < 3 || line[1] != '\t' || std::string_view("MRUD").find(line[0]) == std::string_view::npos)
            throw bad();
        JournalStep s{static_cast<JournalStep::Kind>(line[0]), line.substr(2), {}};
        if (s.kind == JournalStep::Move) {
            const auto tab = s.path.find('\t');
            if (tab == std::string::npos) throw bad();
            s.from = s.path.substr(tab + 1);
            s.path.resize(tab);
        }
        steps.push_back(std::move(s));
    }
    throw bad();
}

// Every step can run again with the same result, so a journal interrupted
// while being carried out is simply carried out again.
void carry_out(const fs::path& root, const std::vector<JournalStep>& steps, std::vector<std::string>* remained)
{
    const std::string later = " The save completes at the next load or save of `" + to_text(root) + "`.";
    std::vector<fs::path> touched;
    const auto touch = [&](const fs::path& folder) {
        if (std::find(touched.begin(), touched.end(), folder) == touched.end()) touched.push_back(folder);
    };
    for (const auto& s : steps) {
        const fs::path path = resolve(root, s.path);
        step(path);
        switch (s.kind) {
        case JournalStep::MakeFolder:
            if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) fail("create folder", path, errno, later);
            touch(parent_of(path));
            break;
        case JournalStep::Move: {
            const fs::path from = resolve(root, s.from);
            if (::rename(from.c_str(), path.c_str()) != 0) {
                if (errno != ENOENT) fail("save parameter book", path, errno, later);
                // Gone: moved before the interruption, if the target is there.
                struct stat st {};
                if (::lstat(path.c_str(), &st) != 0)
                    throw ParaTreeError("Cannot save parameter book `" + to_text(path) +
                                        "`: its staged content `" + to_text(from) + "` is missing.");
            }
            touch(parent_of(path));
            touch(parent_of(from));
            break;
        }
        case JournalStep::Delete:
            if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno, later);
            touch(parent_of(path));
            break;
        case JournalStep::RemoveFolder: {
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0) break;
            if (S_ISLNK(st.st_mode)) {
                // A linked folder: the link goes, never what it points to.
                if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno, later);
            } else {
                remove_staging_files(path);
                if (::rmdir(path.c_str()) != 0) {
                    if (errno != ENOTEMPTY && errno != EEXIST) fail("delete folder", path, errno, later);
                    if (remained) remained->push_back(s.path);
                    break;
                }
            }
            touch(parent_of(path));
            break;
        }
        }
    }
    for (const auto& folder : touched) flush_folder(folder);
}

}  // namespace

bool is_protocol_name(std::string_view name) { return name.starts_with(Prefix); }

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds wait) : file_(folder / LockName)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EACCES || errno == EROFS || errno == EPERM) return;  // read-only: no writer here
            fail("lock folder", folder, errno);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us may have removed the file after we opened
            // it: then the lock is on a file nobody else sees; start over.
            struct stat held {}, now {};
            if (::fstat(fd, &held) == 0 && ::stat(file_.c_str(), &now) == 0 && held.st_ino == now.st_ino &&
                held.st_dev == now.st_dev) {
                fd_ = fd;
                return;
            }
            ::close(fd);
            continue;
        }
        const int err = errno;
        ::close(fd);
        if (err != EWOULDBLOCK && err != EINTR) fail("lock folder", folder, err);
        if (std::chrono::steady_clock::now() >= deadline)
            throw ParaTreeError("The parameter directory `" + to_text(folder) +
                                "` is being saved by another program (it holds `" + LockName +
                                "`); nothing was changed. Try again when that save has finished.");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

FolderLock::~FolderLock()
{
    if (fd_ < 0) return;
    if (alive()) ::unlink(file_.c_str());  // before unlocking: see the check in the constructor
    ::close(fd_);
}

fs::path write_staging_file(const fs::path& folder, std::string_view data, const fs::path& like,
                            const std::string& what, const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    Fd fd;
    fs::path temp;
    for (int attempt = 0; fd.fd < 0; ++attempt) {
        temp = folder / to_path(std::string(Prefix) + std::to_string(counter++));
        step(temp);
        fd.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd.fd < 0 && (errno != EEXIST || attempt > 100)) fail("save " + what, target, errno);
    }
    try {
        struct stat old {};
        if (::stat(like.c_str(), &old) == 0 && S_ISREG(old.st_mode) && ::fchmod(fd.fd, old.st_mode & 07777) != 0)
            fail("save " + what, target, errno);
        step(temp);
        write_all(fd.fd, data, target, what);
    } catch (...) {
        if (alive()) ::unlink(temp.c_str());
        throw;
    }
    return temp;
}

void run_journal(const fs::path& root, const std::vector<JournalStep>& steps, std::vector<std::string>& remained)
{
    const fs::path fresh = root / NewJournalName, journal = root / JournalName;
    {
        step(fresh);
        Fd fd{::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)};
        if (fd.fd < 0) fail("save parameter directory to", root, errno);
        try {
            write_all(fd.fd, serialise(steps), fresh, "journal");
            step(fresh);
            if (flush_file(fd.fd) != 0) fail("save journal", fresh, errno);
        } catch (...) {
            if (alive()) ::unlink(fresh.c_str());
            throw;
        }
    }
    step(journal);
    if (::rename(fresh.c_str(), journal.c_str()) != 0) {
        const int err = errno;
        if (alive()) ::unlink(fresh.c_str());
        fail("save journal", journal, err);
    }
    flush_folder(root);  // the commit point: from here on the save completes
    carry_out(root, steps, &remained);
    step(journal);
    if (::unlink(journal.c_str()) != 0) fail("remove journal", journal, errno);
    flush_folder(root);
}

bool recover(const fs::path& root)
{
    const fs::path journal = root / JournalName;
    if (alive()) ::unlink((root / NewJournalName).c_str());  // never committed
    struct stat st {};
    if (::lstat(journal.c_str(), &st) != 0) return false;
    const auto steps = parse(read_file(journal, "journal"), journal);
    carry_out(root, steps, nullptr);
    step(journal);
    if (::unlink(journal.c_str()) != 0) fail("remove journal", journal, errno);
    flush_folder(root);
    return true;
}

void flush_staging_files(const std::vector<fs::path>& files)
{
    // A few files are flushed one by one; many at once cost one flush of each
    // file system they are on (one journal commit instead of one per file).
    const bool one_by_one = files.size() <= 4;
    std::vector<dev_t> flushed;
    for (const auto& file : files) {
        step(file);
        Fd fd{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
        if (fd.fd < 0) fail("save", file, errno);
        if (!flushes) continue;
        if (one_by_one) {
            if (::fdatasync(fd.fd) != 0) fail("save", file, errno);
            continue;
        }
        struct stat st {};
        if (::fstat(fd.fd, &st) != 0) fail("save", file, errno);
        if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) continue;
        if (::syncfs(fd.fd) != 0) fail("save", file, errno);
        flushed.push_back(st.st_dev);
    }
}

void discard_staging_files(const std::vector<fs::path>& files)
{
    if (!alive()) return;
    for (const auto& file : files) ::unlink(file.c_str());
}

void remove_staging_files(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = to_text(it->path().filename());
        if (!is_protocol_name(name) || name == LockName || name == JournalName) continue;
        step(it->path());
        ::unlink(it->path().c_str());
    }
}

namespace testing {

void limit_steps(long steps, StepMode mode)
{
    step_mode = mode;
    stopped = false;
    taken = 0;
    steps_left = steps;
}

void reset()
{
    steps_left = -1;
    stopped = false;
    taken = 0;
}

long steps_taken() { return taken; }

void skip_flushes(bool skip) { flushes = !skip; }

}  // namespace testing

}  // namespace ovk_paratree::file_io
