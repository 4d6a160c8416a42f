// A machine frame whose dashboard shows alarms raised from a worker thread
// and every WARNING-or-worse record of the machine's logger.
#include <wxtools/wxtools.h>

#include <wx/frame.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace ovk_wxtools;

namespace alarms {
const AlarmCode door_open{"Door open"};
const AlarmCode over_temperature{from_utf8("温度过高")};
}  // namespace alarms

class MachineFrame : public wxFrame {
public:
    MachineFrame() : wxFrame(nullptr, wxID_ANY, wxS("Machine"), wxDefaultPosition, wxSize(900, 480))
    {
        logger_ = std::make_shared<spdlog::logger>("machine");
        board_ = new BigEventDashBoard(this, logger_);
        logger_->sinks().push_back(board_->sink());
        worker_ = std::thread([this] { watch(); });
        Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) { stop(); e.Skip(); });
    }
    ~MachineFrame() override { stop(); }

private:
    // Worker thread: the dashboard may be called from anywhere while it exists.
    void watch()
    {
        for (int cycle = 0; !stopping_; ++cycle) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            if (cycle % 4 == 0)
                board_->alarm(alarms::door_open, cycle, wxS("cell 1"));
            else if (cycle % 4 == 2)
                board_->clear(alarms::door_open, wxS("cell 1"));
            if (cycle == 5)
                board_->alarm(alarms::over_temperature, 81.5, wxS("oven"), spdlog::level::warn);
            logger_->warn("cycle {} took longer than planned", cycle);
        }
    }

    void stop()
    {
        stopping_ = true;
        if (worker_.joinable())
            worker_.join();
    }

    std::shared_ptr<spdlog::logger> logger_;
    BigEventDashBoard* board_;
    std::atomic<bool> stopping_{false};
    std::thread worker_;
};

int main()
{
    run_wxapp<MachineFrame>();
}
