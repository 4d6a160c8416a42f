#pragma once
// The control room's window: the alarms of every station that publishes to
// an MQTT broker (AlarmPublisher), with the station in a column of its own.
//
// Three lists: the stations and whether each is online; their active
// alarms (those of an offline station stay, marked so, until it is back and
// says otherwise); and the history of every change received. Acknowledge
// asks the selected alarm's station, through the broker, to acknowledge it;
// the list shows it acknowledged once the station has done so.
#include "wxtools/dashboard/alarm_subscriber.h"
#include "wxtools/dashboard/plant_dashboard_options.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <atomic>
#include <memory>
#include <vector>

namespace ovk_wxtools {

namespace detail {
class RemoteHistoryList;
}

class PlantDashboard : public wxPanel {
public:
    // Connects to the broker of `options` at once; the lists fill as the stations are heard.
    PlantDashboard(wxWindow* parent, const PlantDashboardOptions& options = {});
    ~PlantDashboard() override;

    // The options it was made with.
    const PlantDashboardOptions& options() const { return options_; }
    // The stations' side, for code that reads or acknowledges without the lists.
    AlarmSubscriber& subscriber() { return *subscriber_; }
    // The journal of PlantDashboardOptions::journal; nullptr without one.
    std::shared_ptr<AlarmJournal> journal() const { return journal_; }

    // GUI thread only. Asks the station of the selected alarm to acknowledge
    // it; false when none is selected. acknowledge_all() asks for every
    // unacknowledged alarm of an online station and answers how many.
    bool acknowledge_selected();
    std::size_t acknowledge_all();

    // Columns: Station, State, Active alarms.
    wxListCtrl* ui_stations = nullptr;
    // Columns: Station, Alarm, Level, Since, Raised, State.
    wxListCtrl* ui_alarms = nullptr;
    // Columns: Time, Station, Change, Alarm, Identity / text.
    wxListCtrl* ui_history = nullptr;
    wxButton* ui_acknowledge = nullptr;
    wxButton* ui_acknowledge_all = nullptr;

private:
    // GUI thread: brings the lists up to date with the subscriber.
    void refresh();

    const PlantDashboardOptions options_;
    std::shared_ptr<AlarmJournal> journal_;
    detail::RemoteHistoryList* history_ = nullptr;
    // The alarms behind ui_alarms' rows.
    std::vector<JournalAlarm> listed_;
    std::atomic<bool> refresh_posted_{false};
    std::unique_ptr<AlarmSubscriber> subscriber_;
};

}  // namespace ovk_wxtools
