#pragma once
// The topics and JSON payloads stations and control rooms exchange (the
// layout is described in mqtt_options.h).
//
//   active/<code>  {"station","code","identities":[...],"level":"error",
//                   "first_raised_ms","last_raised_ms","times_raised",
//                   "acknowledged","shelved_until_ms" (absent unless shelved)}
//   event          [{"seq","kind":"raise","time_ms","code","identity","level",
//                    "text","shelved_ms","alarm":{as active, after the change;
//                    absent once the code went}}, ...]: the changes made since
//                   the last such message, oldest first (a single object
//                   without the brackets is read as well)
//   status         {"online":true}
//   ack            {"code"}
//
// Times are milliseconds since the epoch; levels are spdlog's names.
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/detail/journal_writer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ovk_wxtools::detail {

// `<prefix>/<station>/alarms/<leaf>`, the station written as a topic level.
std::string station_topic(const std::string& prefix, const std::string& station, const std::string& leaf);
std::string active_topic(const std::string& prefix, const std::string& station, const std::string& code);

// What a topic under `<prefix>/` names: its station, leaf ("status",
// "active", "event", "ack") and, for an active alarm, its code.
struct AlarmTopic {
    std::string station, leaf, code;
};
std::optional<AlarmTopic> parse_alarm_topic(const std::string& prefix, const std::string& topic);

std::string status_payload(bool online);
std::optional<bool> online_from(const std::string& payload);

std::string alarm_payload(const JournalAlarm& alarm);
std::optional<JournalAlarm> alarm_from(const std::string& payload);

// One change as a station tells it: what the journal would keep, numbered.
struct AlarmEvent {
    std::uint64_t seq = 0;
    JournalChange change;
};
std::string events_payload(const std::vector<AlarmEvent>& events);
// Station and the active table's change are filled in from the payload;
// changes that cannot be read are left out.
std::vector<AlarmEvent> events_from(const std::string& station, const std::string& payload);

std::string ack_payload(const std::string& code);
std::optional<std::string> acked_code(const std::string& payload);

}  // namespace ovk_wxtools::detail
