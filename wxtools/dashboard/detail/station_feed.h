#pragma once
// The publisher's works: follows an AlarmState's changes and turns them into
// messages for its MQTT client. Events wait in a bounded queue and go out
// together, all that gathered since the last send in one message. The active
// alarms are kept whole, so that each one changed since the last send (or
// every one, after a reconnect) goes out in its latest state whatever the
// queue had to drop. The retained states go right after the events that led
// to them, and a code that came and went between two sends, never published
// as active, needs no message to take it back.
#include "wxtools/dashboard/alarm_state.h"
#include "wxtools/dashboard/detail/alarm_messages.h"
#include "wxtools/dashboard/detail/change_feed.h"
#include "wxtools/dashboard/detail/mqtt_client.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ovk_wxtools::detail {

class StationFeed final : public ChangeFeed {
public:
    StationFeed(std::shared_ptr<AlarmState> state, std::string station, const MqttOptions& options);
    ~StationFeed();

    void changed(const JournalChange& change) override;

    const std::string& station() const { return station_; }
    bool connected() const { return client_->connected(); }
    bool flush(std::chrono::milliseconds timeout) { return client_->flush(timeout); }
    std::uint64_t dropped() const;

private:
    // The client's hooks, on its thread.
    int take(std::vector<MqttMessage>& out, std::size_t most);
    void on_connected(MqttClient& client);
    void on_message(const std::string& topic, const std::string& payload, bool retained);
    // Marks `code` to be sent in its current state; `lock_` is held. Answers
    // whether the client has to be woken.
    bool mark_locked(const std::string& code);

    const std::shared_ptr<AlarmState> state_;
    const std::string station_;
    const MqttOptions options_;
    const std::string ack_topic_, active_prefix_, event_topic_;

    mutable std::mutex lock_;
    std::deque<AlarmEvent> events_;
    std::map<std::string, JournalAlarm> active_;
    std::set<std::string> dirty_;
    // Codes the broker may keep a retained active message of.
    std::set<std::string> retained_;
    std::uint64_t seq_ = 0, dropped_ = 0;
    // When the last event message went (see MqttOptions::gather).
    std::chrono::steady_clock::time_point last_events_;
    // Retained alarms of an earlier run are swept until the first message of this one comes back.
    bool sweeping_ = false;

    std::unique_ptr<MqttClient> client_;
};

}  // namespace ovk_wxtools::detail
