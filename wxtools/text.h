#pragma once
// Small text helpers shared by the library's pieces.
#include <wx/string.h>

namespace ovk_wxtools {

// True for every character Unicode treats as white space (the ASCII ones,
// U+001C..U+001F, NEL, no-break space, the U+2000 block, line and paragraph
// separators, U+202F, U+205F and the ideographic space U+3000).
bool is_unicode_space(wxUniChar c);

// `text` without leading and trailing Unicode white space.
wxString strip_whitespace(const wxString& text);

// The shortest text that reads back as the same double, with ".0" added to
// whole numbers: 1.0, 0.1, 2.5, 1e-05, 1e+16, inf, -inf, nan.
wxString format_real(double value);

}  // namespace ovk_wxtools
