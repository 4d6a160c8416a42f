#include "wxtools/dashboard/dashboard_sink.h"

#include "wxtools/dashboard/big_event_dash_board.h"

namespace ovk_wxtools {

DashboardSink::DashboardSink(BigEventDashBoard& dashboard) : dashboard_(&dashboard) {}

void DashboardSink::detach()
{
    std::lock_guard<std::mutex> hold(mutex_);
    dashboard_ = nullptr;
}

bool DashboardSink::attached()
{
    std::lock_guard<std::mutex> hold(mutex_);
    return dashboard_ != nullptr;
}

std::size_t DashboardSink::dropped()
{
    std::lock_guard<std::mutex> hold(mutex_);
    return dropped_;
}

void DashboardSink::sink_it_(const spdlog::details::log_msg& message)
{
    if (!dashboard_) {
        ++dropped_;
        return;
    }
    dashboard_->emit(LogRecord::from(message));
}

}  // namespace ovk_wxtools
