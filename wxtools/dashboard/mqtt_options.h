#pragma once
// Where the alarms of a plant meet: an MQTT broker, and how a station or a
// control room talks to it.
//
// Every station publishes under PREFIX/STATION/alarms/:
//
//   status          retained  {"online":true} while connected; the broker
//                             itself writes {"online":false} when the
//                             station goes without saying goodbye
//   active/CODE     retained  one active alarm as JSON; an empty message
//                             once it went
//   event           QoS 1     the changes (raise, repeat, release, clear,
//                             acknowledge, shelve, all clear) made since the
//                             last such message, as a JSON array, oldest first
//   ack             QoS 1     {"code":"..."}: a control room asks the station
//                             to acknowledge; the station does and publishes
//                             the change
//
// A station name or code in a topic has '/', '+', '#', '%' and control
// characters written as %XX; the payloads carry the texts as they are (UTF-8).
#include <chrono>
#include <cstddef>
#include <string>

namespace ovk_wxtools {

struct MqttOptions {
    // The broker's host name or address.
    std::string host = "127.0.0.1";
    // The broker's port.
    int port = 1883;
    // The first levels of every topic.
    std::string prefix = "plant";
    // Seconds between signs of life; a station silent for 1.5 times this is
    // declared offline by the broker.
    int keepalive = 10;
    // Changes that wait while the broker cannot be reached; beyond this the
    // oldest events go (the active alarms are always sent again in full on
    // reconnecting, whatever the backlog lost).
    std::size_t backlog_limit = 100000;
    // A change within this time of the last event message waits out the
    // rest of it and goes with whatever else came meanwhile; a change after a
    // quiet spell goes at once. In a flood this keeps the broker at a few
    // hundred messages a second instead of one per change (brokers drop
    // messages to a subscriber that falls far enough behind). Zero sends every
    // change as soon as the network allows.
    std::chrono::milliseconds gather{2};
    // The wait before reconnecting doubles from this...
    std::chrono::milliseconds reconnect_first{100};
    // ...up to this.
    std::chrono::milliseconds reconnect_most{5000};
};

}  // namespace ovk_wxtools
