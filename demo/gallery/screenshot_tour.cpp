// `ovk-gallery --screenshots DIR`: opens every entry in turn, saves one PNG of
// the window it shows (with the window manager's frame when one runs) and
// quits. Modal dialogs are caught by a modal-dialog hook; frames an entry
// leaves open are found among the new top-level windows.
#include "demo/gallery/gallery.h"

#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include <cstdio>
#include <set>

namespace ovk_gallery {

namespace {

// Long enough for the window manager to frame the window and for the
// window's first paint (and a worker's first progress) to arrive.
constexpr int settle_ms = 900;
// Frames that an entry leaves open are live views (stations raising alarms):
// give them time to fill up.
constexpr int frame_settle_ms = 3000;

int failures = 0;

class ScreenshotTour : public wxEvtHandler, public wxModalDialogHook {
public:
    ScreenshotTour(wxFrame* gallery, const wxString& dir)
        : gallery_(gallery), dir_(dir), entries_(gallery_entries()), timer_(this)
    {
        Bind(wxEVT_TIMER, [this](wxTimerEvent&) { on_settled(); });
        Register();
    }

    ~ScreenshotTour() override { Unregister(); }

    void start()
    {
        wxFileName::Mkdir(dir_, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        // The gallery itself comes first.
        target_ = gallery_;
        file_ = wxS("gallery");
        timer_.StartOnce(settle_ms);
    }

protected:
    int Enter(wxDialog* dialog) override
    {
        // The first dialog of an entry is its picture; any dialog it leads to
        // (an answer box, an error) is answered unseen.
        if (!waiting_for_modal_)
            return wxID_CANCEL;
        waiting_for_modal_ = false;
        modal_ = true;
        target_ = dialog;
        timer_.StartOnce(settle_ms);
        return wxID_NONE;
    }

    void Exit(wxDialog*) override {}

private:
    static wxString slug(const wxString& text)
    {
        wxString out;
        for (wxUniChar c : text) {
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
                out += c;
            else if (c >= 'A' && c <= 'Z')
                out += wxUniChar(c.GetValue() - 'A' + 'a');
            else if (!out.empty() && !out.EndsWith(wxS("_")))
                out += wxS("_");
        }
        while (out.EndsWith(wxS("_")))
            out.RemoveLast();
        return out;
    }

    // Saves what the screen shows of `window`, frame and title bar included.
    bool save(wxWindow* window, const wxString& path)
    {
        GtkWidget* widget = static_cast<GtkWidget*>(window->GetHandle());
        GdkWindow* gdk_window = widget ? gtk_widget_get_window(widget) : nullptr;
        if (!gdk_window || !gdk_window_is_viewable(gdk_window))
            return false;
        GdkRectangle frame;
        gdk_window_get_frame_extents(gdk_window, &frame);
        GdkPixbuf* picture = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), frame.x, frame.y,
                                                        frame.width, frame.height);
        if (!picture)
            return false;
        const bool saved = gdk_pixbuf_save(picture, path.utf8_str(), "png", nullptr, nullptr);
        g_object_unref(picture);
        return saved;
    }

    static void close(wxWindow* window)
    {
        if (auto* dialog = dynamic_cast<wxDialog*>(window)) {
            if (dialog->IsModal()) {
                dialog->EndModal(wxID_CANCEL);
                return;
            }
            // Native message boxes run GTK's own modal loop.
            GtkWidget* widget = static_cast<GtkWidget*>(dialog->GetHandle());
            if (widget && GTK_IS_DIALOG(widget)) {
                gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
                return;
            }
        }
        window->Close(true);
    }

    void on_settled()
    {
        wxWindow* window = target_;
        target_ = nullptr;
        const wxString path = wxFileName(dir_, file_ + wxS(".png")).GetFullPath();
        if (save(window, path)) {
            std::printf("%s\n", path.utf8_string().c_str());
        } else {
            std::fprintf(stderr, "ovk-gallery: no picture of %s\n", file_.utf8_string().c_str());
            ++failures;
        }
        std::fflush(stdout);
        if (window != gallery_)
            close(window);
        // After a modal dialog, open_next goes on once the entry has returned.
        if (!modal_)
            CallAfter([this] { open_next(); });
    }

    void open_next()
    {
        if (next_ == entries_.size()) {
            gallery_->Close(true);
            return;
        }
        const GalleryEntry* entry = entries_[next_++];
        file_ = slug(entry->group) + wxS("-") + slug(entry->name);
        std::set<wxWindow*> before(wxTopLevelWindows.begin(), wxTopLevelWindows.end());
        waiting_for_modal_ = true;
        modal_ = false;
        try {
            entry->open(gallery_);  // returns after its modal dialog was pictured and closed
        } catch (const std::exception& error) {
            std::fprintf(stderr, "ovk-gallery: %s failed: %s\n", file_.utf8_string().c_str(), error.what());
        }
        if (!waiting_for_modal_) {
            // Pictured while it ran, unless the dialog closed itself first.
            if (timer_.IsRunning()) {
                timer_.Stop();
                target_ = nullptr;
                std::fprintf(stderr, "ovk-gallery: %s closed before its picture\n", file_.utf8_string().c_str());
                ++failures;
            }
            CallAfter([this] { open_next(); });
            return;
        }
        waiting_for_modal_ = false;
        for (wxWindow* window : wxTopLevelWindows) {
            if (!before.count(window) && window->IsShown()) {
                target_ = window;
                timer_.StartOnce(frame_settle_ms);
                return;
            }
        }
        std::fprintf(stderr, "ovk-gallery: %s showed no window\n", file_.utf8_string().c_str());
        ++failures;
        CallAfter([this] { open_next(); });
    }

    wxFrame* gallery_;
    wxString dir_;
    std::vector<const GalleryEntry*> entries_;
    std::size_t next_ = 0;
    wxTimer timer_;
    wxWindow* target_ = nullptr;
    wxString file_;
    bool waiting_for_modal_ = false;
    bool modal_ = false;
};

}  // namespace

void start_screenshot_tour(wxFrame* gallery, const wxString& dir)
{
    // Lives until the program ends: the hook must outlast every entry.
    static ScreenshotTour* tour = nullptr;
    delete tour;
    tour = new ScreenshotTour(gallery, dir);
    tour->start();
}

int screenshot_failures()
{
    return failures;
}

}  // namespace ovk_gallery
