#include "wxtools/dashboard/alarm_subscriber.h"

#include "wxtools/dashboard/detail/alarm_messages.h"
#include "wxtools/dashboard/detail/mqtt_client.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <mutex>

namespace ovk_wxtools {

using detail::MqttClient;
using detail::MqttMessage;

struct AlarmSubscriber::Impl {
    struct Alarm {
        JournalAlarm alarm;
        std::uint64_t heard = 0;  // the connection it was last heard on
    };
    struct Station {
        bool online = false;
        std::uint64_t heard = 0;
        std::map<std::string, Alarm> alarms;
    };

    Impl(MqttOptions options, std::shared_ptr<AlarmJournal> journal);
    void connected(MqttClient& client);
    void disconnected();
    void message(const std::string& topic, const std::string& payload);
    // Forgets what the broker did not repeat since connection `round` began.
    void resync(std::uint64_t round);
    void tell();

    const MqttOptions options;
    const std::shared_ptr<AlarmJournal> journal;
    const std::string sync_topic;

    mutable std::mutex lock;
    std::map<std::string, Station> stations;
    std::deque<JournalEntry> events;
    std::uint64_t round = 0;
    std::function<void()> on_change;

    std::unique_ptr<MqttClient> client;
};

namespace {

std::string unique_sync_topic(const std::string& prefix)
{
    static std::atomic<unsigned> count{0};
    return prefix + "/.control-room/" + std::to_string(getpid()) + "-" + std::to_string(++count);
}

}  // namespace

AlarmSubscriber::Impl::Impl(MqttOptions given, std::shared_ptr<AlarmJournal> kept)
    : options(std::move(given)), journal(std::move(kept)), sync_topic(unique_sync_topic(options.prefix))
{
    MqttClient::Hooks hooks;
    hooks.connected = [this](MqttClient& c) { connected(c); };
    hooks.disconnected = [this] { disconnected(); };
    hooks.message = [this](const std::string& topic, const std::string& payload, bool) { message(topic, payload); };
    client = std::make_unique<MqttClient>(options, std::nullopt, std::move(hooks));
}

void AlarmSubscriber::Impl::connected(MqttClient& c)
{
    std::uint64_t now = 0;
    {
        std::lock_guard<std::mutex> hold(lock);
        now = ++round;
    }
    c.subscribe(options.prefix + "/+/alarms/#");
    c.subscribe(sync_topic);
    // The broker hands out the retained messages before it passes this one
    // back: when it arrives, whatever was not repeated is gone.
    c.publish({sync_topic, std::to_string(now), false});
}

void AlarmSubscriber::Impl::disconnected()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        for (auto& [name, station] : stations)
            station.online = false;
    }
    tell();
}

void AlarmSubscriber::Impl::resync(std::uint64_t done)
{
    std::lock_guard<std::mutex> hold(lock);
    if (done != round)
        return;
    for (auto& [name, station] : stations) {
        if (station.heard < done)
            station.online = false;
        std::erase_if(station.alarms, [done](const auto& item) { return item.second.heard < done; });
    }
}

void AlarmSubscriber::Impl::message(const std::string& topic, const std::string& payload)
{
    if (topic == sync_topic) {
        resync(std::strtoull(payload.c_str(), nullptr, 10));
        tell();
        return;
    }
    const auto about = detail::parse_alarm_topic(options.prefix, topic);
    if (!about)
        return;
    std::vector<detail::JournalChange> to_journal;
    {
        std::lock_guard<std::mutex> hold(lock);
        if (about->leaf == "status") {
            Station& station = stations[about->station];
            station.online = detail::online_from(payload).value_or(false);
            station.heard = round;
        } else if (about->leaf == "active") {
            if (payload.empty()) {
                if (auto found = stations.find(about->station); found != stations.end())
                    found->second.alarms.erase(about->code);
            } else if (auto alarm = detail::alarm_from(payload)) {
                alarm->station = about->station;
                stations[about->station].alarms[about->code] = Alarm{std::move(*alarm), round};
            }
        } else if (about->leaf == "event") {
            auto received = detail::events_from(about->station, payload);
            if (received.empty())
                return;
            stations.try_emplace(about->station);
            for (detail::AlarmEvent& event : received) {
                if (events.size() >= std::max<std::size_t>(options.backlog_limit, 1))
                    events.pop_front();
                events.push_back(event.change.entry);
                if (journal)
                    to_journal.push_back(std::move(event.change));
            }
        } else {
            return;
        }
    }
    for (detail::JournalChange& change : to_journal) {
        journal->writer().make_room();
        journal->writer().append(std::move(change));
    }
    tell();
}

void AlarmSubscriber::Impl::tell()
{
    std::function<void()> call;
    {
        std::lock_guard<std::mutex> hold(lock);
        call = on_change;
    }
    if (call)
        call();
}

AlarmSubscriber::AlarmSubscriber(MqttOptions options, std::shared_ptr<AlarmJournal> journal)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(journal)))
{
}

AlarmSubscriber::~AlarmSubscriber()
{
    // The client's thread ends first: nothing calls into the rest afterwards.
    impl_->client.reset();
}

bool AlarmSubscriber::connected() const { return impl_->client->connected(); }

std::vector<RemoteStation> AlarmSubscriber::stations() const
{
    std::lock_guard<std::mutex> hold(impl_->lock);
    std::vector<RemoteStation> out;
    for (const auto& [name, station] : impl_->stations)
        out.push_back({name, station.online, station.alarms.size()});
    return out;
}

std::vector<JournalAlarm> AlarmSubscriber::alarms() const
{
    std::vector<JournalAlarm> out;
    std::lock_guard<std::mutex> hold(impl_->lock);
    for (const auto& [name, station] : impl_->stations) {
        const std::size_t first = out.size();
        for (const auto& [code, alarm] : station.alarms)
            out.push_back(alarm.alarm);
        std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                         [](const JournalAlarm& a, const JournalAlarm& b) { return a.first_raised < b.first_raised; });
    }
    return out;
}

std::vector<JournalEntry> AlarmSubscriber::take_events()
{
    std::lock_guard<std::mutex> hold(impl_->lock);
    std::vector<JournalEntry> out(std::make_move_iterator(impl_->events.begin()),
                                  std::make_move_iterator(impl_->events.end()));
    impl_->events.clear();
    return out;
}

bool AlarmSubscriber::acknowledge(const std::string& station, const std::string& code)
{
    return impl_->client->send(
        {detail::station_topic(impl_->options.prefix, station, "ack"), detail::ack_payload(code), false});
}

void AlarmSubscriber::on_change(std::function<void()> call)
{
    std::lock_guard<std::mutex> hold(impl_->lock);
    impl_->on_change = std::move(call);
}

}  // namespace ovk_wxtools
