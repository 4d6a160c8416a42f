// Stations over a broker: how long an alarm raised at a station takes to
// reach a control room through a real mosquitto on loopback, at 10,000
// changes per second (p50, p99, max), and whether every one arrived.
#include "tests/dashboard/mqtt_broker.h"
#include "wxtools/dashboard/alarm_publisher.h"
#include "wxtools/dashboard/alarm_subscriber.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace ovk_wxtools;
using clock_type = std::chrono::steady_clock;

namespace {

void BM_StationToControlRoomLatency(benchmark::State& state)
{
    const long per_second = state.range(0);
    const long total = per_second * 3;
    ovk_wxtest::MqttBroker broker;
    MqttOptions options;
    options.port = broker.port();
    options.prefix = "bench";
    std::vector<clock_type::time_point> sent(static_cast<std::size_t>(total));
    std::vector<double> latency_ms;
    latency_ms.reserve(static_cast<std::size_t>(total));
    std::mutex lock;
    AlarmSubscriber room(options);
    room.on_change([&] {
        const auto now = clock_type::now();
        std::lock_guard<std::mutex> hold(lock);
        for (const JournalEntry& e : room.take_events())
            if (e.kind == JournalEntry::Kind::raise)
                latency_ms.push_back(std::chrono::duration<double, std::milli>(
                                         now - sent[static_cast<std::size_t>(std::stol(e.code.substr(1)))])
                                         .count());
    });
    auto station = std::make_shared<AlarmState>();
    AlarmPublisher publisher(station, "station 1", options);
    while (!room.connected() || !publisher.connected())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (auto _ : state) {
        const auto start = clock_type::now();
        for (long i = 0; i < total; ++i) {
            // Paced: change i is due at start + i / per_second.
            const auto due = start + std::chrono::nanoseconds(i * 1000000000 / per_second);
            std::this_thread::sleep_until(due);
            char text[24];
            std::snprintf(text, sizeof text, "c%ld", i);
            const AlarmCode code(text);
            sent[static_cast<std::size_t>(i)] = clock_type::now();
            station->alarm(code, {});
            station->clear(code);
        }
        const auto until = clock_type::now() + std::chrono::seconds(10);
        while (clock_type::now() < until) {
            {
                std::lock_guard<std::mutex> hold(lock);
                if (static_cast<long>(latency_ms.size()) >= total)
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::lock_guard<std::mutex> hold(lock);
    std::sort(latency_ms.begin(), latency_ms.end());
    auto at = [&](double q) {
        return latency_ms.empty() ? 0.0 : latency_ms[static_cast<std::size_t>(q * static_cast<double>(latency_ms.size() - 1))];
    };
    state.counters["received"] = static_cast<double>(latency_ms.size());
    state.counters["sent"] = static_cast<double>(total);
    state.counters["p50_ms"] = at(0.5);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = latency_ms.empty() ? 0.0 : latency_ms.back();
    state.counters["dropped"] = static_cast<double>(publisher.dropped());
}
BENCHMARK(BM_StationToControlRoomLatency)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
