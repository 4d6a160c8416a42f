#include "wxtools/dashboard/dashboard_sink.h"

#include "wxtools/dashboard/alarm_state.h"

namespace ovk_wxtools {

DashboardSink::DashboardSink(std::shared_ptr<AlarmState> state) : state_(std::move(state)) {}

bool DashboardSink::attached()
{
    const auto state = state_.lock();
    return state && state->attached();
}

std::size_t DashboardSink::dropped()
{
    return dropped_.load();
}

void DashboardSink::log(const spdlog::details::log_msg& message)
{
    const auto state = state_.lock();
    if (!state || !state->emit(LogRecord::from(message)))
        ++dropped_;
}

}  // namespace ovk_wxtools
