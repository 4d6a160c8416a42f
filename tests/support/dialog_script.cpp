#include "tests/support/dialog_script.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>
#include <wx/timer.h>

#include <gtk/gtk.h>

#include <chrono>
#include <memory>

namespace ovk_test {

const char* to_string(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Message: return "message box";
    case DialogKind::TextEntry: return "text-entry dialog";
    case DialogKind::DirChooser: return "folder chooser";
    case DialogKind::FileChooser: return "file chooser";
    case DialogKind::Own: return "dialog of our own";
    }
    return "?";
}

DialogScript& DialogScript::get()
{
    static DialogScript* script = [] {
        auto* s = new DialogScript;
        s->Register();
        return s;
    }();
    return *script;
}

DialogScript& DialogScript::answer(int code)
{
    script_.push_back({DialogKind::Message, code, {}, {}});
    return *this;
}

DialogScript& DialogScript::type(const wxString& text, int code)
{
    script_.push_back({DialogKind::TextEntry, code, text, {}});
    return *this;
}

DialogScript& DialogScript::choose(const wxString& path, int code)
{
    // Folder and file choosers share the step; the dialog decides which it is.
    script_.push_back({DialogKind::DirChooser, code, path, {}});
    return *this;
}

DialogScript& DialogScript::inside(std::function<void(wxDialog&)> act)
{
    script_.push_back({DialogKind::Own, wxID_NONE, {}, std::move(act)});
    return *this;
}

const ShownDialog& DialogScript::last() const
{
    static const ShownDialog none{DialogKind::Own, "<no standard dialog was shown>", {}, 0, {}, {}, 0};
    return shown_.empty() ? none : shown_.back();
}

void DialogScript::reset()
{
    script_.clear();
    shown_.clear();
    timers_.clear();
}

wxTimer* DialogScript::new_timer()
{
    timers_.push_back(std::make_unique<wxTimer>());
    return timers_.back().get();
}

namespace {

DialogKind kind_of(wxDialog* dialog)
{
    if (dynamic_cast<wxMessageDialogBase*>(dialog))
        return DialogKind::Message;
    if (dynamic_cast<wxTextEntryDialog*>(dialog))
        return DialogKind::TextEntry;
    if (dynamic_cast<wxDirDialogBase*>(dialog))
        return DialogKind::DirChooser;
    if (dynamic_cast<wxFileDialogBase*>(dialog))
        return DialogKind::FileChooser;
    return DialogKind::Own;
}

// The prompt of a text-entry dialog is spread over its static texts.
wxString static_texts(wxWindow* window)
{
    wxString text;
    for (wxWindow* child : window->GetChildren()) {
        if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            if (!text.empty())
                text += "\n";
            text += label->GetLabel();
        }
    }
    return text;
}

wxTextCtrl* first_text_ctrl(wxWindow* window)
{
    for (wxWindow* child : window->GetChildren())
        if (auto* field = dynamic_cast<wxTextCtrl*>(child))
            return field;
    return nullptr;
}

}  // namespace

int DialogScript::Enter(wxDialog* dialog)
{
    // The native file chooser passes through the hook twice (its own
    // ShowModal, then wxDialog's); the second pass is the same run.
    if (open_.count(dialog))
        return wxID_NONE;
    const DialogKind kind = kind_of(dialog);
    if (kind != DialogKind::Own)
        return answer_standard(dialog, kind);

    if (script_.empty() || script_.front().kind != DialogKind::Own) {
        ADD_FAILURE() << "a dialog of our own (" << dialog->GetTitle().utf8_string()
                      << ") opened without a scripted action; it was cancelled";
        return wxID_CANCEL;
    }
    auto act = std::move(script_.front().act);
    script_.pop_front();
    open_.insert(dialog);
    wxTheApp->CallAfter([this, dialog, act] {
        if (!open_.count(dialog))
            return;
        act(*dialog);
        if (open_.count(dialog))
            watch(dialog);
    });
    return wxID_NONE;
}

void DialogScript::Exit(wxDialog* dialog)
{
    open_.erase(dialog);
}

int DialogScript::answer_standard(wxDialog* dialog, DialogKind kind)
{
    ShownDialog seen{kind, {}, {}, 0, {}, {}, wxID_CANCEL};
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        seen.message = box->GetMessage();
        seen.caption = box->GetCaption();
        seen.style = box->GetMessageDialogStyle();
    } else if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) {
        seen.message = static_texts(entry);
        seen.caption = entry->GetTitle();
        seen.value = entry->GetValue();
        if (wxTextCtrl* field = first_text_ctrl(entry))
            seen.style = field->GetWindowStyle();
    } else if (auto* dir = dynamic_cast<wxDirDialogBase*>(dialog)) {
        seen.message = dir->GetMessage();
        seen.caption = dir->GetTitle();
        seen.style = dir->GetWindowStyle();
        seen.value = dir->GetPath();
    } else if (auto* file = dynamic_cast<wxFileDialogBase*>(dialog)) {
        seen.message = file->GetMessage();
        seen.caption = file->GetTitle();
        seen.style = file->GetWindowStyle();
        seen.value = file->GetPath();
        seen.wildcard = file->GetWildcard();
    }

    const bool chooser = kind == DialogKind::DirChooser || kind == DialogKind::FileChooser;
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << to_string(kind) << " \"" << seen.message.utf8_string()
                      << "\" (caption \"" << seen.caption.utf8_string() << "\"); answered wxID_CANCEL";
    } else if (Step step = script_.front();
               step.kind != kind && !(chooser && step.kind == DialogKind::DirChooser)) {
        ADD_FAILURE() << "a " << to_string(kind) << " \"" << seen.message.utf8_string() << "\" opened where the script expected a "
                      << to_string(step.kind) << "; answered wxID_CANCEL";
        script_.pop_front();
    } else {
        script_.pop_front();
        seen.answer = step.code;
        if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog))
            entry->SetValue(step.text);
        if (chooser && step.code == wxID_OK) {
            // The native choosers read their answer back from GTK, so they
            // run for real and GTK is told to accept the scripted path.
            shown_.push_back(seen);
            accept_path(dialog, step.text);
            return wxID_NONE;
        }
    }
    shown_.push_back(seen);
    return seen.answer;
}

void DialogScript::accept_path(wxDialog* dialog, const wxString& path)
{
    open_.insert(dialog);
    wxTimer* timer = new_timer();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto started = std::make_shared<bool>(false);
    timer->Bind(wxEVT_TIMER, [this, dialog, timer, deadline, path, started](wxTimerEvent&) {
        auto finish = [timer] { timer->Stop(); };
        if (!open_.count(dialog))
            return finish();
        GtkFileChooser* gtk = GTK_FILE_CHOOSER(dialog->GetHandle());
        const wxFileName target(path);
        if (!*started) {
            *started = true;
            if (gtk_file_chooser_get_action(gtk) == GTK_FILE_CHOOSER_ACTION_SAVE) {
                gtk_file_chooser_set_current_folder(gtk, target.GetPath().utf8_str());
                gtk_file_chooser_set_current_name(gtk, target.GetFullName().utf8_str());
            } else if (gtk_file_chooser_get_action(gtk) == GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER) {
                gtk_file_chooser_set_current_folder(gtk, path.utf8_str());
            } else {
                gtk_file_chooser_set_filename(gtk, path.utf8_str());
            }
        }
        gchar* chosen = gtk_file_chooser_get_filename(gtk);
        const bool ready = chosen && wxString::FromUTF8(chosen) == path;
        g_free(chosen);
        if (ready) {
            finish();
            gtk_dialog_response(GTK_DIALOG(dialog->GetHandle()), GTK_RESPONSE_ACCEPT);
        } else if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the chooser did not take the scripted path " << path.utf8_string();
            finish();
            dialog->EndModal(wxID_CANCEL);
        }
    });
    timer->Start(20);
}

void DialogScript::watch(wxDialog* dialog)
{
    wxTimer* timer = new_timer();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(watchdog_seconds);
    timer->Bind(wxEVT_TIMER, [this, dialog, timer, deadline](wxTimerEvent&) {
        if (!open_.count(dialog)) {
            timer->Stop();
        } else if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "dialog \"" << dialog->GetTitle().utf8_string() << "\" was still open "
                          << watchdog_seconds << " s after its scripted action; cancelled";
            timer->Stop();
            dialog->EndModal(wxID_CANCEL);
        }
    });
    timer->Start(50);
}

}  // namespace ovk_test
