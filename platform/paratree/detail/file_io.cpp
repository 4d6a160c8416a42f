#include "platform/paratree/detail/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paratree/detail/utf8_check.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree::file_io {

namespace fs = std::filesystem;

fs::path to_path(std::string_view utf8)
{
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string to_text(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& file, const std::string& action, int err)
{
    throw ParaTreeError("Cannot " + action + " " + what + " `" + to_text(file) + "`: " +
                        std::strerror(err) + ".");
}

// Closes a descriptor on every path out of a function.
struct Fd {
    int fd = -1;
    ~Fd() { if (fd >= 0) ::close(fd); }
    int release() { int f = fd; fd = -1; return f; }
};

}  // namespace

std::string read_file(const fs::path& file, const std::string& what)
{
    // O_NONBLOCK keeps a FIFO from blocking the open; anything but a regular
    // file is refused right after.
    Fd fd{::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (fd.fd < 0) fail(what, file, "read", errno);
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0) fail(what, file, "read", errno);
    if (S_ISDIR(st.st_mode)) fail(what, file, "read", EISDIR);
    if (!S_ISREG(st.st_mode))
        throw ParaTreeError("Cannot read " + what + " `" + to_text(file) + "`: it is not a regular file.");
    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == data.size()) data.resize(data.size() + 4096);  // the file may have grown
        const ssize_t r = ::read(fd.fd, data.data() + got, data.size() - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(what, file, "read", errno);
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    data.resize(got);
    return data;
}

StagedFiles::~StagedFiles()
{
    for (const auto& entry : entries_) ::unlink(entry.temp.c_str());
}

void StagedFiles::stage(const fs::path& file, std::string_view data, const std::string& what)
{
    static std::atomic<unsigned> counter{0};
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    // Short, so that a book name near the file-name limit still leaves room,
    // and ".ovk~" marks it as ours for the clean-up of an interrupted save.
    const std::string base = ".ovk~" + std::to_string(::getpid()) + "-";

    Fd fd;
    fs::path temp;
    for (int attempt = 0; fd.fd < 0; ++attempt) {
        temp = folder / to_path(base + std::to_string(counter++));
        fd.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd.fd < 0 && (errno != EEXIST || attempt > 100)) fail(what, file, "save", errno);
    }

    int err = 0;
    struct stat old {};
    if (::stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        if (::fchmod(fd.fd, old.st_mode & 07777) != 0) err = errno;
    }
    std::size_t done = 0;
    while (err == 0 && done < data.size()) {
        const ssize_t w = ::write(fd.fd, data.data() + done, data.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            err = errno;
        } else {
            done += static_cast<std::size_t>(w);
        }
    }
    if (::close(fd.release()) != 0 && err == 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        fail(what, file, "save", err);
    }
    entries_.push_back({temp, file, what});
}

void StagedFiles::commit()
{
    // A few files are flushed one by one; many at once cost one flush of each
    // file system they are on (one journal commit instead of one per file).
#ifdef __linux__
    const bool one_by_one = entries_.size() <= 4;
#else
    const bool one_by_one = true;
#endif
    std::vector<dev_t> flushed;
    for (const auto& entry : entries_) {
        Fd fd{::open(entry.temp.c_str(), O_RDONLY | O_CLOEXEC)};
        if (fd.fd < 0) fail(entry.what, entry.file, "save", errno);
        if (one_by_one) {
            if (::fdatasync(fd.fd) != 0) fail(entry.what, entry.file, "save", errno);
            continue;
        }
#ifdef __linux__
        struct stat st {};
        if (::fstat(fd.fd, &st) != 0) fail(entry.what, entry.file, "save", errno);
        if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) continue;
        if (::syncfs(fd.fd) != 0) fail(entry.what, entry.file, "save", errno);
        flushed.push_back(st.st_dev);
#endif
    }
    std::vector<fs::path> folders;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (::rename(entry.temp.c_str(), entry.file.c_str()) != 0) {
            const int err = errno;
            const Entry failed = entry;
            entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(i));
            fail(failed.what, failed.file, "save", err);
        }
        const fs::path folder = entry.file.has_parent_path() ? entry.file.parent_path() : fs::path(".");
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    entries_.clear();
    for (const auto& folder : folders) sync_folder(folder);
}

std::optional<FileStamp> stamp_of(const fs::path& file)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return std::nullopt;
    FileStamp out;
    out.dev = static_cast<std::uint64_t>(st.st_dev);
    out.ino = static_cast<std::uint64_t>(st.st_ino);
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    out.ctime_ns = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return out;
}

void sync_folder(const fs::path& folder)
{
    Fd fd{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (fd.fd < 0) fail("folder", folder, "flush", errno);
    // Some file systems cannot flush a folder at all (EINVAL): no failure.
    if (::fsync(fd.fd) != 0 && errno != EINVAL && errno != ENOTSUP) fail("folder", folder, "flush", errno);
}

}  // namespace ovk_paratree::file_io

#include "platform/paratree/invalid_name_characters.h"

namespace ovk_paratree::file_io {

void require_valid_name(const std::string& name, const std::string& kind)
{
    const std::string why = why_invalid_name(name);
    if (!why.empty()) throw ParaTreeError(kind + " `" + name + "` is invalid: " + why + ".");
}

void require_valid_entry_name(const std::string& name, bool directory)
{
    const std::string why = why_invalid_entry_name(name, directory ? StoredAs::Folder : StoredAs::BookFile);
    if (!why.empty())
        throw ParaTreeError((directory ? "Directory name `" : "Book name `") + name + "` is invalid: " + why + ".");
}

}  // namespace ovk_paratree::file_io
