#pragma once
// Time texts for log and history displays.
#include <chrono>
#include <string>

namespace ovk_handy {

// Local time of `created` (seconds since the epoch, with a fraction) as
// "YYYY-MM-DD HH:MM:SS.mmm". The fraction is cut to whole milliseconds, never
// rounded up, so a time just before a full second keeps that second.
std::string timestamp(double created);

// Same for a clock reading.
std::string timestamp(std::chrono::system_clock::time_point created);

}  // namespace ovk_handy
