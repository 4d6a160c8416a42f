#pragma once
// The update protocol of a tree's folder. A save of a whole tree is one
// transaction:
//   1. take the folder's lock file (`.ovk:lock`; one writer at a time);
//   2. finish or undo whatever an interrupted save left (see recover);
//   3. write every new book under a short staging name (`.ovk:<n>`) in the
//      folder it goes to (or the nearest folder that exists) and flush it;
//   4. write the journal (`.ovk:journal`: every folder to create, rename,
//      deletion and folder removal, in order), flush it and the folder: from
//      here the save completes even after a crash;
//   5. carry the journal out, flush the folders it touched, remove it.
// A crash before step 4 leaves the old tree plus staging files, which the next
// load or save removes; after it, the next load or save completes the
// journal. Names starting with ".ovk:" are ours: ':' never occurs in a tree
// name, so they never collide with tree content.
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ovk_paratree::file_io {

// True for the names of our lock, journal and staging files.
bool is_protocol_name(std::string_view name);

// The exclusive lock of one tree folder, held while a save or a load runs.
// Waits up to `wait` for another holder, then throws ParaTreeError naming the
// folder. A folder that cannot be written gets no lock (writable() is false):
// nothing can change there through us anyway.
class FolderLock {
public:
    // Takes the lock of `folder`, waiting up to `wait` while another holder has it.
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds wait = std::chrono::milliseconds(2000));
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Gives the lock up, removing its file.
    ~FolderLock();
    // False when the folder cannot be written, so no lock was taken.
    bool writable() const { return fd_ >= 0; }

private:
    std::filesystem::path file_;
    int fd_ = -1;
};

// One step of the journal. Paths are relative to the tree folder unless
// absolute (a book reached through a link to elsewhere).
struct JournalStep {
    // What a step does; each kind is written to the journal as its letter.
    enum Kind : char {
        MakeFolder = 'M',   // create the folder unless it exists
        Move = 'R',         // rename `from` over `path` unless `from` is gone
        Delete = 'U',       // delete the file or link `path` if present
        RemoveFolder = 'D'  // remove the folder `path` if nothing is left in it
    };
    // What the step does.
    Kind kind;
    // The path the step acts on; for Move, the new name.
    std::string path;
    // For Move, the path renamed over `path`; empty for the other kinds.
    std::string from;
};

// Writes the journal durably, carries it out and removes it. Folders that
// RemoveFolder left because something else is in them are added to
// `remained` (paths as in the steps).
void run_journal(const std::filesystem::path& root, const std::vector<JournalStep>& steps,
                 std::vector<std::string>& remained);

// Completes the journal an interrupted save left in `root`, if any. Returns
// false when there was none.
bool recover(const std::filesystem::path& root);

// Flushes staging files to disk: all of them before the journal is written.
void flush_staging_files(const std::vector<std::filesystem::path>& files);

// Removes staging files of a save that failed before its journal.
void discard_staging_files(const std::vector<std::filesystem::path>& files);

// Removes staging files left in `folder` (not below it) by an interrupted save.
void remove_staging_files(const std::filesystem::path& folder);

// A new staging file in `folder` holding `data` (not flushed yet); its name.
// An existing `like` file passes its permissions on. `what` and `target` name
// the file in messages.
std::filesystem::path write_staging_file(const std::filesystem::path& folder, std::string_view data,
                                         const std::filesystem::path& like, const std::string& what,
                                         const std::filesystem::path& target);

// ---- for tests: stop or fail the protocol at a chosen file-system step ----
namespace testing {
// What happens past the limit: Stop ends every later step too, as a dead process would; Fail fails just the one.
enum class StepMode { Stop, Fail };
// After `steps` more file-system steps, the next one throws. Stop: every later
// step does nothing either (as if the process had died there), until
// reset(). Fail: only that one step fails, as a full disk would make it.
void limit_steps(long steps, StepMode mode);
void reset();
// Steps taken since the last limit_steps or reset.
long steps_taken();
// Leaves out the flushes to disk, which only matter if the machine stops:
// tests that stop or kill the process run many saves.
void skip_flushes(bool skip);
}  // namespace testing

}  // namespace ovk_paratree::file_io
