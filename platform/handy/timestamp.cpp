#include "platform/handy/timestamp.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace ovk_handy {

namespace {

std::string format_millis(long long millis)
{
    // Floor division keeps times before 1970 on the right side of their second.
    long long seconds = millis / 1000;
    long long rest = millis % 1000;
    if (rest < 0) {
        rest += 1000;
        seconds -= 1;
    }
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return "(time out of range)";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03lld", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, rest);
    return text;
}

}  // namespace

std::string timestamp(double created)
{
    if (!std::isfinite(created) || std::fabs(created) > 1e12)
        return "(time out of range)";
    // Rounded to the microsecond first, so that 1.001 (stored as 1.000999...)
    // reads as .001 and not .000.
    const long long micros = std::llround(created * 1e6);
    return format_millis(micros >= 0 ? micros / 1000 : -((-micros + 999) / 1000));
}

std::string timestamp(std::chrono::system_clock::time_point created)
{
    using namespace std::chrono;
    return format_millis(floor<milliseconds>(created.time_since_epoch()).count());
}

}  // namespace ovk_handy
