#include "wxtools/app/mb.h"

#include "wxtools/text.h"

#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include <charconv>
#include <stdexcept>
#include <string>

namespace ovk_wxtools {

wxString InputDefault::real_text(double number)
{
    return format_real(number);
}

void MB::Error(const wxString& message, const wxString& title)
{
    wxMessageBox(message, title, wxOK | wxICON_ERROR, nullptr);
}

void MB::Notice(const wxString& message, const wxString& title)
{
    wxMessageBox(message, title, wxOK | wxICON_INFORMATION, nullptr);
}

int MB::Confirm(const wxString& message, const wxString& title)
{
    return wxMessageBox(message, title, wxYES_NO | wxICON_QUESTION, nullptr);
}

std::optional<wxString> MB::Input(const wxString& message, const wxString& title, const InputDefault& default_value)
{
    wxTextEntryDialog dialog(nullptr, message, title);
    if (default_value.text())
        dialog.SetValue(*default_value.text());
    const int code = dialog.ShowModal();
    const wxString text = dialog.GetValue();
    if (code != wxID_OK)
        return std::nullopt;
    return text;
}

namespace {

// The ASCII form of a number typed by the user, or an error when the text
// holds anything but surrounding white space and ASCII characters.
std::string number_text(const wxString& text)
{
    const wxString trimmed = strip_whitespace(text);
    if (trimmed.empty() || !trimmed.IsAscii())
        throw std::invalid_argument("not a number: " + text.utf8_string());
    return trimmed.utf8_string();
}

}  // namespace

std::int64_t MB::ToInt(const wxString& text)
{
    std::string s = number_text(text);
    std::size_t start = (s[0] == '+') ? 1 : 0;
    if (start == 1 && s.size() > 1 && s[1] == '-')
        throw std::invalid_argument("not a whole number: " + s);
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data() + start, s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range)
        throw std::out_of_range("whole number out of range: " + s);
    if (ec != std::errc() || end != s.data() + s.size())
        throw std::invalid_argument("not a whole number: " + s);
    return value;
}

double MB::ToDouble(const wxString& text)
{
    std::string s = number_text(text);
    std::size_t start = (s[0] == '+') ? 1 : 0;
    if (start == 1 && s.size() > 1 && s[1] == '-')
        throw std::invalid_argument("not a number: " + s);
    double value = 0;
    auto [end, ec] = std::from_chars(s.data() + start, s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range)
        throw std::out_of_range("number out of range: " + s);
    if (ec != std::errc() || end != s.data() + s.size())
        throw std::invalid_argument("not a number: " + s);
    return value;
}

}  // namespace ovk_wxtools
