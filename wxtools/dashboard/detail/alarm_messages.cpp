#include "wxtools/dashboard/detail/alarm_messages.h"

#include "wxtools/dashboard/detail/mqtt_client.h"

#include <nlohmann/json.hpp>
#include <spdlog/common.h>

#include <algorithm>
#include <array>

namespace ovk_wxtools::detail {

namespace {

using json = nlohmann::json;
using Clock = std::chrono::system_clock;

const std::array<const char*, 8> kind_names = {"log",         "raise",  "repeat",   "release", "clear",
                                               "acknowledge", "shelve", "all_clear"};

std::int64_t millis_of(Clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

Clock::time_point time_from(const json& value)
{
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(
        std::chrono::milliseconds(value.get<std::int64_t>())));
}

std::string level_name(spdlog::level::level_enum level)
{
    const auto name = spdlog::level::to_string_view(level);
    return std::string(name.data(), name.size());
}

spdlog::level::level_enum level_from(const json& value)
{
    return spdlog::level::from_str(value.get<std::string>());
}

json alarm_json(const JournalAlarm& alarm)
{
    json out = {{"station", alarm.station},
                {"code", alarm.code},
                {"identities", alarm.identities},
                {"level", level_name(alarm.level)},
                {"first_raised_ms", millis_of(alarm.first_raised)},
                {"last_raised_ms", millis_of(alarm.last_raised)},
                {"times_raised", alarm.times_raised},
                {"acknowledged", alarm.acknowledged}};
    if (alarm.shelved_until)
        out["shelved_until_ms"] = millis_of(*alarm.shelved_until);
    return out;
}

JournalAlarm alarm_of(const json& in)
{
    JournalAlarm alarm;
    alarm.station = in.at("station").get<std::string>();
    alarm.code = in.at("code").get<std::string>();
    alarm.identities = in.at("identities").get<std::vector<std::string>>();
    alarm.level = level_from(in.at("level"));
    alarm.first_raised = time_from(in.at("first_raised_ms"));
    alarm.last_raised = time_from(in.at("last_raised_ms"));
    alarm.times_raised = in.at("times_raised").get<std::size_t>();
    alarm.acknowledged = in.at("acknowledged").get<bool>();
    if (in.contains("shelved_until_ms"))
        alarm.shelved_until = time_from(in.at("shelved_until_ms"));
    return alarm;
}

// Bytes that are not UTF-8 become U+FFFD instead of failing the message.
std::string dump(const json& value)
{
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

std::string station_topic(const std::string& prefix, const std::string& station, const std::string& leaf)
{
    return prefix + "/" + topic_level(station) + "/alarms/" + leaf;
}

std::string active_topic(const std::string& prefix, const std::string& station, const std::string& code)
{
    return station_topic(prefix, station, "active/" + topic_level(code));
}

std::optional<AlarmTopic> parse_alarm_topic(const std::string& prefix, const std::string& topic)
{
    if (topic.size() <= prefix.size() + 1 || topic.compare(0, prefix.size(), prefix) != 0 ||
        topic[prefix.size()] != '/')
        return std::nullopt;
    const std::string rest = topic.substr(prefix.size() + 1);
    const std::size_t slash = rest.find('/');
    if (slash == std::string::npos || rest.compare(slash, 8, "/alarms/") != 0)
        return std::nullopt;
    AlarmTopic out;
    out.station = from_topic_level(rest.substr(0, slash));
    out.leaf = rest.substr(slash + 8);
    if (out.leaf.compare(0, 7, "active/") == 0) {
        out.code = from_topic_level(out.leaf.substr(7));
        out.leaf = "active";
    }
    return out;
}

std::string status_payload(bool online) { return dump(json{{"online", online}}); }

std::optional<bool> online_from(const std::string& payload)
{
    try {
        return json::parse(payload).at("online").get<bool>();
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

std::string alarm_payload(const JournalAlarm& alarm) { return dump(alarm_json(alarm)); }

std::optional<JournalAlarm> alarm_from(const std::string& payload)
{
    try {
        return alarm_of(json::parse(payload));
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

namespace {

json event_json(const JournalChange& change, std::uint64_t seq)
{
    const JournalEntry& e = change.entry;
    json out = {{"seq", seq},
                {"kind", kind_names.at(static_cast<std::size_t>(e.kind))},
                {"time_ms", millis_of(e.time)},
                {"code", e.code},
                {"identity", e.identity},
                {"level", level_name(e.level)},
                {"text", e.text},
                {"shelved_ms", e.shelved_for.count()}};
    if (change.active == JournalChange::Active::put)
        out["alarm"] = alarm_json(change.alarm);
    return out;
}

std::optional<AlarmEvent> event_of(const std::string& station, const json& in)
{
    try {
        AlarmEvent out;
        out.seq = in.at("seq").get<std::uint64_t>();
        JournalEntry& e = out.change.entry;
        const std::string kind = in.at("kind").get<std::string>();
        const auto found = std::find(kind_names.begin(), kind_names.end(), kind);
        if (found == kind_names.end())
            return std::nullopt;
        e.kind = static_cast<JournalEntry::Kind>(found - kind_names.begin());
        e.time = time_from(in.at("time_ms"));
        e.station = station;
        e.code = in.at("code").get<std::string>();
        e.identity = in.at("identity").get<std::string>();
        e.level = level_from(in.at("level"));
        e.text = in.at("text").get<std::string>();
        e.shelved_for = std::chrono::milliseconds(in.at("shelved_ms").get<std::int64_t>());
        using Active = JournalChange::Active;
        if (in.contains("alarm")) {
            out.change.active = Active::put;
            out.change.alarm = alarm_of(in.at("alarm"));
            out.change.alarm.station = station;
        } else if (e.kind == JournalEntry::Kind::clear) {
            out.change.active = Active::remove;
        } else if (e.kind == JournalEntry::Kind::all_clear) {
            out.change.active = Active::remove_all;
        }
        return out;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::string events_payload(const std::vector<AlarmEvent>& events)
{
    json out = json::array();
    for (const AlarmEvent& event : events)
        out.push_back(event_json(event.change, event.seq));
    return dump(out);
}

std::vector<AlarmEvent> events_from(const std::string& station, const std::string& payload)
{
    std::vector<AlarmEvent> out;
    const json in = json::parse(payload, nullptr, false);
    if (in.is_object())
        if (auto event = event_of(station, in))
            out.push_back(std::move(*event));
    if (in.is_array())
        for (const json& item : in)
            if (auto event = event_of(station, item))
                out.push_back(std::move(*event));
    return out;
}

std::string ack_payload(const std::string& code) { return dump(json{{"code", code}}); }

std::optional<std::string> acked_code(const std::string& payload)
{
    try {
        return json::parse(payload).at("code").get<std::string>();
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

}  // namespace ovk_wxtools::detail
