// Gallery entries for the prompt dialogs.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace ovk_wxtools;

namespace ovk_gallery {
namespace {

GalleryEntry true_or_false{"Prompt dialogs", "TrueOrFalseDialog", [](wxWindow* parent) {
    TrueOrFalseDialog dialog(parent, "Calibration", "The probe reads 0.3 mV off. Calibrate it now?",
                             from_utf8("校准"), from_utf8("跳过"));
    MB::Notice(dialog.ShowModal() == wxID_OK ? "You chose to calibrate." : "You skipped the calibration.");
}};

GalleryEntry choose_one_button{"Prompt dialogs", "ChooseOneButtonDialog", [](wxWindow* parent) {
    ChooseOneButtonDialog dialog(parent, "Fixture", "Which fixture is mounted on the bench?",
                                 {"Fixture A", "Fixture B", "Fixture C", "None"}, 3);
    if (dialog.ShowModal() == wxID_OK)
        MB::Notice(wxString::Format("You pressed \"%s\" (button %d).", dialog.GetSelectedString(),
                                    dialog.GetSelectedIndex()));
    else
        MB::Notice("You closed the dialog without choosing.");
}};

GalleryEntry wait_for{"Prompt dialogs", "WaitForDialog", [](wxWindow* parent) {
    // The condition polled here is the oven reaching 80 degrees, faked by a clock.
    const auto start = std::chrono::steady_clock::now();
    WaitForDialog dialog(parent, "Oven", from_utf8("Heating the oven to 80 °C ..."), [start]() -> WaitForDialog::Answer {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds >= 4)
            return true;
        return wxString::Format(from_utf8("Heating the oven to 80 °C ... now %.0f °C"), 20 + seconds * 15);
    }, 100, 14);
    const int code = dialog.ShowModal();
    MB::Notice(code == 0 ? "The oven is hot." : "You stopped waiting.");
}};

GalleryEntry auto_close{"Prompt dialogs", "AutoCloseMessageBox", [](wxWindow* parent) {
    AutoCloseMessageBox box(parent, "Saved", "Parameters saved. This note closes itself in 3 seconds.", 3.0);
    box.ShowModal();
}};

GalleryEntry single_choice{"Prompt dialogs", "SingleChoiceTimeoutDialog", [](wxWindow* parent) {
    SingleChoiceTimeoutDialog dialog(parent, "Serial port for the power supply:", "Port",
                                     {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"}, 5, 0);
    if (dialog.ShowModal() == wxID_OK)
        MB::Notice("Using " + dialog.GetSelection() + ".");
    else
        MB::Notice("No port chosen.");
}};

GalleryEntry multiple_input_list{"Prompt dialogs", "MultipleInputDialog (names)", [](wxWindow* parent) {
    MultipleInputDialog dialog(parent, std::vector<wxString>{"Operator", "Batch", "Remark"}, "Test record");
    if (dialog.ShowModal() == wxID_OK)
        MB::Notice("Operator \"" + dialog.get("Operator") + "\", batch \"" + dialog.get("Batch") + "\".");
}};

GalleryEntry multiple_input_map{"Prompt dialogs", "MultipleInputDialog (defaults)", [](wxWindow* parent) {
    MultipleInputDialog::FieldMap limits;
    limits["Voltage (V)"] = "5.0";
    limits["Current (A)"] = "0.5";
    limits["Duration (s)"] = "60";
    MultipleInputDialog dialog(parent, limits, "Limits");
    if (dialog.ShowModal() == wxID_OK) {
        wxString text = "New limits:";
        for (const auto& [name, value] : limits)
            text += "\n" + name + " = " + value;
        MB::Notice(text);
    }
}};

GalleryEntry progress{"Prompt dialogs", "ProgressDialog", [](wxWindow* parent) {
    // Three levels worked through by two threads: one walks batches and
    // boards, the other the channels of the current board.
    ovk_handy::Progress work({"Batch", "Board", "Channel"});
    std::atomic<int> board_ready{0};
    std::atomic<int> board_measured{0};
    std::thread boards([&] {
        const int batches = 3, per_batch = 4;
        work.start(0, batches);
        for (int b = 0; b < batches && work.running(); ++b) {
            work.start(1, per_batch, "Batch " + std::to_string(b + 1));
            for (int n = 0; n < per_batch && work.running(); ++n) {
                board_ready = board_ready + 1;
                while (board_measured < board_ready && work.running())
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                work.step(1);
            }
            work.step(0);
        }
        board_ready = -1;
        work.finish();
    });
    std::thread channels([&] {
        int measured = 0;
        while (work.running() && board_ready >= 0) {
            if (board_ready <= measured) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            work.start(2, 16, "Channel of board " + std::to_string(measured % 4 + 1));
            for (int c = 0; c < 16 && work.running(); ++c) {
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
                work.step(2);
            }
            board_measured = ++measured;
        }
    });
    ProgressDialog dialog(parent, work);
    const int code = dialog.ShowModal();
    if (code != wxID_OK)
        work.cancel();  // closing the window stops the workers
    boards.join();
    channels.join();
    MB::Notice(code == wxID_OK ? "All boards measured." : "Measurement cancelled.");
}};

}  // namespace
}  // namespace ovk_gallery
