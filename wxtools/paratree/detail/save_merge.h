#pragma once
// Saves that keep other people's work. Before the tree is saved to its own
// folder, what someone else changed there since the load or the last save is
// taken into the tree: a book changed only on disk is taken as it is there
// and never written back; a book or directory changed on both sides is asked
// about, naming it and showing both values of each differing parameter, with
// Keep theirs as the default answer. Loads (the first one and those of a
// merge) may go on past books that cannot be read; the last load's list of
// them is kept for the view.
#include "platform/paratree/parameter_directory.h"

#include <wx/string.h>

#include <wx/window.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ovk_wxtools::detail {

// What the user is told when a save stops on `why`.
wxString save_failed_message(const std::string& why);

class SaveMerge {
public:
    // Questions are parented on `window`; with `tolerate_unreadable`, books
    // that cannot be read do not stop a load.
    SaveMerge(wxWindow& window, bool tolerate_unreadable);

    // Loads the tree stored in `folder`, telling in one notice what was
    // skipped there and which books could not be read; the model's error
    // reaches the caller.
    std::shared_ptr<ovk_paratree::ParameterDirectory> load(const wxString& folder);
    // The books the last load could not read.
    const std::vector<ovk_paratree::LoadReport::UnreadableBook>& unreadable() const { return unreadable_; }

    // Remembers what `tree` holds as the base of the next merge: call after
    // each load and each save home.
    void remember(const ovk_paratree::ParameterDirectory& tree);

    enum class Outcome { Unchanged, Merged, Cancelled };
    // When someone else changed `folder` since `tree` was loaded or saved,
    // replaces `tree` with the folder's content carrying this tree's own
    // changes, as the user decided, and lists in `taken` what came from disk
    // (a book that cannot be read there with its error). A book found
    // unreadable there keeps its file: with Use mine, or when the load cannot
    // go past it, nothing is saved.
    Outcome merge(std::shared_ptr<ovk_paratree::ParameterDirectory>& tree, const std::filesystem::path& folder,
                  std::vector<std::string>& taken);

private:
    enum class Answer { Theirs, Mine, Cancel };
    // `broken`: the book is on disk but cannot be read.
    Answer ask(const std::string& path, const ovk_paratree::ParaTreeEntity* mine,
               const ovk_paratree::ParaTreeEntity* theirs,
               const ovk_paratree::LoadReport::UnreadableBook* broken) const;

    ovk_paratree::LoadResult load_folder(const std::filesystem::path& folder) const;

    wxWindow& window_;
    bool tolerate_unreadable_;
    std::set<std::string> base_;
    std::vector<ovk_paratree::LoadReport::UnreadableBook> unreadable_;
};

}  // namespace ovk_wxtools::detail
