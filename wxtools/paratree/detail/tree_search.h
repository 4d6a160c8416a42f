#pragma once
// The editor's search over a whole tree: names of directories, books and
// parameters and every description of the parameters, case-insensitive.
// It works on the model alone; the panel maps its hits to tree items. The
// other walks over a whole tree (counts, description locales) live here too.
#include "platform/paratree/parameter_directory.h"

#include <wx/string.h>

#include <cstddef>
#include <string>
#include <vector>

namespace ovk_wxtools::detail {

class TreeSearch {
public:
    // One place the text was found: a directory or book, and a parameter of
    // that book (empty when the directory's or book's own name matched).
    struct Hit {
        const ovk_paratree::ParaTreeEntity* holder = nullptr;
        wxString parameter;
    };

    // Finds `text` below `root`, depth first in the model's order; the empty
    // text clears. The next hit is the first one again.
    void search(const wxString& text, const ovk_paratree::ParameterDirectory* root);
    const wxString& text() const { return text_; }
    const std::vector<Hit>& hits() const { return hits_; }
    // The index of the hit to show next, and moves on, round the end; none when there are no hits.
    std::size_t advance();

    // What `root` holds at every level: directories below it, books, and
    // the parameters of all the books.
    static void count(const ovk_paratree::ParameterDirectory& root, std::size_t& directories, std::size_t& books,
                      std::size_t& parameters);
    // The locales the descriptions below `root` use, in first-seen order.
    static std::vector<std::string> description_locales(const ovk_paratree::ParameterDirectory& root);

private:
    void walk(const ovk_paratree::ParameterDirectory& directory, const wxString& needle);

    wxString text_;
    std::vector<Hit> hits_;
    std::size_t next_ = 0;
};

}  // namespace ovk_wxtools::detail
