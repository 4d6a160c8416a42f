#pragma once
// A control room's view of the stations that publish their alarms to an
// MQTT broker (AlarmPublisher): which stations there are and whether they
// are online, their active alarms, and the stream of their changes.
//
// Nothing here waits for the network: a thread of the subscriber's own
// talks to the broker and reconnects with a growing wait. While the broker
// is away every station shows offline with its last known alarms; after a
// reconnect the broker's retained messages replace them, so alarms that went
// meanwhile go here too.
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/mqtt_options.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ovk_wxtools {

struct RemoteStation {
    std::string name;  // UTF-8
    // Whether it is connected to the broker, as far as the broker says.
    bool online = false;
    std::size_t active = 0;  // alarms active there
};

class AlarmSubscriber {
public:
    // Follows every station under `options.prefix`. When `journal` is given,
    // every change received goes into it with its station's name.
    explicit AlarmSubscriber(MqttOptions options = {}, std::shared_ptr<AlarmJournal> journal = nullptr);
    ~AlarmSubscriber();
    AlarmSubscriber(const AlarmSubscriber&) = delete;
    AlarmSubscriber& operator=(const AlarmSubscriber&) = delete;

    // Whether the broker has the connection right now.
    bool connected() const;
    // The stations heard of, by name.
    std::vector<RemoteStation> stations() const;
    // Every station's active alarms, by station and then as they were raised.
    std::vector<JournalAlarm> alarms() const;
    // The changes received since the last call, oldest first. When nobody
    // takes them, the oldest go beyond MqttOptions::backlog_limit.
    std::vector<JournalEntry> take_events();
    // Asks `station` to acknowledge `code`; the station's answer arrives as
    // any other change. False when the request cannot even be queued.
    bool acknowledge(const std::string& station, const std::string& code);
    // Called on the subscriber's thread whenever anything above changed:
    // take note and read later, never from inside the call.
    void on_change(std::function<void()> call);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ovk_wxtools
