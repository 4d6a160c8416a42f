#pragma once
// One row of the dashboard's history as it is kept: its kind, one number and
// one text. The three cells and the colour are worked out when asked for, so
// a row costs its text and a few bytes more.
#include "wxtools/dashboard/journal_entry.h"
#include "wxtools/dashboard/log_record.h"

#include <wx/colour.h>
#include <wx/string.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace ovk_wxtools::detail {

struct HistoryRow {
    // Kinds of the rows about the alarms themselves; a log record's row has
    // its spdlog level as its kind, which is below all of these.
    enum Kind : std::uint8_t { cleared = 16, all_clear, acknowledged, shelved };

    std::string text;   // UTF-8: a log record's message or an alarm's code
    double number = 0;  // a log record's time (seconds since the epoch); a shelve's milliseconds
    std::uint8_t kind = cleared;

    static HistoryRow from(LogRecord&& record);
    static HistoryRow about(Kind kind, std::string code, std::chrono::milliseconds shelved_for = {});
    // The row a journal entry that the history shows (is_history_row()) had.
    static HistoryRow from(const JournalEntry& entry);

    bool is_log() const { return kind < cleared; }
    // A log record's level; -1 for the rows about alarms.
    int level() const { return is_log() ? kind : -1; }
    // Whether a history that shows log rows at `lowest` and above shows this one.
    bool passes(int lowest) const { return !is_log() || kind >= lowest; }

    // Cell `col` (0 to 2) as the grid shows it.
    wxString cell(int col) const;
    // The background of column 0.
    wxColour colour() const;
};

// The row at the top of a capped history that says how many rows went.
wxString dropped_notice_cell(int col, std::size_t dropped);
wxColour dropped_notice_colour();

}  // namespace ovk_wxtools::detail
