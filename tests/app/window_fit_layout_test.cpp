#include "wxtools/app/window_fit_layout.h"

#include "wxtools/errors.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>

using namespace ovk_wxtools;

namespace {

// Records what window_fit_layout asks of it.
class RecordingFrame : public wxFrame {
public:
    explicit RecordingFrame(bool with_sizer) : wxFrame(nullptr, wxID_ANY, "fit", wxDefaultPosition, wxSize(900, 700))
    {
        if (with_sizer) {
            auto* sizer = new wxBoxSizer(wxVERTICAL);
            sizer->Add(200, 100);
            SetSizer(sizer, false);
        }
    }
    ~RecordingFrame() override { SetSizer(nullptr); }

    void Maximize(bool maximize = true) override { maximized += maximize ? 1 : 0; }
    int maximized = 0;
    int centred = 0;

protected:
    void DoCentre(int direction) override
    {
        ++centred;
        wxFrame::DoCentre(direction);
    }
};

struct FrameCloser {
    wxFrame* frame;
    ~FrameCloser() { frame->Destroy(); }
};

}  // namespace

TEST(WindowFitLayout, FitsToTheSizerAndCentresByDefault)
{
    auto* frame = new RecordingFrame(true);
    FrameCloser closer{frame};
    window_fit_layout(frame);
    EXPECT_EQ(frame->GetClientSize(), wxSize(200, 100));
    EXPECT_EQ(frame->centred, 1);
    EXPECT_EQ(frame->maximized, 0);
}

TEST(WindowFitLayout, MaximisesWithoutCentringOnRequest)
{
    auto* frame = new RecordingFrame(true);
    FrameCloser closer{frame};
    window_fit_layout(frame, false, true);
    EXPECT_EQ(frame->GetClientSize(), wxSize(200, 100));
    EXPECT_EQ(frame->centred, 0);
    EXPECT_EQ(frame->maximized, 1);
}

TEST(WindowFitLayout, OnlyFitsWhenBothFlagsAreOff)
{
    auto* frame = new RecordingFrame(true);
    FrameCloser closer{frame};
    window_fit_layout(frame, false, false);
    EXPECT_EQ(frame->GetClientSize(), wxSize(200, 100));
    EXPECT_EQ(frame->centred, 0);
    EXPECT_EQ(frame->maximized, 0);
}

TEST(WindowFitLayout, WindowWithoutSizerStopsBeforeCentring)
{
    auto* frame = new RecordingFrame(false);
    FrameCloser closer{frame};
    EXPECT_THROW(window_fit_layout(frame, true, true), TypeError);
    EXPECT_EQ(frame->centred, 0);
    EXPECT_EQ(frame->maximized, 0);
}
