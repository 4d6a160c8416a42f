#pragma once
// A dashboard in a real frame, and ways to read back what it shows once every
// call posted to it so far has run.
#include "wxtools/dashboard/big_event_dash_board.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/ringbuffer_sink.h>
#include <wx/frame.h>

#include <any>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace ovk_wxtest {

struct HistoryRow {
    wxString level, time_or_code, message;
    wxColour colour;  // of column 0
};

class DashboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "dashboard", wxDefaultPosition, wxSize(800, 400));
    }

    void TearDown() override
    {
        frame->Destroy();
        flush_events();
    }

    ovk_wxtools::BigEventDashBoard* make(ovk_wxtools::BigEventDashBoard::Logger logger = nullptr,
                                         spdlog::level::level_enum level = spdlog::level::warn,
                                         const ovk_wxtools::DashboardOptions& options = {})
    {
        dash = new ovk_wxtools::BigEventDashBoard(frame, std::move(logger), level, options);
        frame->Show();
        return dash;
    }

    // A logger that keeps what it is given, at every level.
    std::shared_ptr<spdlog::logger> recording_logger()
    {
        record = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(100000);
        auto logger = std::make_shared<spdlog::logger>("alarms", record);
        logger->set_level(spdlog::level::trace);
        return logger;
    }

    // What the recording logger got: "LEVEL message" per record.
    std::vector<std::string> logged()
    {
        std::vector<std::string> out;
        for (const auto& m : record->last_raw())
            out.push_back(std::string(ovk_wxtools::level_name(m.level)) + " " +
                          std::string(m.payload.data(), m.payload.size()));
        return out;
    }

    // Runs every call posted to the dashboard so far, the refreshes those
    // calls post in turn and the rest of a backlog written in slices.
    void settle()
    {
        do {
            for (int round = 0; round < 2; ++round) {
                bool reached = false;
                dash->CallAfter([&reached] { reached = true; });
                ASSERT_TRUE(wait_until([&] { return reached; }, std::chrono::seconds(20)));
            }
        } while (dash->state()->backlog() > 0);
    }

    std::vector<wxString> listed() const
    {
        std::vector<wxString> out;
        for (unsigned i = 0; i < dash->ui_list_alarm->GetCount(); ++i)
            out.push_back(dash->ui_list_alarm->GetString(i));
        return out;
    }

    template <class T>
    T listed_detail(unsigned n) const
    {
        auto* data = dynamic_cast<ovk_wxtools::AlarmDetail*>(dash->ui_list_alarm->GetClientObject(n));
        EXPECT_NE(data, nullptr);
        return data ? std::any_cast<T>(data->detail()) : T();
    }

    std::vector<HistoryRow> history() const
    {
        wxGrid* grid = dash->ui_grid_error_history;
        std::vector<HistoryRow> out;
        for (int r = 0; r < grid->GetNumberRows(); ++r)
            out.push_back({grid->GetCellValue(r, 0), grid->GetCellValue(r, 1), grid->GetCellValue(r, 2),
                           grid->GetCellBackgroundColour(r, 0)});
        return out;
    }

    wxFrame* frame = nullptr;
    ovk_wxtools::BigEventDashBoard* dash = nullptr;
    std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> record;
};

inline wxColour green() { return wxColour(0, 255, 0); }
inline wxColour yellow() { return wxColour(255, 255, 0); }
inline wxColour red() { return wxColour(255, 0, 0); }

}  // namespace ovk_wxtest
