#include "platform/paratree/detail/tree_journal.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/detail/step_hook.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree::file_io {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Prefix = ".ovk~";
constexpr std::string_view OldPrefix = ".ovk:";
const std::string LockName = ".ovk~lock";
const std::string JournalName = ".ovk~journal";
const std::string NewJournalName = ".ovk~journal.new";
const std::string GenerationName = ".ovk~gen";
const std::string OldLockName = ".ovk:lock";
const std::string OldJournalName = ".ovk:journal";
const std::string OldNewJournalName = ".ovk:journal.new";

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

// Flushes a folder's names; some file systems cannot flush folders at all
// (EINVAL), which is no failure of the save.
void flush_folder(const fs::path& folder, bool gone_ok = false)
{
    step("flush-folder", folder);
    if (!flushes_on()) return;
    Fd fd{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (fd.fd < 0 && gone_ok && errno == ENOENT) return;  // removed by a later step
    if (fd.fd < 0) fail("flush folder", folder, errno);
    if (::fsync(fd.fd) != 0 && errno != EINVAL && errno != ENOTSUP) fail("flush folder", folder, errno);
}

fs::path resolve(const fs::path& root, const std::string& path)
{
    const fs::path p = to_path(path);
    return p.is_absolute() ? p : root / p;
}

fs::path parent_of(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

bool present(const fs::path& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// A staged file neither in place nor where the journal says: never a
// step done, and no failure the next attempt could mend.
struct Mismatch : ParaTreeError {
    using ParaTreeError::ParaTreeError;
};

// True when `file` holds exactly the content a step recorded.
bool holds_staged(const fs::path& file, const JournalStep& s)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) != s.size)
        return false;
    try {
        return content_hash(read_file(file, "staged book")) == s.hash;
    } catch (const ParaTreeError&) {
        return false;
    }
}

// Carries out the steps in order. Every step can run again with the same
// result, so a journal interrupted while being carried out is simply carried
// out again. `verify`: check staged content first (after an interruption).
void carry_out(const fs::path& root, const std::vector<JournalStep>& steps, std::vector<std::string>* remained,
               bool verify)
{
    const std::string later = " The save completes at the next load or save of `" + to_text(root) + "`.";
    std::vector<fs::path> touched;
    std::unordered_set<std::string> seen;  // as text: comparing paths part by part costs too much per step
    const auto touch = [&](const fs::path& folder) {
        if (seen.insert(folder.native()).second) touched.push_back(folder);
    };
    const auto mismatch = [&](const fs::path& path, const fs::path& from) {
        return Mismatch("Cannot complete the interrupted save into `" + to_text(root) + "`: the staged content `" +
                             to_text(from) + "` of `" + to_text(path) +
                             "` is missing or damaged and the file there is not what was staged; nothing was "
                             "changed. The folder needs checking by hand.");
    };
    for (const auto& s : steps) {
        fs::path path = resolve(root, s.path);
        switch (s.kind) {
        case JournalStep::MakeFolder:
            step("mkdir", path);
            if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) fail("create folder", path, errno, later);
            touch(parent_of(path));
            break;
        case JournalStep::MoveThroughLink:
        case JournalStep::Move:
        case JournalStep::MoveFolder: {
            if (s.kind == JournalStep::MoveThroughLink) {
                std::error_code ec;
                const fs::path real = fs::weakly_canonical(path, ec);
                if (!ec) path = real;
            }
            const fs::path from = resolve(root, s.from);
            const bool content = s.kind != JournalStep::MoveFolder && !s.from.empty() && s.hash != 0;
            if (verify && content && present(from) && !holds_staged(from, s)) throw mismatch(path, from);
            step("rename", from, path);
            if (::rename(from.c_str(), path.c_str()) != 0) {
                if (errno != ENOENT || present(from)) fail("save", path, errno, later);
                // Gone: moved before the interruption, if the target holds it.
                if (!present(path) || (content && verify && !holds_staged(path, s))) throw mismatch(path, from);
            }
            touch(parent_of(path));
            touch(parent_of(from));
            break;
        }
        case JournalStep::Delete:
            step("unlink", path);
            if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno, later);
            touch(parent_of(path));
            break;
        case JournalStep::RemoveFolder: {
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0) break;
            if (S_ISLNK(st.st_mode)) {
                // A linked folder: the link goes, never what it points to.
                step("unlink", path);
                if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno, later);
            } else {
                remove_staging_files(path);
                step("rmdir", path);
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
    for (const auto& folder : touched) flush_folder(folder, true);
}

// The generation file of one folder, open for the writer holding the lock.
class Generation {
public:
    explicit Generation(const fs::path& root) : file_(root / GenerationName)
    {
        step("create", file_);
        fd_.fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_.fd < 0) fail("save parameter directory to", root, errno);
        char buf[24] = {};
        const ssize_t n = ::pread(fd_.fd, buf, sizeof buf - 1, 0);
        value_ = n > 0 ? std::strtoull(buf, nullptr, 10) : 0;
    }
    // Moves on to the next odd (`busy`) or even value.
    void bump(bool busy)
    {
        value_ += (value_ % 2 == 0) == busy ? 1 : 2;
        char buf[24];
        const int n = std::snprintf(buf, sizeof buf, "%020llu\n", static_cast<unsigned long long>(value_));
        step("write", file_, {}, std::string_view(buf, static_cast<std::size_t>(n)));
        if (::pwrite(fd_.fd, buf, static_cast<std::size_t>(n), 0) != n) fail("save", file_, errno);
    }

private:
    fs::path file_;
    Fd fd_;
    std::uint64_t value_ = 0;
};

// Carries out `steps` with the generation odd, then removes `journal`.
// Returns what is pending when a step fails.
std::string complete(const fs::path& root, const fs::path& journal, const std::vector<JournalStep>& steps,
                     std::vector<std::string>* remained, bool verify)
{
    std::optional<Generation> generation;
    try {
        generation.emplace(root);
        generation->bump(true);
        carry_out(root, steps, remained, verify);
        step("unlink", journal);
        if (::unlink(journal.c_str()) != 0) fail("remove journal", journal, errno);
        flush_folder(root);
        generation->bump(false);
    } catch (const Mismatch&) {
        throw;
    } catch (const ParaTreeError& e) {
        if (!alive()) throw;  // a test's simulated death
        return std::string(e.what()) + (std::string(e.what()).find("completes at the next") == std::string::npos
                                            ? " The save completes at the next load or save of `" + to_text(root) + "`."
                                            : "");
    }
    return "";
}

std::map<std::string, std::pair<long, long>>& limits_cache()
{
    static std::map<std::string, std::pair<long, long>> cache;
    return cache;
}

}  // namespace

bool is_protocol_name(std::string_view name) { return name.starts_with(Prefix) || name.starts_with(OldPrefix); }

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds wait) : file_(folder / LockName)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int fd = -1;
        try {
            step("lock", file_);
            fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        } catch (const ParaTreeError& e) {
            why_not_ = e.what();  // an injected failure stands for any reason below
            return;
        }
        if (fd < 0) {
            // No write access, a read-only file system, no free inode or
            // space: nobody can save here through us; readers go without.
            why_not_ = std::strerror(errno);
            return;
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

std::uint64_t read_generation(const fs::path& root)
{
    Fd fd{::open((root / GenerationName).c_str(), O_RDONLY | O_CLOEXEC)};
    if (fd.fd < 0) return 0;
    char buf[24] = {};
    const ssize_t n = ::pread(fd.fd, buf, sizeof buf - 1, 0);
    return n > 0 ? std::strtoull(buf, nullptr, 10) : 0;
}

bool lock_held(const fs::path& root)
{
    const fs::path file = root / LockName;
    for (int attempt = 0; attempt < 100; ++attempt) {
        Fd fd{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
        if (fd.fd < 0) return false;
        struct stat held {}, now {};
        if (::fstat(fd.fd, &held) != 0 || ::stat(file.c_str(), &now) != 0 || held.st_ino != now.st_ino ||
            held.st_dev != now.st_dev)
            continue;  // a holder gave it up meanwhile: look at the file there now
        if (::flock(fd.fd, LOCK_SH | LOCK_NB) != 0) return true;
        ::flock(fd.fd, LOCK_UN);
        return false;
    }
    return true;
}

bool has_journal(const fs::path& root) { return present(root / JournalName) || present(root / OldJournalName); }

std::optional<std::vector<JournalStep>> read_journal(const fs::path& root)
{
    for (const auto& name : {JournalName, OldJournalName}) {
        const fs::path journal = root / name;
        if (!present(journal)) continue;
        std::string text;
        try {
            text = read_file(journal, "journal");
        } catch (const ParaTreeError&) {
            if (!present(journal)) continue;  // a writer just finished it
            throw;
        }
        return parse_journal(text, journal);
    }
    return std::nullopt;
}

fs::path write_staging_file(const fs::path& folder, std::string_view data, const fs::path& like,
                            const std::string& what, const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    Fd fd;
    fs::path temp;
    for (int attempt = 0; fd.fd < 0; ++attempt) {
        temp = folder / to_path(std::string(Prefix) + std::to_string(counter++));
        step("create", temp);
        fd.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd.fd < 0 && (errno != EEXIST || attempt > 100)) fail("save " + what, target, errno);
    }
    try {
        struct stat old {};
        if (::stat(like.c_str(), &old) == 0 && S_ISREG(old.st_mode) && ::fchmod(fd.fd, old.st_mode & 07777) != 0)
            fail("save " + what, target, errno);
        step("write", temp, {}, data);
        write_all(fd.fd, data, target, what);
    } catch (...) {
        if (alive()) ::unlink(temp.c_str());
        throw;
    }
    return temp;
}

void write_new_file(const fs::path& file, std::string_view data, const std::string& what)
{
    step("create", file);
    Fd fd{::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
    if (fd.fd < 0) fail("save " + what, file, errno);
    step("write", file, {}, data);
    write_all(fd.fd, data, file, what);
}

fs::path make_staging_folder(const fs::path& parent, const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0;; ++attempt) {
        const fs::path temp = parent / to_path(std::string(Prefix) + "d" + std::to_string(counter++));
        step("mkdir", temp);
        if (::mkdir(temp.c_str(), 0777) == 0) return temp;
        if (errno != EEXIST || attempt > 100) fail("create folder", target, errno);
    }
}

void make_new_folder(const fs::path& folder)
{
    step("mkdir", folder);
    if (::mkdir(folder.c_str(), 0777) != 0) fail("create folder", folder, errno);
}

void check_writable(const fs::path& folder)
{
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        fail("change folder", folder, errno, " Nothing was changed.");
}

void prove_writable(const fs::path& folder)
{
    static std::atomic<unsigned> counter{0};
    const fs::path probe = folder / to_path(std::string(Prefix) + "p" + std::to_string(counter++));
    step("create", probe);
    Fd fd{::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
    if (fd.fd < 0) fail("change folder", folder, errno, " Nothing was changed.");
    step("unlink", probe);
    if (::unlink(probe.c_str()) != 0) fail("change folder", folder, errno, " Nothing was changed.");
}

void check_limits(const fs::path& folder, const std::string& name, const fs::path& path)
{
    static std::mutex mutex;
    std::pair<long, long> limits;
    {
        std::lock_guard lock(mutex);
        auto& cache = limits_cache();
        const auto it = cache.find(folder.native());
        if (it != cache.end()) {
            limits = it->second;
        } else {
            const long name_max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
            const long path_max = ::pathconf(folder.c_str(), _PC_PATH_MAX);
            limits = {name_max > 0 ? name_max : NAME_MAX, path_max > 0 ? path_max : PATH_MAX};
            if (cache.size() > 256) cache.clear();
            cache.emplace(folder.native(), limits);
        }
    }
    if (static_cast<long>(name.size()) > limits.first)
        throw ParaTreeError("Cannot save `" + to_text(path) + "`: its name is " + std::to_string(name.size()) +
                            " bytes long, more than the " + std::to_string(limits.first) +
                            " the file system allows; nothing was changed. Choose a shorter name.");
    if (static_cast<long>(path.native().size()) >= limits.second)
        throw ParaTreeError("Cannot save `" + to_text(path) + "`: its path is " +
                            std::to_string(path.native().size()) + " bytes long, more than the " +
                            std::to_string(limits.second - 1) +
                            " the file system allows; nothing was changed. Choose shorter names or a shallower tree.");
}

std::string run_journal(const fs::path& root, const std::vector<JournalStep>& steps, std::vector<std::string>& remained)
{
    const fs::path fresh = root / NewJournalName, journal = root / JournalName;
    {
        // Made before the commit, so that a full disk fails the save here.
        Generation generation(root);
    }
    {
        step("create", fresh);
        Fd fd{::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)};
        if (fd.fd < 0) fail("save parameter directory to", root, errno);
        try {
            const std::string text = serialise_journal(steps);
            step("write", fresh, {}, text);
            write_all(fd.fd, text, fresh, "journal");
            step("flush", fresh);
            if (flushes_on() && ::fdatasync(fd.fd) != 0) fail("save journal", fresh, errno);
        } catch (...) {
            if (alive()) ::unlink(fresh.c_str());
            throw;
        }
    }
    step("rename", fresh, journal);
    if (::rename(fresh.c_str(), journal.c_str()) != 0) {
        const int err = errno;
        if (alive()) ::unlink(fresh.c_str());
        fail("save journal", journal, err);
    }
    try {
        flush_folder(root);  // the commit point: from here on the save completes
    } catch (...) {
        // Not known to be durable: undo it, so the failure reported is true.
        if (alive() && ::rename(journal.c_str(), fresh.c_str()) == 0) ::unlink(fresh.c_str());
        throw;
    }
    return complete(root, journal, steps, &remained, false);
}

std::string recover(const fs::path& root)
{
    if (alive()) {
        ::unlink((root / NewJournalName).c_str());  // never committed
        ::unlink((root / OldNewJournalName).c_str());
    }
    for (const auto& name : {JournalName, OldJournalName}) {
        const fs::path journal = root / name;
        if (!present(journal)) continue;
        const auto steps = parse_journal(read_file(journal, "journal"), journal);
        std::string pending = complete(root, journal, steps, nullptr, true);
        if (!pending.empty()) return pending;
    }
    return "";
}

void flush_staging(const std::vector<fs::path>& files, const std::vector<fs::path>& folders)
{
    // A few files are flushed one by one; many at once cost one flush of each
    // file system they are on (one journal commit instead of one per file),
    // which covers the folders' names there too.
    const bool one_by_one = files.size() <= 4;
    std::vector<dev_t> flushed;
    for (const auto& file : files) {
        step("flush", file);
        if (!flushes_on()) continue;
        Fd fd{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
        if (fd.fd < 0) fail("save", file, errno);
        if (one_by_one) {
            if (::fdatasync(fd.fd) != 0) fail("save", file, errno);
            continue;
        }
        struct stat st {};
        if (::fstat(fd.fd, &st) != 0) fail("save", file, errno);
        if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) continue;
        step("flush-all", file);
        if (::syncfs(fd.fd) != 0) fail("save", file, errno);
        flushed.push_back(st.st_dev);
    }
    for (const auto& folder : folders) {
        struct stat st {};
        if (!flushed.empty() && ::stat(folder.c_str(), &st) == 0 &&
            std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end())
            continue;
        flush_folder(folder);
    }
}

void discard_staging_files(const std::vector<fs::path>& files)
{
    if (!alive()) return;
    std::error_code ec;
    for (const auto& file : files) fs::remove_all(file, ec);
}

void remove_staging_files(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = to_text(it->path().filename());
        if (!is_protocol_name(name) || name == LockName || name == JournalName || name == GenerationName ||
            name == OldJournalName)
            continue;
        if (name == OldLockName) {
            // An earlier version's lock: stale unless someone holds it.
            Fd fd{::open(it->path().c_str(), O_RDONLY | O_CLOEXEC)};
            if (fd.fd < 0 || ::flock(fd.fd, LOCK_EX | LOCK_NB) != 0) continue;
        }
        step("unlink", it->path());
        std::error_code rec;
        fs::remove_all(it->path(), rec);
    }
}


}  // namespace ovk_paratree::file_io
