#include "platform/handy/file_system_observer.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace ovk_handy {

namespace {

long long nanoseconds(const struct timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

FileSystemObserver::EntryState state_of(const struct stat& st)
{
    FileSystemObserver::EntryState s;
    s.mode = st.st_mode;
    s.inode = st.st_ino;
    s.size = S_ISDIR(st.st_mode) ? 0 : static_cast<long long>(st.st_size);
    s.mtime_ns = nanoseconds(st.st_mtim);
    s.ctime_ns = nanoseconds(st.st_ctim);
    return s;
}

// Walks the folders below `root` depth first. `visit_folder` is called once
// per distinct folder (symbolic links followed, each folder once) and returns
// false to stop the walk; `visit_entry` sees every entry by its relative path
// and its own (not followed) state.
using FolderVisit = std::function<bool(const std::string& path)>;
using EntryVisit = std::function<void(const std::string& relative, const struct stat&)>;

bool walk(const std::string& root, const std::string& relative, std::set<std::pair<dev_t, ino_t>>& seen,
          const FolderVisit& visit_folder, const EntryVisit& visit_entry)
{
    const std::string folder = relative.empty() ? root : root + "/" + relative;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return true;
    if (!seen.insert({st.st_dev, st.st_ino}).second)
        return true;
    if (visit_folder && !visit_folder(folder))
        return false;

    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return true;  // unreadable: left out
    std::vector<std::string> subfolders;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string rel = relative.empty() ? name : relative + "/" + name;
        const std::string path = root + "/" + rel;
        // Without an entry visitor the kind from the listing spares a stat per file.
        unsigned char kind = e->d_type;
        if (visit_entry || kind == DT_UNKNOWN) {
            struct stat own {};
            if (::lstat(path.c_str(), &own) != 0)
                continue;  // gone meanwhile
            if (visit_entry)
                visit_entry(rel, own);
            kind = S_ISDIR(own.st_mode) ? DT_DIR : S_ISLNK(own.st_mode) ? DT_LNK : DT_REG;
        }
        struct stat target {};
        if (kind == DT_DIR || (kind == DT_LNK && ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)))
            subfolders.push_back(rel);
    }
    ::closedir(dir);

    for (const std::string& rel : subfolders)
        if (!walk(root, rel, seen, visit_folder, visit_entry))
            return false;
    return true;
}

bool walk_tree(const std::filesystem::path& folder, const FolderVisit& visit_folder, const EntryVisit& visit_entry)
{
    std::set<std::pair<dev_t, ino_t>> seen;
    return walk(folder.string(), "", seen, visit_folder, visit_entry);
}

}  // namespace

FileSystemObserver::Snapshot FileSystemObserver::take_snapshot(const std::filesystem::path& folder)
{
    Snapshot snapshot;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return snapshot;
    snapshot.emplace("", state_of(st));
    walk_tree(folder, nullptr,
              [&](const std::string& relative, const struct stat& own) { snapshot.emplace(relative, state_of(own)); });
    return snapshot;
}

FileSystemObserver::FileSystemObserver(const std::filesystem::path& folder, Method method)
    : folder_(folder), method_(method)
{
    // Trailing separators would only make the relative paths awkward.
    if (folder_.has_relative_path() && !folder_.has_filename())
        folder_ = folder_.parent_path();
    if (method_ == Method::Notifications && !start_notifications())
        method_ = Method::Snapshots;
    if (method_ == Method::Snapshots)
        before_ = take_snapshot(folder_);
}

FileSystemObserver::~FileSystemObserver()
{
    stop_notifications();
}

bool FileSystemObserver::start_notifications()
{
#ifdef __linux__
    struct stat st {};
    if (::stat(folder_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;  // nothing to attach watches to: snapshots see it appear
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return false;
    constexpr uint32_t mask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO
                              | IN_DELETE_SELF | IN_MOVE_SELF;
    bool root = true;
    const bool complete = walk_tree(folder_,
                                    [&](const std::string& path) {
                                        const bool ok = ::inotify_add_watch(fd_, path.c_str(), mask) >= 0;
                                        // A subfolder we may not read is left out; the folder
                                        // itself, or running out of watches, is not.
                                        const bool fine = ok || (!root && errno == EACCES);
                                        root = false;
                                        return fine;
                                    },
                                    nullptr);
    if (!complete) {
        stop_notifications();
        return false;
    }
    return true;
#else
    return false;
#endif
}

void FileSystemObserver::stop_notifications()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void FileSystemObserver::drain_events() const
{
#ifdef __linux__
    if (fd_ < 0)
        return;
    alignas(struct inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;  // EAGAIN: the queue is empty
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
            // IN_IGNORED only says a watch went away, which its folder's removal already reported.
            if (!(event->mask & IN_IGNORED))
                changed_ = true;
            at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
        }
    }
#endif
}

void FileSystemObserver::close()
{
    if (!open_)
        return;
    if (method_ == Method::Notifications) {
        drain_events();
        stop_notifications();
    } else {
        changed_ = take_snapshot(folder_) != before_;
        before_.clear();
    }
    open_ = false;
}

bool FileSystemObserver::changed() const
{
    if (open_ && !changed_) {
        if (method_ == Method::Notifications)
            drain_events();
        else
            changed_ = take_snapshot(folder_) != before_;
    }
    return changed_;
}

}  // namespace ovk_handy
