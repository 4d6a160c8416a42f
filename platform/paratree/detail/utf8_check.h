#pragma once
// The well-formedness check every name, text and description of the model
// goes through before it is stored or read.
#include <string>
#include <string_view>

namespace ovk_paratree::detail {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool is_utf8(std::string_view text);

// `text` with each byte that does not begin a well-formed sequence replaced
// by U+FFFD: for quoting bytes of unknown origin (a file's) in a message.
std::string valid_utf8(std::string_view text);

}  // namespace ovk_paratree::detail
