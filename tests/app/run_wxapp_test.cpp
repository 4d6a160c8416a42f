// The runner starts and stops the toolkit itself, so this program has its
// own main() and no shared toolkit environment.
#include "wxtools/app/simple_app.h"

#include "wxtools/app/utf8_ctype.h"
#include "wxtools/errors.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/toplevel.h>

#include <clocale>
#include <map>
#include <string>

using namespace ovk_wxtools;

namespace {

// Ends its own modal run with `code` once the run has started.
class EndingDialog : public wxDialog {
public:
    explicit EndingDialog(int code) : wxDialog(nullptr, wxID_ANY, "ending")
    {
        CallAfter([this, code] {
            app_during_run = app();
            EndModal(code);
        });
    }
    static inline SimpleApp* app_during_run = reinterpret_cast<SimpleApp*>(1);
};

// Clicks its own OK button once shown.
class OkDialog : public wxDialog {
public:
    OkDialog() : wxDialog(nullptr, wxID_ANY, "ok")
    {
        auto* ok = new wxButton(this, wxID_OK, "OK");
        CallAfter([ok] {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            click.SetEventObject(ok);
            ok->ProcessWindowEvent(click);
        });
    }
};

struct Seen {
    std::string text;
    int number = 0;
    std::map<std::string, int> mapping;
};
Seen seen;

class ArgumentsDialog : public wxDialog {
public:
    ArgumentsDialog(const std::string& text, int number, const std::map<std::string, int>& mapping)
        : wxDialog(nullptr, wxID_ANY, "args")
    {
        seen = {text, number, mapping};
        CallAfter([this] { EndModal(wxID_OK); });
    }
};

// Closes itself from an event handler during the main loop.
class ClosingFrame : public wxFrame {
public:
    ClosingFrame() : wxFrame(nullptr, wxID_ANY, "frame")
    {
        CallAfter([this] {
            app_in_handler = app();
            Close();
        });
    }
    static inline SimpleApp* app_in_handler = nullptr;
};

}  // namespace

TEST(RunWxApp, DialogResultCodeComesBack)
{
    EXPECT_EQ(run_wxapp<OkDialog>(), wxID_OK);
    EXPECT_EQ(run_wxapp<EndingDialog>(wxID_CANCEL), wxID_CANCEL);
    EXPECT_EQ(run_wxapp<EndingDialog>(4321), 4321);
}

TEST(RunWxApp, FrameGivesNoValue)
{
    const std::optional<int> result = run_wxapp<ClosingFrame>();
    EXPECT_FALSE(result.has_value());
}

TEST(RunWxApp, ArgumentsReachTheWindowUnchanged)
{
    const std::map<std::string, int> mapping{{"b", 2}, {"a", 1}};
    const std::map<std::string, int> before = mapping;
    EXPECT_EQ(run_wxapp<ArgumentsDialog>(std::string("text with spaces "), -3, mapping), wxID_OK);
    EXPECT_EQ(seen.text, "text with spaces ");
    EXPECT_EQ(seen.number, -3);
    EXPECT_EQ(seen.mapping, before);
    EXPECT_EQ(mapping, before);
}

TEST(RunWxApp, AppIsSetOnlyWhileTheMainLoopRuns)
{
    EXPECT_EQ(app(), nullptr);
    run_wxapp<ClosingFrame>();
    EXPECT_NE(ClosingFrame::app_in_handler, nullptr);
    EXPECT_EQ(app(), nullptr);

    // A dialog's modal run happens while the application is still being built.
    run_wxapp<EndingDialog>(wxID_OK);
    EXPECT_EQ(EndingDialog::app_during_run, nullptr);
    EXPECT_EQ(app(), nullptr);
}

TEST(RunWxApp, RunsOneAfterAnotherEachGetAFreshApplication)
{
    SimpleApp* first = nullptr;
    SimpleApp* second = nullptr;
    run_wxapp([&]() -> wxWindow* {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "one");
        frame->CallAfter([&first, frame] { first = app(); frame->Close(); });
        return frame;
    });
    EXPECT_EQ(run_wxapp<EndingDialog>(7), 7);
    run_wxapp([&]() -> wxWindow* {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "two");
        frame->CallAfter([&second, frame] { second = app(); frame->Close(); });
        return frame;
    });
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(wxTheApp, nullptr) << "the application object is destroyed after each run";
}

TEST(RunWxApp, NeitherFrameNorDialogIsATypeError)
{
    try {
        run_wxapp([]() -> wxWindow* { return new wxTopLevelWindow(nullptr, wxID_ANY, "neither"); });
        FAIL() << "no error";
    } catch (const TypeError& error) {
        EXPECT_STREQ(error.what(), "WX App need a class derived from wx.Frame or wx.Dialog.");
    }
    EXPECT_THROW(run_wxapp([]() -> wxWindow* { return nullptr; }), TypeError);
    EXPECT_EQ(app(), nullptr);
    EXPECT_EQ(wxTheApp, nullptr);
    // The toolkit was shut down cleanly: the next run works.
    EXPECT_EQ(run_wxapp<EndingDialog>(wxID_OK), wxID_OK);
}

TEST(RunWxApp, ErrorsOfTheWindowConstructorPassThrough)
{
    EXPECT_THROW(run_wxapp([]() -> wxWindow* { throw std::runtime_error("bad port"); }), std::runtime_error);
    EXPECT_EQ(app(), nullptr);
    EXPECT_EQ(run_wxapp<EndingDialog>(3), 3);
}

TEST(RunWxApp, CallersPlainNarrowLiteralsComeOutWhole)
{
    // As a tool starts: LC_CTYPE "C", whatever LANG says.
    std::setlocale(LC_CTYPE, "C");
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    wxString label;
    EXPECT_EQ(run_wxapp([&]() -> wxWindow* {
        label = "电压 ok";  // converted by the toolkit through LC_CTYPE
        return new EndingDialog(wxID_OK);
    }), wxID_OK);
    EXPECT_EQ(label, wxString::FromUTF8("电压 ok"));
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numeric);
}

TEST(RunWxApp, Utf8CtypeSwitchesLcCtypeOnly)
{
    std::setlocale(LC_CTYPE, "C");
    const std::string numeric = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") ? "de_DE.UTF-8" : "C";
    ASSERT_EQ(wxString("电压").length(), 0u) << "the C locale cannot convert it";
    EXPECT_TRUE(use_utf8_ctype());
    EXPECT_EQ(wxString("电压").length(), 2u);
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numeric);
    // Already UTF-8: left as it is.
    const std::string ctype = current_ctype();
    EXPECT_TRUE(use_utf8_ctype());
    EXPECT_EQ(current_ctype(), ctype);
}

int main(int argc, char** argv)
{
    std::setlocale(LC_NUMERIC, "");  // as the environment says, for the decimal-comma runs
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
