#pragma once
// A one-field input dialog with a large-font prompt and Chinese OK/Cancel labels.
#include "wxtools/text.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace ovk_wxtools {

class SimpleInputDialog : public wxDialog {
public:
    // Default message "请输入信息：", default title "请输入"; `password` hides the typed text.
    explicit SimpleInputDialog(wxWindow* parent, const wxString& message = from_utf8("请输入信息："),
                               const wxString& title = from_utf8("请输入"), bool password = false);

    // The field's value, without surrounding Unicode white space when `strip` is set.
    wxString GetInputString(bool strip = true) const;

    wxStaticText* m_staticText1;
    wxTextCtrl* InputField;
    wxStaticLine* m_staticline1;
    wxButton* m_button1;
    wxButton* m_button2;
};

}  // namespace ovk_wxtools
