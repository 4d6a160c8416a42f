#pragma once
// A station's alarms on an MQTT broker, for control rooms elsewhere (see
// mqtt_options.h for the topics and payloads).
//
// While it lives, the publisher sends every change of `state` (raise,
// repeat, release, clear, acknowledge, shelve, all clear) as an event, keeps
// each active alarm as a retained message and the station's status as
// retained "online"; the broker marks the station offline when the
// connection breaks without a goodbye. A control room's acknowledgement comes
// back through the broker and is applied to `state`, which then publishes it
// like any other.
//
// The thread that changes the state never waits for the network: changes
// wait in a bounded backlog while the broker is away (the oldest events go
// beyond MqttOptions::backlog_limit), the publisher reconnects with a growing
// wait and then sends the backlog and every active alarm again.
#include "wxtools/dashboard/alarm_state.h"
#include "wxtools/dashboard/mqtt_options.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace ovk_wxtools {

namespace detail {
class StationFeed;
}

class AlarmPublisher {
public:
    // Publishes `state`'s alarms as `station` (UTF-8). One publisher per state.
    AlarmPublisher(std::shared_ptr<AlarmState> state, std::string station, MqttOptions options = {});
    // Sends what waits (for up to a second), says "offline" and disconnects.
    ~AlarmPublisher();
    AlarmPublisher(const AlarmPublisher&) = delete;
    AlarmPublisher& operator=(const AlarmPublisher&) = delete;

    // The station's name, as given.
    const std::string& station() const;
    // Whether the broker has the connection right now.
    bool connected() const;
    // Waits until every change so far has reached the broker, at most `timeout`.
    bool flush(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Events dropped because the backlog was full, since the start.
    std::uint64_t dropped() const;

private:
    std::unique_ptr<detail::StationFeed> feed_;
};

}  // namespace ovk_wxtools
