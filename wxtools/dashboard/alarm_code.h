#pragma once
// An alarm code: one member of a caller's set of alarms, known by its text.
//
// A tool declares its codes once, for example
//
//     namespace alarms {
//     inline const ovk_wxtools::AlarmCode over_temperature{"Over temperature"};
//     inline const ovk_wxtools::AlarmCode door_open{"Door open"};
//     }
//
// Two codes are the same code exactly when their texts are equal; codes are
// cheap to copy and safe to hand between threads.
#include <wx/string.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ovk_wxtools {

class AlarmCode {
public:
    // `value` is UTF-8.
    explicit AlarmCode(std::string value) : value_(std::move(value)) {}
    explicit AlarmCode(const char* value) : value_(value) {}
    explicit AlarmCode(const wxString& value) : value_(value.utf8_string()) {}

    // The code's text, as shown in the alarm list and written to the log.
    wxString value() const { return wxString::FromUTF8(value_); }
    // The same text in UTF-8.
    const std::string& text() const { return value_; }

    friend bool operator==(const AlarmCode& a, const AlarmCode& b) { return a.value_ == b.value_; }

private:
    std::string value_;
};

}  // namespace ovk_wxtools

template <>
struct std::hash<ovk_wxtools::AlarmCode> {
    std::size_t operator()(const ovk_wxtools::AlarmCode& code) const noexcept
    {
        return std::hash<std::string>{}(code.text());
    }
};
