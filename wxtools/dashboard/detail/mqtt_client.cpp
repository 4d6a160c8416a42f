#include "wxtools/dashboard/detail/mqtt_client.h"

#include <mosquitto.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace ovk_wxtools::detail {

namespace {

// Messages handed to the library per turn before the socket is served again.
constexpr std::size_t turn_messages = 1000;
// Messages the library may have on the way to the broker, unconfirmed.
constexpr int in_flight = 1000;
// How long a stopping client goes on sending what waits.
constexpr auto goodbye_time = std::chrono::seconds(1);

void start_library()
{
    static const int started = mosquitto_lib_init();
    (void)started;
}

}  // namespace

std::string topic_level(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '+' || c == '#' || c == '%' || byte < 0x20 || byte == 0x7f) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string from_topic_level(const std::string& level)
{
    std::string out;
    out.reserve(level.size());
    for (std::size_t i = 0; i < level.size(); ++i) {
        unsigned int byte = 0;
        if (level[i] == '%' && i + 2 < level.size() && std::sscanf(level.c_str() + i + 1, "%2x", &byte) == 1) {
            out += static_cast<char>(byte);
            i += 2;
        } else {
            out += level[i];
        }
    }
    return out;
}

MqttClient::MqttClient(const MqttOptions& options, std::optional<MqttMessage> will, Hooks hooks)
    : options_(options), will_(std::move(will)), hooks_(std::move(hooks))
{
    delay_ = options_.reconnect_first;
    start_library();
    handle_ = mosquitto_new(nullptr, true, this);
    wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (!handle_)
        return;
    mosquitto_connect_callback_set(handle_, &MqttClient::on_connect);
    mosquitto_publish_callback_set(handle_, &MqttClient::on_publish);
    mosquitto_message_callback_set(handle_, &MqttClient::on_message);
    mosquitto_max_inflight_messages_set(handle_, in_flight);
    // Alarms are small and wanted at once: no waiting to fill a segment.
    mosquitto_int_option(handle_, MOSQ_OPT_TCP_NODELAY, 1);
    if (will_)
        mosquitto_will_set(handle_, will_->topic.c_str(), static_cast<int>(will_->payload.size()),
                           will_->payload.data(), 1, will_->retain);
    thread_ = std::thread([this] { run(); });
}

MqttClient::~MqttClient()
{
    stop();
    if (handle_)
        mosquitto_destroy(handle_);
    if (wake_fd_ >= 0)
        close(wake_fd_);
}

void MqttClient::stop()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    changed_.notify_all();
    wake();
    if (thread_.joinable())
        thread_.join();
}

void MqttClient::wake()
{
    const std::uint64_t one = 1;
    if (wake_fd_ >= 0)
        (void)!write(wake_fd_, &one, sizeof one);
}

bool MqttClient::send(MqttMessage message)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (queue_.size() >= options_.backlog_limit)
            return false;
        queue_.push_back(std::move(message));
    }
    wake();
    return true;
}

void MqttClient::set_farewell(MqttMessage message)
{
    std::lock_guard<std::mutex> hold(lock_);
    farewell_ = std::move(message);
}

bool MqttClient::flush(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> hold(lock_);
    const std::uint64_t asked = ++flushes_asked_;
    hold.unlock();
    wake();
    hold.lock();
    return changed_.wait_for(hold, timeout, [&] {
        return flushes_served_ >= asked && idle_ && queue_.empty() && handed_ == confirmed_;
    });
}

void MqttClient::publish(const MqttMessage& message)
{
    const int rc = mosquitto_publish(handle_, nullptr, message.topic.c_str(), static_cast<int>(message.payload.size()),
                                     message.payload.data(), 1, message.retain);
    std::lock_guard<std::mutex> hold(lock_);
    if (rc == MOSQ_ERR_SUCCESS)
        ++handed_;
    else if (rc == MOSQ_ERR_NO_CONN || rc == MOSQ_ERR_CONN_LOST)
        retry_.push_back(message);  // again, first, once the connection is back
}

void MqttClient::subscribe(const std::string& pattern)
{
    mosquitto_subscribe(handle_, nullptr, pattern.c_str(), 1);
}

void MqttClient::unsubscribe(const std::string& pattern)
{
    mosquitto_unsubscribe(handle_, nullptr, pattern.c_str());
}

void MqttClient::run()
{
    bool first = true;
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (stop_)
                break;
        }
        if (!socket_open_) {
            if (!connect(first)) {
                first = false;
                wait_before_retry(delay_);
                delay_ = std::min(delay_ * 2, options_.reconnect_most);
                continue;
            }
            first = false;
        }
        const int next = connected_ ? pump_out() : nothing_waits;
        serve_socket(next == nothing_waits ? 1000 : next);
    }
    finish();
}

bool MqttClient::connect(bool first)
{
    const int rc = first ? mosquitto_connect(handle_, options_.host.c_str(), options_.port, options_.keepalive)
                         : mosquitto_reconnect(handle_);
    socket_open_ = rc == MOSQ_ERR_SUCCESS;
    return socket_open_;
}

int MqttClient::pump_out()
{
    std::uint64_t asked = 0;
    std::vector<MqttMessage> out;
    {
        std::lock_guard<std::mutex> hold(lock_);
        asked = flushes_asked_;
        out.swap(retry_);
    }
    int next = hooks_.take ? hooks_.take(out, turn_messages) : nothing_waits;
    {
        std::lock_guard<std::mutex> hold(lock_);
        while (out.size() < 2 * turn_messages && !queue_.empty()) {
            out.push_back(std::move(queue_.front()));
            queue_.pop_front();
        }
        if (!queue_.empty())
            next = 0;
    }
    for (const MqttMessage& message : out)
        publish(message);
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!retry_.empty())
            next = 0;
        idle_ = next == nothing_waits;
        flushes_served_ = asked;
    }
    changed_.notify_all();
    return next;
}

void MqttClient::serve_socket(int timeout_ms)
{
    const int fd = mosquitto_socket(handle_);
    if (fd < 0) {
        drop_connection();
        return;
    }
    pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (mosquitto_want_write(handle_) ? POLLOUT : 0)), 0},
                     {wake_fd_, POLLIN, 0}};
    poll(fds, 2, timeout_ms);
    if (fds[1].revents & POLLIN) {
        std::uint64_t count = 0;
        (void)!read(wake_fd_, &count, sizeof count);
    }
    int rc = MOSQ_ERR_SUCCESS;
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR))
        rc = mosquitto_loop_read(handle_, 1);
    if (rc == MOSQ_ERR_SUCCESS && mosquitto_want_write(handle_))
        rc = mosquitto_loop_write(handle_, 1);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_loop_misc(handle_);
    if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(handle_) < 0)
        drop_connection();
}

void MqttClient::drop_connection()
{
    const bool was = connected_.exchange(false);
    if (mosquitto_socket(handle_) >= 0)
        mosquitto_disconnect(handle_);
    socket_open_ = false;
    if (was && hooks_.disconnected)
        hooks_.disconnected();
}

void MqttClient::wait_before_retry(std::chrono::milliseconds delay)
{
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, delay, [this] { return stop_; });
}

void MqttClient::finish()
{
    if (!connected_) {
        drop_connection();
        return;
    }
    const auto until = std::chrono::steady_clock::now() + goodbye_time;
    for (int next = 0; connected_ && next != nothing_waits && std::chrono::steady_clock::now() < until;) {
        next = pump_out();
        serve_socket(next == nothing_waits ? 0 : next);
    }
    std::optional<MqttMessage> farewell;
    {
        std::lock_guard<std::mutex> hold(lock_);
        farewell = farewell_;
    }
    if (farewell && connected_)
        publish(*farewell);
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (handed_ == confirmed_)
                break;
        }
        if (!connected_ || std::chrono::steady_clock::now() >= until)
            break;
        serve_socket(10);
    }
    connected_ = false;
    mosquitto_disconnect(handle_);
    socket_open_ = false;
}

void MqttClient::on_connect(mosquitto*, void* self, int rc)
{
    auto* client = static_cast<MqttClient*>(self);
    if (rc != 0)
        return;
    client->connected_ = true;
    client->delay_ = client->options_.reconnect_first;
    if (client->hooks_.connected)
        client->hooks_.connected(*client);
}

void MqttClient::on_publish(mosquitto*, void* self, int)
{
    auto* client = static_cast<MqttClient*>(self);
    {
        std::lock_guard<std::mutex> hold(client->lock_);
        ++client->confirmed_;
    }
    client->changed_.notify_all();
}

void MqttClient::on_message(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* client = static_cast<MqttClient*>(self);
    if (!client->hooks_.message || !message->topic)
        return;
    const std::string payload = message->payload ? std::string(static_cast<const char*>(message->payload),
                                                               static_cast<std::size_t>(message->payloadlen))
                                                 : std::string();
    client->hooks_.message(message->topic, payload, message->retain);
}

}  // namespace ovk_wxtools::detail
