#pragma once
// The spdlog side of the alarm dashboard: a sink that hands every record it
// gets to the dashboard. Loggers own their sinks and may outlive the window,
// so the window is not the sink itself; this small object stands in for it and
// drops records once the window is gone.
#include "wxtools/dashboard/log_record.h"

#include <spdlog/sinks/base_sink.h>

#include <cstddef>
#include <mutex>

namespace ovk_wxtools {

class BigEventDashBoard;

class DashboardSink final : public spdlog::sinks::base_sink<std::mutex> {
public:
    explicit DashboardSink(BigEventDashBoard& dashboard);

    // Called by the dashboard's destructor. It waits for a record being handed
    // over right now; every later record is dropped.
    void detach();
    bool attached();
    // Records that arrived after detach().
    std::size_t dropped();

protected:
    void sink_it_(const spdlog::details::log_msg& message) override;
    void flush_() override {}

private:
    // Both guarded by base_sink's mutex_, which spdlog holds around sink_it_.
    BigEventDashBoard* dashboard_;
    std::size_t dropped_ = 0;
};

}  // namespace ovk_wxtools
