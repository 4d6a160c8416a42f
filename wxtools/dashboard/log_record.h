#pragma once
// One log record as the dashboard keeps it until the GUI thread shows it: a
// copy of what spdlog hands a sink, which only lives for the sink call.
#include "wxtools/text.h"

#include <spdlog/common.h>
#include <spdlog/details/log_msg.h>
#include <wx/string.h>

#include <string>

namespace ovk_wxtools {

// The level's name in capitals: TRACE, DEBUG, INFO, WARNING, ERROR, CRITICAL, OFF.
const char* level_name(spdlog::level::level_enum level);

struct LogRecord {
    spdlog::level::level_enum levelno = spdlog::level::info;
    std::string levelname;  // level_name(levelno)
    double created = 0;     // seconds since the epoch, with a fraction
    std::string msg;        // UTF-8, its arguments already merged in by the logger

    LogRecord() = default;
    LogRecord(spdlog::level::level_enum level, std::string message, double created_at);

    // The record as it arrives in a sink.
    static LogRecord from(const spdlog::details::log_msg& message);

    // Bytes that are not UTF-8 show as U+FFFD; the readable rest is kept.
    wxString getMessage() const { return from_utf8(msg); }
};

}  // namespace ovk_wxtools
