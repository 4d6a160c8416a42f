#pragma once
// The update protocol of a tree's folder. A save of a whole tree is one
// transaction:
//   1. take the folder's lock file (`.ovk~lock`; one writer at a time);
//   2. finish whatever an interrupted save left (see recover);
//   3. prove that every step can be carried out: every final name fits the
//      file system's limits, every folder that gains or loses an entry takes
//      a staging file, new folders are made under staging names (`.ovk~<n>`)
//      and every new book is written under a staging name; flush all of it
//      and every folder that gained a name;
//   4. write the journal (`.ovk~journal`, see journal_format.h), flush it and
//      the folder: the commit point, from here the save completes;
//   5. with the save generation (`.ovk~gen`) odd, carry the journal out,
//      flush the folders it touched, remove it, make the generation even.
// A crash before step 4 leaves the old tree plus staging files, which the next
// load or save under the lock removes; after it, the next load or save
// completes the journal. Readers that cannot take the lock read between two
// equal even generations. Names starting with ".ovk~" are ours and no valid
// directory or book name (see is_valid_entry_name); the ".ovk:" names of
// earlier versions are still recognised and cleaned.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paratree/detail/journal_format.h"

namespace ovk_paratree::file_io {

// True for the names of our lock, journal, generation and staging files,
// in this version's spelling and the earlier one's.
bool is_protocol_name(std::string_view name);

// The exclusive lock of one tree folder, held while a save or a load runs.
// Waits up to `wait` for another holder, then throws ParaTreeError naming the
// folder. When the lock file cannot be created (no write access, a read-only
// or full file system) no lock is taken: writable() is false and why_not()
// tells the reason.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds wait = std::chrono::milliseconds(2000));
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Gives the lock up, removing its file.
    ~FolderLock();
    bool writable() const { return fd_ >= 0; }
    const std::string& why_not() const { return why_not_; }

private:
    std::filesystem::path file_;
    int fd_ = -1;
    std::string why_not_;
};

// ---- for readers without the lock ----
// The save generation of `root`: odd while a journal is carried out; 0 for a
// folder that has none.
std::uint64_t read_generation(const std::filesystem::path& root);
// True while another process holds the lock of `root`.
bool lock_held(const std::filesystem::path& root);
// True while `root` holds a journal (a save between its commit and its end).
bool has_journal(const std::filesystem::path& root);

// ---- journals ----
// The steps of the journal an interrupted save left in `root`; nullopt when
// there is none. Throws ParaTreeError when it is damaged.
std::optional<std::vector<JournalStep>> read_journal(const std::filesystem::path& root);

// Writes the journal durably (the commit point), carries it out and removes
// it. Throws, having changed nothing, when it fails before the commit point.
// A failure after it is returned as text telling what is pending and why
// ("" when everything was done); the next load or save completes it.
// Folders that RemoveFolder left because something else is in them are
// added to `remained`.
std::string run_journal(const std::filesystem::path& root, const std::vector<JournalStep>& steps,
                        std::vector<std::string>& remained);

// Completes the journal an interrupted save left in `root`, if any, checking
// every staged file against its record first. Returns what is still pending
// and why when a step fails ("" when nothing is). Throws ParaTreeError
// naming the folder when the journal is damaged or a staged file is neither
// in place nor where the journal says.
std::string recover(const std::filesystem::path& root);

// ---- staging ----
// A new staging file in `folder` holding `data` (not flushed yet); its path.
// An existing `like` file passes its permissions on. `what` and `target`
// name the file in messages.
std::filesystem::path write_staging_file(const std::filesystem::path& folder, std::string_view data,
                                         const std::filesystem::path& like, const std::string& what,
                                         const std::filesystem::path& target);
// Writes `data` as the new file `file` inside a staging folder.
void write_new_file(const std::filesystem::path& file, std::string_view data, const std::string& what);
// A new, empty folder under a staging name in `parent`; its path.
std::filesystem::path make_staging_folder(const std::filesystem::path& parent, const std::filesystem::path& target);
// Creates a folder `folder` inside a staging folder.
void make_new_folder(const std::filesystem::path& folder);
// Proves that entries can be added to and removed from `folder` by doing so
// with a staging file; throws ParaTreeError naming `folder` otherwise.
void prove_writable(const std::filesystem::path& folder);
// The same for a folder of another tree (reached through a link), where no
// file of ours may be left: its permissions are checked instead.
void check_writable(const std::filesystem::path& folder);
// Throws ParaTreeError unless `name` fits the file-name limit and `path` the
// path limit of the file system holding `folder` (queried once per folder).
void check_limits(const std::filesystem::path& folder, const std::string& name, const std::filesystem::path& path);

// Flushes the staged files and the folders that gained a name to disk: all
// of it before the journal is written. Throws on any failure.
void flush_staging(const std::vector<std::filesystem::path>& files, const std::vector<std::filesystem::path>& folders);

// Removes staged files and folders of a save that failed before its journal.
void discard_staging_files(const std::vector<std::filesystem::path>& files);

// Removes staging files and folders left in `folder` (not below it) by an
// interrupted save, and the stale lock of an earlier version.
void remove_staging_files(const std::filesystem::path& folder);

// ---- for tests: stop or fail the protocol at a chosen file-system step ----
namespace testing {
// What happens past the limit: Stop ends every later step too, as a dead
// process would; Fail fails just the one; Persist fails that one and every
// later one, as a lasting fault (a full disk, a revoked permission) would.
enum class StepMode { Stop, Fail, Persist };
// After `steps` more file-system steps, the next one throws (with `error`'s
// text). Stop: every later step does nothing either (as if the process had
// died there), until reset().
void limit_steps(long steps, StepMode mode, int error = 5 /* EIO */);
void reset();
// Steps taken since the last limit_steps or reset.
long steps_taken();
// Leaves out the flushes to disk, which only matter if the machine stops:
// tests that stop or kill the process run many saves.
void skip_flushes(bool skip);
// Every file-system step in order: the kind ("create", "write", "rename",
// "unlink", "mkdir", "rmdir", "flush", "flush-folder", "flush-all", "lock")
// and its paths; for "write", the whole content written. Recorded while on.
struct Operation {
    std::string kind;
    std::filesystem::path path, to;
    std::string data;
};
void record_operations(bool on);
std::vector<Operation> recorded_operations();
}  // namespace testing

}  // namespace ovk_paratree::file_io
