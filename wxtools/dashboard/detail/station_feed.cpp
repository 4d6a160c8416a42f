#include "wxtools/dashboard/detail/station_feed.h"

#include "wxtools/dashboard/detail/alarm_core.h"

namespace ovk_wxtools::detail {

namespace {

// Changes that go out in one message at most.
constexpr std::size_t events_per_message = 500;

}  // namespace

StationFeed::StationFeed(std::shared_ptr<AlarmState> state, std::string station, const MqttOptions& options)
    : state_(std::move(state)), station_(std::move(station)), options_(options),
      ack_topic_(station_topic(options.prefix, station_, "ack")),
      active_prefix_(station_topic(options.prefix, station_, "active/")),
      event_topic_(station_topic(options.prefix, station_, "event"))
{
    MqttClient::Hooks hooks;
    hooks.connected = [this](MqttClient& client) { on_connected(client); };
    hooks.message = [this](const std::string& topic, const std::string& payload, bool retained) {
        on_message(topic, payload, retained);
    };
    hooks.take = [this](std::vector<MqttMessage>& out, std::size_t most) { return take(out, most); };
    MqttMessage will{station_topic(options.prefix, station_, "status"), status_payload(false), true};
    client_ = std::make_unique<MqttClient>(options, std::move(will), std::move(hooks));
    const std::vector<ActiveAlarmInfo> now = state_->core().set_feed(this);
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (const ActiveAlarmInfo& info : now) {
            JournalAlarm alarm{station_, info.code.text(), {}, info.level, info.first_raised, info.last_raised,
                               info.times_raised, info.acknowledged, std::nullopt};
            for (const wxString& id : info.identities)
                alarm.identities.push_back(id.utf8_string());
            active_[alarm.code] = std::move(alarm);
            dirty_.insert(info.code.text());
        }
    }
    client_->wake();
}

StationFeed::~StationFeed()
{
    state_->core().set_feed(nullptr);
    client_->set_farewell({station_topic(options_.prefix, station_, "status"), status_payload(false), true});
    // The thread stops while client_ still points at it: its message hook uses it.
    client_->stop();
    client_.reset();
}

std::uint64_t StationFeed::dropped() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return dropped_;
}

bool StationFeed::mark_locked(const std::string& code)
{
    const bool idle = dirty_.empty() && events_.empty();
    dirty_.insert(code);
    retained_.insert(code);
    return idle;
}

void StationFeed::changed(const JournalChange& change)
{
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        // An event goes at once; the states wait for their turn anyway.
        wake = events_.empty();
        if (events_.size() >= std::max<std::size_t>(options_.backlog_limit, 1)) {
            events_.pop_front();
            ++dropped_;
        }
        events_.push_back({++seq_, change});
        const std::string& code = change.entry.code;
        switch (change.active) {
        case JournalChange::Active::keep:
            break;
        case JournalChange::Active::put:
            active_[code] = change.alarm;
            active_[code].station = station_;
            dirty_.insert(code);
            break;
        case JournalChange::Active::remove:
            active_.erase(code);
            dirty_.insert(code);
            break;
        case JournalChange::Active::remove_all:
            for (const auto& [gone, alarm] : active_)
                dirty_.insert(gone);
            active_.clear();
            break;
        }
    }
    if (wake)
        client_->wake();
}

int StationFeed::take(std::vector<MqttMessage>& out, std::size_t most)
{
    std::vector<std::vector<AlarmEvent>> events;
    std::vector<std::pair<std::string, std::optional<JournalAlarm>>> states;
    bool more = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!events_.empty() && events_.size() < events_per_message) {
            using namespace std::chrono;
            const auto now = steady_clock::now();
            const auto due = last_events_ + options_.gather;
            if (now < due)
                return static_cast<int>(ceil<milliseconds>(due - now).count());
        }
        if (!events_.empty())
            last_events_ = std::chrono::steady_clock::now();
        while (!events_.empty() && events.size() < most) {
            events.emplace_back();
            while (!events_.empty() && events.back().size() < events_per_message) {
                events.back().push_back(std::move(events_.front()));
                events_.pop_front();
            }
        }
        // States only after every event before them, so that none is older
        // than an event sent after it.
        if (events_.empty()) {
            while (!dirty_.empty() && states.size() < most) {
                auto code = dirty_.extract(dirty_.begin());
                const auto found = active_.find(code.value());
                if (found != active_.end()) {
                    retained_.insert(code.value());
                    states.emplace_back(std::move(code.value()), found->second);
                } else if (retained_.erase(code.value()) > 0) {
                    states.emplace_back(std::move(code.value()), std::nullopt);
                }
            }
        }
        more = !events_.empty() || !dirty_.empty();
    }
    for (const std::vector<AlarmEvent>& some : events)
        out.push_back({event_topic_, events_payload(some), false});
    for (auto& [code, alarm] : states)
        out.push_back({active_topic(options_.prefix, station_, code), alarm ? alarm_payload(*alarm) : std::string(), true});
    return more ? 0 : MqttClient::nothing_waits;
}

void StationFeed::on_connected(MqttClient& client)
{
    client.subscribe(ack_topic_);
    client.subscribe(active_prefix_ + "+");
    client.publish({station_topic(options_.prefix, station_, "status"), status_payload(true), true});
    std::lock_guard<std::mutex> hold(lock_);
    sweeping_ = true;
    for (const auto& [code, alarm] : active_)
        dirty_.insert(code);
}

void StationFeed::on_message(const std::string& topic, const std::string& payload, bool retained)
{
    if (topic == ack_topic_) {
        if (const auto code = acked_code(payload))
            state_->acknowledge(AlarmCode(*code));
        return;
    }
    if (topic.compare(0, active_prefix_.size(), active_prefix_) != 0)
        return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!sweeping_)
            return;
        if (!retained) {
            // Our own messages are coming back: whatever was retained from before has been seen.
            sweeping_ = false;
            client_->unsubscribe(active_prefix_ + "+");
            return;
        }
        // An alarm retained from an earlier run that is not active now goes.
        const std::string code = from_topic_level(topic.substr(active_prefix_.size()));
        if (!payload.empty() && !active_.count(code))
            wake = mark_locked(code);
    }
    if (wake)
        client_->wake();
}

}  // namespace ovk_wxtools::detail
