#include "wxtools/dashboard/log_record.h"

#include <chrono>

namespace ovk_wxtools {

const char* level_name(spdlog::level::level_enum level)
{
    switch (level) {
    case spdlog::level::trace: return "TRACE";
    case spdlog::level::debug: return "DEBUG";
    case spdlog::level::info: return "INFO";
    case spdlog::level::warn: return "WARNING";
    case spdlog::level::err: return "ERROR";
    case spdlog::level::critical: return "CRITICAL";
    case spdlog::level::off: return "OFF";
    default: return "UNKNOWN";
    }
}

LogRecord::LogRecord(spdlog::level::level_enum level, std::string message, double created_at)
    : levelno(level), levelname(level_name(level)), created(created_at), msg(std::move(message))
{
}

LogRecord LogRecord::from(const spdlog::details::log_msg& message)
{
    using namespace std::chrono;
    const double created = duration<double>(message.time.time_since_epoch()).count();
    return LogRecord(message.level, std::string(message.payload.data(), message.payload.size()), created);
}

}  // namespace ovk_wxtools
