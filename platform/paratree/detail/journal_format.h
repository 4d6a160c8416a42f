#pragma once
// The journal of a tree save as bytes. Each record carries its own CRC32C and
// paths are length-prefixed, so no byte of a name can break a record and a
// damaged journal is found instead of being carried out. A staged book's
// size and content hash travel with its record, so recovery can tell a file
// that was already moved from one that was lost.
//
//   ovk-tree-journal 2\n
//   <kind> <size> <hash> <n>:<path> <n>:<from> <crc>\n      one per step
//   end <steps> <crc of everything before this line>\n
//
// Numbers are decimal except <hash> (16 hex digits) and <crc> (8 hex digits).
// Version 1 journals (tab-separated, no checksums) are still read.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ovk_paratree::file_io {

// One step of the journal. Paths are relative to the tree folder,
// '/'-separated (version 1 journals may hold absolute ones).
struct JournalStep {
    // What a step does; each kind is written to the journal as its letter.
    enum Kind : char {
        MakeFolder = 'M',       // create the folder unless it exists (version 1 only)
        Move = 'R',             // rename `from` over `path` unless `from` is gone
        MoveFolder = 'F',       // rename the staged folder `from` to `path`
        MoveThroughLink = 'L',  // `path` is a link to a book: rename `from` over what it points to
        Delete = 'U',           // delete the file or link `path` if present
        RemoveFolder = 'D'      // remove the folder `path` if nothing is left in it
    };
    Kind kind;
    std::string path;
    // For the moves, the staged path renamed over `path`; empty for the other kinds.
    std::string from;
    // For Move and MoveThroughLink: the staged content's size and content_hash.
    std::uint64_t size = 0, hash = 0;
};

// CRC32C (Castagnoli) of `data`, continuing from `crc`.
std::uint32_t crc32c(std::string_view data, std::uint32_t crc = 0);

// A fast 64-bit hash of file content; tells a lost or damaged file apart from
// the one that was staged.
std::uint64_t content_hash(std::string_view data);

// The journal's bytes.
std::string serialise_journal(const std::vector<JournalStep>& steps);

// The steps of a journal read from `file`; throws ParaTreeError naming the
// file when it is damaged.
std::vector<JournalStep> parse_journal(const std::string& text, const std::filesystem::path& file);

}  // namespace ovk_paratree::file_io
