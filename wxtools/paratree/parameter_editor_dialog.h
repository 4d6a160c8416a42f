#pragma once
// The dialog in which the user edits one parameter: adds, changes and deletes
// its attributes and opens its descriptions. Every confirmed change reaches the
// parameter at once; the closing code only tells a caller holding a new
// parameter whether to keep it.
#include "platform/paratree/parameter.h"
#include "platform/paratreeui/parameter_editor_dialog.h"

#include <memory>

namespace ovk_wxtools {

class ParameterEditorDialog : public ovk_paratreeui::ParameterEditorDialog {
public:
    // `name` is only shown. Without a parameter a new empty one is edited.
    ParameterEditorDialog(wxWindow* parent, const wxString& name,
                          std::shared_ptr<ovk_paratree::Parameter> parameter = nullptr);

    // The parameter edited: the given one, or the one made by the constructor.
    const std::shared_ptr<ovk_paratree::Parameter>& parameter() const { return parameter_; }

    // Shows the parameter without any way to change it: every command
    // button disabled, "View Parameter" as the title.
    void set_read_only();

    // The keyboard of the attribute grid: the arrows move the selected row,
    // Tab leaves the grid, Enter and F2 edit the selected attribute, Delete
    // deletes it, Space turns a true/false value over.
    void use_keyboard();
    // The attribute editor edits lists and mappings on several lines and
    // names the line and column of a JSON error.
    void use_json_editor() { json_editor_ = true; }

    void on_select_attribute(wxGridRangeSelectEvent& event) override;
    void on_add(wxCommandEvent& event) override;
    void on_edit(wxCommandEvent& event) override;
    void on_edit_descriptions(wxCommandEvent& event) override;
    void on_delete(wxCommandEvent& event) override;

private:
    void add();
    void edit();
    void delete_selected();
    void toggle_selected();
    // Enables the row buttons exactly while a row is selected.
    void update_row_buttons();

    std::shared_ptr<ovk_paratree::Parameter> parameter_;
    bool read_only_ = false;
    bool json_editor_ = false;
};

}  // namespace ovk_wxtools
