#pragma once
// A parameter book: named parameters in order, stored as one UTF-8 JSON file
// `<name>.pbook` (see ExtName). The file reads, with one line per parameter part:
//
//   {
//     "format": "ovk-parameter-book",
//     "version": 1,
//     "parameters": {
//       "speed": {
//         "descriptions": {"en_US":"Speed","zh_CN":"速度"},
//         "attributes": {"max":10,"unit":"mm/s"}
//       }
//     }
//   }
//
// Parameter and attribute names inside a file are taken as stored; names given
// through set() must satisfy is_valid_name.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/paratree/para_tree_entity.h"
#include "platform/paratree/parameter.h"

namespace ovk_paratree {

namespace file_io {
class StagedFiles;
}

class ParameterBook : public ParaTreeEntity {
public:
    // The book file extension, without the dot: "pbook".
    static const std::string ExtName;

    // A new, empty book.
    ParameterBook() = default;
    ParameterBook(const ParameterBook&) = delete;
    ParameterBook& operator=(const ParameterBook&) = delete;

    std::string class_name() const override;  // "ParameterBook"
    // Changed (a parameter set or removed, or a parameter it holds edited)
    // since the book was last loaded or saved; a new book is modified.
    bool modified() const override;

    // Reads the book stored in `file`. Throws ParaTreeError naming the file when
    // it cannot be read, is not valid JSON or is not of the book layout.
    static std::shared_ptr<ParameterBook> load(const std::filesystem::path& file);
    // Writes the book to `file` atomically: a temporary file in the same folder
    // is written, flushed to disk and renamed over `file`, so a failure (full
    // disk, crash) leaves the previous file as it was. Creates missing folders.
    // An existing file keeps its permissions; a symbolic link is kept and the
    // file it points to is replaced. Throws ParaTreeError naming the file.
    void save(const std::filesystem::path& file) const;

    // The book as the text of a book file, and back. `source` names the text
    // in error messages (load passes the file path).
    static std::shared_ptr<ParameterBook> from_text(std::string_view text,
                                                    const std::string& source = "(text)");
    std::string to_text() const;

    // ---- parameters, keyed by name, in insertion order ----
    // Order: file order after load; set() of a new name appends, set() of an
    // existing name replaces in place. Lookups are linear in size().

    std::vector<std::pair<std::string, std::shared_ptr<Parameter>>> items() const;
    std::vector<std::string> names() const;
    bool contains(const std::string& name) const;
    // The parameter stored under `name` (the object itself), or nullptr.
    std::shared_ptr<Parameter> get(const std::string& name) const;
    // Stores `parameter` (the object itself, not a copy) under `name`. Throws
    // ParaTreeError for an invalid name or a null parameter.
    void set(const std::string& name, std::shared_ptr<Parameter> parameter);
    // Removes the parameter `name`; false when there was none.
    bool remove(const std::string& name);
    std::size_t size() const;
    bool empty() const;

    // A deep copy: every parameter cloned.
    std::shared_ptr<ParameterBook> clone() const;

private:
    friend class ParameterDirectory;
    // True when the book or a parameter in it changed after `stamp`.
    bool changed_since(std::uint64_t stamp) const;
    // Records that the book and its parameters now match what is stored.
    void mark_clean(std::uint64_t stamp) const;

    // Writes the book to a temporary file beside `file` (the file a link
    // points to), creating folders; `staged` puts it in place.
    void stage_to(const std::filesystem::path& file, file_io::StagedFiles& staged) const;

    std::vector<std::pair<std::string, std::shared_ptr<Parameter>>> parameters_;
    std::uint64_t revision_ = next_stamp();  // last change of the list itself
    // Bookkeeping, not content: a save of a const book still records it.
    mutable std::uint64_t clean_at_ = 0;     // last load or save; 0: never
};

}  // namespace ovk_paratree
