#pragma once
// MB: one-line message boxes and a one-line question, the library's single
// way of telling the user something.
#include "wxtools/text.h"

#include <wx/string.h>

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>

namespace ovk_wxtools {

// The text MB::Input puts into its field at first: nothing, a text, or the
// customary text form of a number or flag (5, 2.5, True).
class InputDefault {
public:
    InputDefault() = default;
    InputDefault(std::nullopt_t) {}
    InputDefault(const wxString& text) : text_(text) {}
    // Narrow text is read as UTF-8.
    InputDefault(const char* text) : text_(from_utf8(text)) {}
    InputDefault(const std::string& text) : text_(from_utf8(text)) {}
    InputDefault(const wchar_t* text) : text_(text) {}
    InputDefault(bool flag) : text_(flag ? wxS("True") : wxS("False")) {}
    // A number in its customary text form (5, 2.5).
    template <std::integral T>
    InputDefault(T number) : text_(wxString() << static_cast<long long>(number)) {}
    template <std::floating_point T>
    InputDefault(T number) : text_(real_text(static_cast<double>(number))) {}

    const std::optional<wxString>& text() const { return text_; }

private:
    static wxString real_text(double number);
    std::optional<wxString> text_;
};

class MB {
public:
    MB() = delete;

    static void Error(const wxString& message, const wxString& title = wxS("Error"));
    static void Notice(const wxString& message, const wxString& title = wxS("Info"));
    // wxYES or wxNO.
    static int Confirm(const wxString& message, const wxString& title = wxS("Confirm"));

    // The text typed exactly as entered (spaces kept, empty text included),
    // or std::nullopt when the dialog was cancelled.
    static std::optional<wxString> Input(const wxString& message, const wxString& title = wxS("Input Dialog"),
                                         const InputDefault& default_value = {});

    // The typed text converted by `value_type`; when the conversion throws,
    // the user sees "Invalid input format." and the answer is std::nullopt.
    template <class Convert>
        requires std::invocable<Convert&, const wxString&>
    static auto Input(const wxString& message, Convert value_type, const wxString& title = wxS("Input Dialog"),
                      const InputDefault& default_value = {})
        -> std::optional<std::decay_t<std::invoke_result_t<Convert&, const wxString&>>>
    {
        std::optional<wxString> text = Input(message, title, default_value);
        if (!text)
            return std::nullopt;
        try {
            return std::invoke(value_type, *text);
        } catch (...) {
            Error(wxS("Invalid input format."));
            return std::nullopt;
        }
    }

    // Ready conversions for Input: surrounding white space is allowed, the
    // rest must be a whole number (optional sign, decimal digits) or a real
    // number (also inf and nan); anything else throws std::invalid_argument,
    // a number out of range std::out_of_range.
    static std::int64_t ToInt(const wxString& text);
    static double ToDouble(const wxString& text);
};

}  // namespace ovk_wxtools
