#pragma once
// CSV as the dashboard writes it: fields quoted where they need it, CR LF.
#include <string>
#include <vector>

namespace ovk_wxtools::detail {

std::string csv_line(const std::vector<std::string>& fields);

// Writes `text` to `path` (UTF-8), replacing it; false when it cannot.
bool write_file(const std::string& path, const std::string& text);

}  // namespace ovk_wxtools::detail
