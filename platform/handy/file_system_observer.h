#pragma once
// Tells whether anything under a folder changed on disk while it was watched:
// a file or folder created, removed, written to, renamed or given other
// attributes, at any depth. Reading does not count.
//
//   ovk_handy::FileSystemObserver observer(folder);   // watching starts here
//   ... work that may write into the folder ...
//   observer.close();
//   if (observer.changed()) ...
//
// By default the kernel's file notifications (inotify) watch every folder of
// the tree; the events are queued by the kernel and only looked at when asked,
// so no thread runs meanwhile. Where notifications are not available (another
// system, or the per-user watch limit reached) the observer compares a
// snapshot of the tree taken at construction with one taken at close instead.
// A folder that does not exist yet is watched by snapshot too: it counts as
// changed when it exists at close.
//
// Symbolic links to folders are followed (each folder is watched once, so a
// link back into the tree does no harm). Subfolders that cannot be read are
// left out. Used on one thread only.
#include <filesystem>
#include <map>
#include <string>

namespace ovk_handy {

class FileSystemObserver {
public:
    enum class Method {
        Notifications,  // kernel notifications; falls back to Snapshots when unavailable
        Snapshots,      // compare the tree's entries (kind, size, times, inode) at close
    };

    explicit FileSystemObserver(const std::filesystem::path& folder, Method method = Method::Notifications);
    ~FileSystemObserver();
    FileSystemObserver(const FileSystemObserver&) = delete;
    FileSystemObserver& operator=(const FileSystemObserver&) = delete;

    // Stops watching and settles the answer of changed(). Calling it again does nothing.
    void close();
    bool is_open() const { return open_; }

    // True when anything under the folder changed between construction and
    // close (or now, while still open).
    bool changed() const;

    const std::filesystem::path& folder() const { return folder_; }
    // The method in use, after any fall-back.
    Method method() const { return method_; }

    // One entry of a snapshot: what identifies a file's state on disk.
    struct EntryState {
        unsigned mode = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long mtime_ns = 0;
        long long ctime_ns = 0;
        friend bool operator==(const EntryState&, const EntryState&) = default;
    };
    // Relative path -> state; the folder itself is stored under "".
    using Snapshot = std::map<std::string, EntryState>;

    // The current state of every entry under `folder` (empty when it does not exist).
    static Snapshot take_snapshot(const std::filesystem::path& folder);

private:
    bool start_notifications();
    void stop_notifications();
    // Reads the queued events; any of them (but a removed watch's notice) is a change.
    void drain_events() const;

    std::filesystem::path folder_;
    Method method_;
    bool open_ = true;
    mutable int fd_ = -1;            // the notification queue, while watching
    mutable bool changed_ = false;
    Snapshot before_;                // the snapshot taken at construction
};

}  // namespace ovk_handy
