#include "wxtools/dashboard/detail/history_row.h"

#include "platform/handy/timestamp.h"
#include "wxtools/text.h"

#include <algorithm>

namespace ovk_wxtools::detail {

namespace {

// The first two and the log colours are the history's own; the rest belong
// to the rows of the opt-in extras.
const wxColour good_colour(0, 255, 0);
const wxColour warning_colour(255, 255, 0);
const wxColour error_colour(255, 0, 0);
const wxColour acknowledged_colour(135, 206, 250);
const wxColour shelved_colour(192, 192, 192);
const wxColour dropped_colour(211, 211, 211);

std::string duration_text(long long ms)
{
    if (ms != 0 && ms % 60000 == 0)
        return std::to_string(ms / 60000) + " min";
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

}  // namespace

HistoryRow HistoryRow::from(LogRecord&& record)
{
    const auto level = static_cast<std::uint8_t>(record.levelno < 0 ? 0 : record.levelno);
    return HistoryRow{std::move(record.msg), record.created, std::min<std::uint8_t>(level, cleared - 1)};
}

HistoryRow HistoryRow::from(const JournalEntry& entry)
{
    switch (entry.kind) {
    case JournalEntry::Kind::clear: return about(cleared, entry.code);
    case JournalEntry::Kind::all_clear: return about(all_clear, std::string());
    case JournalEntry::Kind::acknowledge: return about(acknowledged, entry.code);
    case JournalEntry::Kind::shelve: return about(shelved, entry.code, entry.shelved_for);
    default:
        return from(LogRecord(entry.level, entry.text,
                              std::chrono::duration<double>(entry.time.time_since_epoch()).count()));
    }
}

HistoryRow HistoryRow::about(Kind kind, std::string code, std::chrono::milliseconds shelved_for)
{
    return HistoryRow{std::move(code), static_cast<double>(shelved_for.count()), kind};
}

wxString HistoryRow::cell(int col) const
{
    if (is_log()) {
        switch (col) {
        case 0: return wxString::FromUTF8(level_name(static_cast<spdlog::level::level_enum>(kind)));
        case 1: return wxString::FromUTF8(ovk_handy::timestamp(number));
        case 2: return from_utf8(text);
        default: return wxString();
        }
    }
    switch (kind) {
    case cleared:
        return col == 0 ? wxString(wxS("GOOD")) : col == 1 ? from_utf8(text) : wxString();
    case all_clear:
        return col == 1 ? wxString(wxS("All Clear")) : wxString();
    case acknowledged:
        return col == 0 ? wxString(wxS("ACK")) : col == 1 ? from_utf8(text) : wxString(wxS("Acknowledged"));
    case shelved:
        if (col == 2)
            return wxString::FromUTF8("Shelved for " + duration_text(static_cast<long long>(number)));
        return col == 0 ? wxString(wxS("SHELVED")) : from_utf8(text);
    default:
        return wxString();
    }
}

wxColour HistoryRow::colour() const
{
    if (is_log())
        return kind == spdlog::level::warn ? warning_colour : error_colour;
    switch (kind) {
    case acknowledged: return acknowledged_colour;
    case shelved: return shelved_colour;
    default: return good_colour;
    }
}

wxString dropped_notice_cell(int col, std::size_t dropped)
{
    return col == 2 ? wxString::FromUTF8(std::to_string(dropped) + " older rows dropped") : wxString();
}

wxColour dropped_notice_colour()
{
    return dropped_colour;
}

}  // namespace ovk_wxtools::detail
