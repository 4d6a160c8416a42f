// A test-bench tool: "Run" measures every channel of every board on a worker
// thread while the multi-level progress dialog shows how far it got; the
// alarm dashboard below is the tool's log, and raises an alarm for each
// channel out of its limits.
#include <wxtools/wxtools.h>

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <thread>

using namespace ovk_wxtools;

namespace {

const AlarmCode out_of_limits{"Channel out of limits"};
const AlarmCode run_cancelled{"Run cancelled"};

constexpr int boards = 4;
constexpr int channels = 16;

class TestBenchFrame : public wxFrame {
public:
    TestBenchFrame() : wxFrame(nullptr, wxID_ANY, wxS("Test bench"), wxDefaultPosition, wxSize(900, 520))
    {
        logger_ = std::make_shared<spdlog::logger>("bench");
        logger_->set_level(spdlog::level::info);
        board_ = new BigEventDashBoard(this, logger_, spdlog::level::info);
        logger_->sinks().push_back(board_->sink());

        auto* run = new wxButton(this, wxID_ANY, wxS("Run"));
        auto* clear = new wxButton(this, wxID_ANY, wxS("Clear alarms"));
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        buttons->Add(run, 0, wxALL, 5);
        buttons->Add(clear, 0, wxALL, 5);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(buttons);
        sizer->Add(board_, 1, wxEXPAND | wxALL, 5);
        SetSizer(sizer);

        run->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { run_measurement(); });
        clear->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { board_->clear_all(); });
    }

private:
    void run_measurement()
    {
        ovk_handy::Progress progress({"Board", "Channel"});
        progress.start(0, boards);
        std::thread worker([this, &progress] { measure(progress); });

        ProgressDialog dialog(this, progress);
        if (dialog.ShowModal() != wxID_OK) {
            progress.cancel();  // the worker sees it between two channels
            board_->alarm(run_cancelled, {}, wxString(), spdlog::level::warn);
        }
        worker.join();
        logger_->info("run ended");
    }

    // Worker thread: talks to the dashboard and the progress only.
    void measure(ovk_handy::Progress& progress)
    {
        std::mt19937 noise(42);
        std::normal_distribution<double> volts(5.0, 0.15);
        for (int b = 1; b <= boards; ++b) {
            progress.start(1, channels, "Board " + std::to_string(b));
            for (int c = 1; c <= channels; ++c) {
                if (progress.stopped())
                    return;
                std::this_thread::sleep_for(std::chrono::milliseconds(60));
                const double v = volts(noise);
                if (v < 4.75 || v > 5.25) {
                    const std::string where = "board " + std::to_string(b) + " channel " + std::to_string(c);
                    board_->alarm(out_of_limits, v, from_utf8(where));
                    logger_->warn("{}: {:.3f} V", where, v);
                }
                progress.step(1);
            }
            progress.step(0);
            logger_->info("board {} measured", b);
        }
        progress.finish();
    }

    std::shared_ptr<spdlog::logger> logger_;
    BigEventDashBoard* board_;
};

}  // namespace

int main()
{
    run_wxapp<TestBenchFrame>();
    return 0;
}
