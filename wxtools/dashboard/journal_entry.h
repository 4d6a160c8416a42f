#pragma once
// One entry of an alarm journal, and a question put to one.
#include <spdlog/common.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ovk_wxtools {

struct JournalEntry {
    enum class Kind : int {
        log = 0,      // a history row from a log record
        raise,        // a code became active
        repeat,       // an active code was raised again
        release,      // one identity cleared a code that others keep active
        clear,        // a code went (a GOOD row)
        acknowledge,  // an ACK row
        shelve,       // a SHELVED row
        all_clear,    // an All Clear row
    };

    std::chrono::system_clock::time_point time;
    std::string station;   // UTF-8, as every text here
    std::string code;      // empty for log and all_clear entries
    std::string identity;  // who raised or cleared it, if anyone
    spdlog::level::level_enum level = spdlog::level::err;
    Kind kind = Kind::log;
    std::string text;  // a log record's message
    std::chrono::milliseconds shelved_for{0};
    std::int64_t id = 0;  // its place in the journal, given when written

    // Whether the dashboard's history shows a row for it.
    bool is_history_row() const { return kind == Kind::log || kind >= Kind::clear; }
};

// Which entries a query answers; each field left empty matches everything.
struct JournalQuery {
    std::optional<std::chrono::system_clock::time_point> from = {};  // at or after
    std::optional<std::chrono::system_clock::time_point> to = {};    // before
    std::optional<std::string> station = {};
    std::optional<std::string> code = {};
    std::optional<spdlog::level::level_enum> lowest_level = {};
    std::optional<std::string> text = {};  // found anywhere in the text
    std::size_t limit = 0;            // 0: every match
    bool newest_first = false;
};

}  // namespace ovk_wxtools
