#pragma once
// ParaTreeCopyDialog: copies one item of a parameter tree to a place on disk
// outside the tree being edited: a parameter into an existing book file, a
// book into a new book file in a chosen folder, a directory into a new folder
// in a chosen folder. The user may rename the copy and allow overwriting; on
// success the dialog says so and ends with wxID_OK.
#include <memory>
#include <vector>

#include "platform/paratree/para_tree_entity.h"
#include "platform/paratreeui/copy_dialog.h"

namespace ovk_wxtools {

class ParaTreeCopyDialog : public ovk_paratreeui::CopyDialog {
public:
    // `para_path`: the item's names in its tree from the top down, its own
    // name last; `para`: a Parameter, ParameterBook or ParameterDirectory.
    // Throws std::invalid_argument for an empty path or any other item.
    ParaTreeCopyDialog(wxWindow* parent, const std::vector<wxString>& para_path,
                       std::shared_ptr<ovk_paratree::ParaTreeEntity> para);

    void on_browse(wxCommandEvent& event) override;
    void on_confirm(wxCommandEvent& event) override;

private:
    // The chosen path, or empty text when the chooser was cancelled.
    wxString select_directory();
    wxString select_file();
    // The copy itself; false when it was refused (the user has been told why).
    bool copy_to(const wxString& target_name, const wxString& target_path);

    std::vector<wxString> para_path;
    std::shared_ptr<ovk_paratree::ParaTreeEntity> parameter;
};

}  // namespace ovk_wxtools
