#include "wxtools/dashboard/alarm_publisher.h"

#include "wxtools/dashboard/detail/station_feed.h"

namespace ovk_wxtools {

AlarmPublisher::AlarmPublisher(std::shared_ptr<AlarmState> state, std::string station, MqttOptions options)
    : feed_(std::make_unique<detail::StationFeed>(std::move(state), std::move(station), options))
{
}

AlarmPublisher::~AlarmPublisher() = default;

const std::string& AlarmPublisher::station() const { return feed_->station(); }
bool AlarmPublisher::connected() const { return feed_->connected(); }
bool AlarmPublisher::flush(std::chrono::milliseconds timeout) { return feed_->flush(timeout); }
std::uint64_t AlarmPublisher::dropped() const { return feed_->dropped(); }

}  // namespace ovk_wxtools
