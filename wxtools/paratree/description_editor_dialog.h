#pragma once
// The dialog in which the user reviews and rewrites a parameter's
// descriptions, one locale at a time. Each confirmed change is written into
// the parameter at once.
#include "platform/paratree/parameter.h"
#include "platform/paratreeui/description_editor_dialog.h"

#include <memory>

namespace ovk_wxtools {

class DescriptionEditorDialog : public ovk_paratreeui::DescriptionEditorDialog {
public:
    DescriptionEditorDialog(wxWindow* parent, std::shared_ptr<ovk_paratree::Parameter> parameter);

    void on_edit(wxCommandEvent& event) override;
    void on_select_changed(wxGridRangeSelectEvent& event) override;

    // Asks for a new description of the locale in `row` and stores it.
    void _edit_row(int row);

private:
    std::shared_ptr<ovk_paratree::Parameter> parameter;
};

}  // namespace ovk_wxtools
