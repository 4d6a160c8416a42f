#pragma once
// The spdlog side of the alarm dashboard: a sink that hands every record it
// gets to the dashboard's shared state. Loggers own their sinks and may
// outlive the window, so the window is not the sink itself; this small object
// stands in for it and drops records once the window is gone.
//
// It takes no lock of its own around a record: a logging thread that waits
// for room in the dashboard's backlog must not keep the GUI thread (which
// may log too) from getting through to the dashboard.
#include "wxtools/dashboard/log_record.h"

#include <spdlog/sinks/sink.h>

#include <atomic>
#include <cstddef>
#include <memory>

namespace ovk_wxtools {

class AlarmState;

class DashboardSink final : public spdlog::sinks::sink {
public:
    explicit DashboardSink(std::shared_ptr<AlarmState> state);

    // Whether the dashboard's window still takes records.
    bool attached();
    // Records that arrived after the window had gone.
    std::size_t dropped();

    // Hands `message` to the dashboard's state, or counts it as dropped once the window has gone.
    void log(const spdlog::details::log_msg& message) override;
    // Nothing to flush: records reach the dashboard's state at once.
    void flush() override {}
    // Records are shown as their level, time and message: there is nothing to format.
    void set_pattern(const std::string&) override {}
    void set_formatter(std::unique_ptr<spdlog::formatter>) override {}

private:
    // Weak: the state holds the dashboard's logger, which may hold this sink.
    const std::weak_ptr<AlarmState> state_;
    std::atomic<std::size_t> dropped_{0};
};

}  // namespace ovk_wxtools
