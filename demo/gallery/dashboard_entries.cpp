// Gallery entry for the alarm dashboard with every extra on: stations on worker
// threads raise and clear alarms and log at several levels while the dashboard
// shows it all, with counts, acknowledge and shelve, a capped and filtered
// history, CSV export and a journal that the "History..." window browses.
#include "demo/gallery/gallery.h"
#include "demo/gallery/journal_history_frame.h"

#include "wxtools/wxtools.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace ovk_wxtools;

namespace ovk_gallery {
namespace {

namespace alarms {
const AlarmCode over_temperature{"Over temperature"};
const AlarmCode door_open{"Door open"};
const AlarmCode vacuum_lost{"Vacuum lost"};
const AlarmCode feeder_jam{"Feeder jam"};
const AlarmCode emergency_stop{from_utf8("急停")};
}  // namespace alarms

class DashboardDemoFrame : public wxFrame {
public:
    explicit DashboardDemoFrame(wxWindow* parent)
        : wxFrame(parent, wxID_ANY, wxS("Alarm dashboard"), wxDefaultPosition, wxSize(1020, 580))
    {
        logger_ = std::make_shared<spdlog::logger>("stations");
        logger_->set_level(spdlog::level::debug);

        auto* sizer = new wxBoxSizer(wxVERTICAL);
        auto* intro = new wxStaticText(this, wxID_ANY,
            wxS("Three stations run on worker threads: they raise and clear alarms and log. New alarms "
                "appear as red rows, warnings as yellow ones, cleared alarms as green GOOD rows. "
                "Alarms marked (!) wait for acknowledging; a shelved alarm comes back when its time is up."));
        intro->Wrap(940);
        sizer->Add(intro, 0, wxALL | wxEXPAND, 8);

        BigEventDashBoard::Options options;
        options.counts_and_times = true;
        options.acknowledge_and_shelve = true;
        options.history_cap = 1000;
        options.level_filter = true;
        options.csv_export = true;
        options.keep_view = true;
        // The journal outlives the gallery: open the entry again and the
        // history and alarms are back.
        options.journal = (wxFileName::GetTempDir() + wxS("/ovk-gallery-alarms.db")).utf8_string();
        options.station = "gallery";
        options.journal_options.max_age = std::chrono::hours(24 * 7);
        dashboard_ = new BigEventDashBoard(this, logger_, spdlog::level::warn, options);
        // Registered with its own logger, so each new alarm is a history row
        // too; done before any station starts logging.
        logger_->sinks().push_back(dashboard_->sink());
        state_ = dashboard_->state();
        sizer->Add(dashboard_, 1, wxLEFT | wxRIGHT | wxEXPAND, 8);

        auto* controls = new wxBoxSizer(wxHORIZONTAL);
        auto* pause = new wxButton(this, wxID_ANY, wxS("Pause stations"));
        auto* clear_all = new wxButton(this, wxID_ANY, wxS("Clear all"));
        auto* history = new wxButton(this, wxID_ANY, wxString::FromUTF8("History…"));
        auto* scroll = new wxCheckBox(this, wxID_ANY, wxS("Scroll to new rows"));
        auto* info = new wxCheckBox(this, wxID_ANY, wxS("Show INFO records"));
        scroll->SetValue(true);
        controls->Add(pause, 0, wxALL, 5);
        controls->Add(clear_all, 0, wxALL, 5);
        controls->Add(history, 0, wxALL, 5);
        controls->Add(scroll, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        controls->Add(info, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        sizer->Add(controls, 0, wxALL, 3);
        SetSizer(sizer);

        pause->Bind(wxEVT_BUTTON, [this, pause](wxCommandEvent&) {
            const bool now_paused = !paused_.load();
            paused_ = now_paused;
            pause->SetLabel(now_paused ? wxS("Resume stations") : wxS("Pause stations"));
        });
        clear_all->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { dashboard_->clear_all(); });
        history->Enable(dashboard_->journal() && dashboard_->journal()->problem().empty());
        history->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            if (dashboard_)
                (new JournalHistoryFrame(this, dashboard_->journal()))->Show();
        });
        scroll->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { dashboard_->set_auto_scroll(e.IsChecked()); });
        info->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
            dashboard_->set_level(e.IsChecked() ? spdlog::level::info : spdlog::level::warn);
        });
        Bind(wxEVT_CLOSE_WINDOW, &DashboardDemoFrame::on_close, this);

        for (int station = 1; station <= 3; ++station)
            stations_.emplace_back([this, station] { run_station(station); });
        Centre();
    }

    // Also reached without a close event, when the gallery itself goes.
    ~DashboardDemoFrame() override { stop_stations(); }

private:
    // One station: every half second or so it raises, clears or logs something.
    void run_station(int station)
    {
        const AlarmCode* codes[] = {&alarms::over_temperature, &alarms::door_open, &alarms::vacuum_lost,
                                    &alarms::feeder_jam, &alarms::emergency_stop};
        const wxString name = from_utf8("station " + std::to_string(station));
        std::mt19937 dice(static_cast<unsigned>(station) * 7919u);
        for (int step = 0;; ++step) {
            {
                std::unique_lock<std::mutex> hold(stop_lock_);
                const auto pause = std::chrono::milliseconds(300 + dice() % 600);
                if (stop_signal_.wait_for(hold, pause, [this] { return stopping_; }))
                    return;
            }
            if (paused_.load())
                continue;
            const AlarmCode& code = *codes[dice() % 5];
            switch (dice() % 6) {
            case 0:
            case 1:
                // Temperatures are only worth a warning; the rest are errors.
                state_->alarm(code, step, name,
                                  &code == &alarms::over_temperature ? spdlog::level::warn : spdlog::level::err);
                break;
            case 2:
            case 3:
                state_->clear(code, name);
                break;
            case 4:
                logger_->warn("{}: pressure {:.2f} bar below the set point", name.utf8_string(), 1.5 + (dice() % 100) / 100.0);
                break;
            default:
                logger_->info("{}: cycle {} done", name.utf8_string(), step);
                break;
            }
        }
    }

    void on_close(wxCloseEvent& event)
    {
        stop_stations();
        event.Skip();
    }

    // The stations hold the dashboard's state, which outlives the window, so
    // the window may go first; then no station can be waiting for room in its
    // backlog while this thread waits for the stations.
    void stop_stations()
    {
        {
            std::lock_guard<std::mutex> hold(stop_lock_);
            stopping_ = true;
        }
        stop_signal_.notify_all();
        if (dashboard_) {
            dashboard_->Destroy();
            dashboard_ = nullptr;
        }
        for (auto& t : stations_)
            t.join();
        stations_.clear();
    }

    std::shared_ptr<spdlog::logger> logger_;
    BigEventDashBoard* dashboard_;
    std::shared_ptr<AlarmState> state_;
    std::vector<std::thread> stations_;
    std::atomic<bool> paused_{false};
    std::mutex stop_lock_;
    std::condition_variable stop_signal_;
    bool stopping_ = false;
};

GalleryEntry dashboard_with_stations{wxS("Alarm dashboard"), wxS("BigEventDashBoard with worker threads, every option on"),
                                     [](wxWindow* parent) { (new DashboardDemoFrame(parent))->Show(); }};

}  // namespace
}  // namespace ovk_gallery
