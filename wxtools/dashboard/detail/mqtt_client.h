#pragma once
// One connection to an MQTT broker, run by a thread of its own that is the
// only one to touch the library's handle: it connects, reconnects with a
// growing wait, reads and writes the socket, and asks its owner for what to
// send whenever it is woken. Other threads only queue and wake it, so none of
// them ever waits for the network.
#include "wxtools/dashboard/mqtt_options.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace ovk_wxtools::detail {

struct MqttMessage {
    std::string topic, payload;
    bool retain = false;
};

class MqttClient {
public:
    // Everything the owner is told or asked, always on the client's thread.
    struct Hooks {
        // The broker accepted the connection: subscribe, send the full state again.
        std::function<void(MqttClient&)> connected;
        // The connection went; the client is reconnecting.
        std::function<void()> disconnected;
        std::function<void(const std::string& topic, const std::string& payload, bool retained)> message;
        // Appends what the owner has to send now, at most `most` messages.
        // Answers in how many milliseconds it has more to send: 0 at once,
        // nothing_waits when it has nothing left (it wakes the client when
        // it has).
        std::function<int(std::vector<MqttMessage>& out, std::size_t most)> take;
    };

    static constexpr int nothing_waits = -1;

    // Starts connecting at once. `will` is what the broker publishes when the
    // connection is lost without a goodbye.
    MqttClient(const MqttOptions& options, std::optional<MqttMessage> will, Hooks hooks);
    // Sends what waits (for up to a second while connected), then `farewell`
    // if set (see set_farewell), and disconnects.
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Any thread: has the client's thread ask take() again.
    void wake();
    // Ends the network thread (after its farewell); no hook runs afterwards.
    // The destructor does the same.
    void stop();
    // Any thread: queues one message (QoS 1); beyond the backlog limit it is dropped.
    bool send(MqttMessage message);
    // Whether the broker has accepted the connection and not lost it since.
    bool connected() const { return connected_.load(); }
    // Waits until every message handed over so far has been confirmed by
    // the broker, or `timeout` passed; true when they were.
    bool flush(std::chrono::milliseconds timeout);
    // What the client publishes before a clean disconnect. Set before it stops.
    void set_farewell(MqttMessage message);

    // The client's thread only (inside the hooks).
    void publish(const MqttMessage& message);
    void subscribe(const std::string& pattern);
    void unsubscribe(const std::string& pattern);

private:
    void run();
    bool connect(bool first);
    // Hands waiting messages to the library; answers in how many
    // milliseconds more waits to go (nothing_waits: none).
    int pump_out();
    void serve_socket(int timeout_ms);
    void drop_connection();
    void wait_before_retry(std::chrono::milliseconds delay);
    void finish();

    static void on_connect(mosquitto*, void* self, int rc);
    static void on_publish(mosquitto*, void* self, int mid);
    static void on_message(mosquitto*, void* self, const mosquitto_message* message);

    const MqttOptions options_;
    const std::optional<MqttMessage> will_;
    Hooks hooks_;
    mosquitto* handle_ = nullptr;
    int wake_fd_ = -1;

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<MqttMessage> queue_;
    std::vector<MqttMessage> retry_;  // refused for a lost connection: sent first again
    std::optional<MqttMessage> farewell_;
    std::uint64_t handed_ = 0, confirmed_ = 0;  // QoS 1 messages given to the library / acknowledged
    std::uint64_t flushes_asked_ = 0, flushes_served_ = 0;
    bool idle_ = false;  // the last turn sent everything the owner and the queue had
    bool stop_ = false;

    std::atomic<bool> connected_{false};
    bool socket_open_ = false;
    std::chrono::milliseconds delay_;  // before the next reconnect
    std::thread thread_;
};

// A topic level for `text`: '/', '+', '#', '%' and control characters as %XX.
std::string topic_level(const std::string& text);
// The text of a level made by topic_level.
std::string from_topic_level(const std::string& level);

}  // namespace ovk_wxtools::detail
