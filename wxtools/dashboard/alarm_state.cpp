#include "wxtools/dashboard/alarm_state.h"

#include "wxtools/dashboard/detail/alarm_core.h"

namespace ovk_wxtools {

AlarmState::AlarmState(Logger logger) : core_(std::make_unique<detail::AlarmCore>(std::move(logger))) {}

AlarmState::~AlarmState() = default;

void AlarmState::alarm(const AlarmCode& code, std::any detail, const wxString& identity,
                       spdlog::level::level_enum level)
{
    core_->alarm(code, std::move(detail), identity, level);
}

bool AlarmState::fired(const AlarmCode& code, const std::optional<wxString>& identity) const
{
    return core_->fired(code, identity);
}

bool AlarmState::any_fired() const { return core_->any_fired(); }
void AlarmState::clear(const AlarmCode& code, const std::optional<wxString>& identity) { core_->clear(code, identity); }
void AlarmState::clear_all() { core_->clear_all(); }
void AlarmState::update() { core_->update(); }
AlarmState::Logger AlarmState::logger() const { return core_->logger(); }
void AlarmState::set_logger(Logger logger) { core_->set_logger(std::move(logger)); }
std::vector<ActiveAlarmInfo> AlarmState::snapshot() const { return core_->snapshot(); }
bool AlarmState::acknowledge(const AlarmCode& code) { return core_->acknowledge(code); }
std::size_t AlarmState::acknowledge_all() { return core_->acknowledge_all(); }

bool AlarmState::shelve(const AlarmCode& code, std::chrono::milliseconds duration)
{
    return core_->shelve(code, duration);
}

bool AlarmState::emit(LogRecord record) { return core_->emit(std::move(record)); }
bool AlarmState::attached() const { return core_->attached(); }
std::size_t AlarmState::backlog() const { return core_->backlog(); }
std::size_t AlarmState::backlog_limit() const { return core_->backlog_limit(); }
void AlarmState::set_backlog_limit(std::size_t limit) { core_->set_backlog_limit(limit); }

}  // namespace ovk_wxtools
