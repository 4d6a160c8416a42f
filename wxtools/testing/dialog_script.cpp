#include "wxtools/testing/dialog_script.h"

#include "wxtools/testing/detail/dialog_parts.h"
#include "wxtools/testing/failure.h"
#include "wxtools/text.h"

#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/stockitem.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <gtk/gtk.h>

#include <chrono>
#include <functional>
#include <limits>
#include <memory>
#include <string>

namespace ovk_wxtest {

namespace detail {

// One step of the script: the answer or the actions for the next dialog.
struct ScriptStep {
    enum class Kind { Message, TextEntry, Chooser, Inside, Act };
    Kind kind;
    int code = wxID_OK;
    wxString text;
    std::function<void(wxDialog&)> act;
    Actions actions;
    // A chooser's path is typed into it rather than set.
    bool typed = false;

    // The step in words, for failure messages.
    std::string to_text() const
    {
        switch (kind) {
        case Kind::Message: return "an answer for a message box";
        case Kind::TextEntry: return "an answer for a text-entry dialog";
        case Kind::Chooser: return "a path for a folder or file chooser";
        case Kind::Inside: return "an action inside a dialog";
        case Kind::Act: return "a dialog in which to " + actions.to_text();
        }
        return "?";
    }
};

}  // namespace detail

using detail::describe;
using detail::kind_of;

namespace {

using StepKind = detail::ScriptStep::Kind;

constexpr std::size_t no_record = std::numeric_limits<std::size_t>::max();

// The prompt of a text-entry dialog is spread over its static texts.
wxString static_texts(wxWindow* window)
{
    wxString text;
    for (wxWindow* child : window->GetChildren()) {
        if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            if (!text.empty())
                text += wxS("\n");
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

// A message box button's label as the person reads it: GTK hands out stock
// names ("gtk-yes") or labels with its own mnemonic marks ("_Yes").
wxString box_label(const wxString& label, int id)
{
    if (label.StartsWith(wxS("gtk-")))
        return wxGetStockLabel(id, wxSTOCK_NOFLAGS);
    wxString text = label;
    text.Replace(wxS("__"), wxS("\x01"));
    text.Replace(wxS("_"), wxString());
    text.Replace(wxS("\x01"), wxS("_"));
    return wxControl::RemoveMnemonics(text);
}

// The time in words for failure messages: whole seconds as "N s".
std::string duration_text(std::chrono::milliseconds time)
{
    if (time.count() % 1000 == 0)
        return std::to_string(time.count() / 1000) + " s";
    return std::to_string(time.count()) + " ms";
}

}  // namespace

DialogScript::DialogScript() : script_(std::make_unique<std::deque<Step>>()) {}

DialogScript::~DialogScript() = default;

std::size_t DialogScript::pending() const { return script_->size(); }

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
    script_->push_back({StepKind::Message, code, {}, {}, {}});
    return *this;
}

DialogScript& DialogScript::answer_text(const wxString& text, int code)
{
    script_->push_back({StepKind::TextEntry, code, text, {}, {}});
    return *this;
}

DialogScript& DialogScript::answer_path(const wxString& path, int code)
{
    // Folder and file choosers share the step; the dialog decides which it is.
    script_->push_back({StepKind::Chooser, code, path, {}, {}});
    return *this;
}

DialogScript& DialogScript::type_path(const wxString& path)
{
    answer_path(path);
    script_->back().typed = true;
    return *this;
}

DialogScript& DialogScript::act(Actions actions)
{
    script_->push_back({StepKind::Act, wxID_NONE, {}, {}, std::move(actions)});
    return *this;
}

DialogScript& DialogScript::inside(std::function<void(wxDialog&)> act)
{
    script_->push_back({StepKind::Inside, wxID_NONE, {}, std::move(act), {}});
    return *this;
}

const ShownDialog& DialogScript::last() const
{
    static const ShownDialog none{DialogKind::Own, wxS("<no standard dialog was shown>"), {}, 0, {}, {}, 0, {}, {}, {}};
    return shown_.empty() ? none : shown_.back();
}

const ShownDialog& DialogScript::last_opened() const
{
    static const ShownDialog none{DialogKind::Own, wxS("<no dialog was opened>"), {}, 0, {}, {}, 0, {}, {}, {}};
    return opened_.empty() ? none : opened_.back();
}

bool DialogScript::verify()
{
    const bool clean = script_->empty();
    for (const Step& step : *script_)
        report_failure("the script still held " + step.to_text() + ", but no such dialog opened");
    script_->clear();
    return clean;
}

void DialogScript::reset()
{
    script_->clear();
    shown_.clear();
    opened_.clear();
    timers_.clear();
}

wxTimer* DialogScript::new_timer()
{
    timers_.push_back(std::make_unique<wxTimer>());
    return timers_.back().get();
}

int DialogScript::Enter(wxDialog* dialog)
{
    // The native file chooser passes through the hook twice (its own
    // ShowModal, then wxDialog's); the second pass is the same run.
    if (open_.count(dialog))
        return wxID_NONE;
    const DialogKind kind = kind_of(*dialog);
    const bool standard_only = kind == DialogKind::Message || kind == DialogKind::DirChooser ||
                               kind == DialogKind::FileChooser;
    if (!standard_only && !script_->empty() && script_->front().kind == StepKind::Act) {
        Step step = std::move(script_->front());
        script_->pop_front();
        return run_for_real(dialog, std::move(step));
    }
    if (kind != DialogKind::Own)
        return answer_standard(dialog, kind);
    if (script_->empty())
        return refuse(dialog, "with nothing left in the script");
    Step step = std::move(script_->front());
    script_->pop_front();
    if (step.kind != StepKind::Inside)
        return refuse(dialog, "where the script expected " + step.to_text());
    return run_for_real(dialog, std::move(step));
}

void DialogScript::Exit(wxDialog* dialog)
{
    auto it = open_.find(dialog);
    if (it == open_.end())
        return;
    if (it->second < opened_.size())
        opened_[it->second].answer = dialog->GetReturnCode();
    open_.erase(it);
}

int DialogScript::refuse(wxDialog* dialog, const std::string& why)
{
    ShownDialog seen = describe(*dialog, kind_of(*dialog));
    seen.answer = wxID_CANCEL;
    report_failure("unexpected " + to_text(seen) + " opened " + why + "; it was cancelled");
    opened_.push_back(std::move(seen));
    return wxID_CANCEL;
}

int DialogScript::run_for_real(wxDialog* dialog, Step step)
{
    open_[dialog] = no_record;
    wxTheApp->CallAfter([this, dialog, step = std::move(step)] {
        auto it = open_.find(dialog);
        if (it == open_.end())
            return;
        // Read once the dialog is up: some set their title or texts as they show.
        opened_.push_back(describe(*dialog, kind_of(*dialog)));
        it->second = opened_.size() - 1;
        if (step.kind == StepKind::Act) {
            if (step.actions.perform(*dialog) && dialog->IsModal())
                report_failure("the " + to_text(describe(*dialog, kind_of(*dialog))) +
                               " was still open after the script's steps (" + step.actions.to_text() +
                               "); it was cancelled");
            if (dialog->IsModal())
                dialog->EndModal(wxID_CANCEL);
            return;
        }
        step.act(*dialog);
        if (dialog->IsModal())
            watch(dialog);
    });
    return wxID_NONE;
}

int DialogScript::answer_standard(wxDialog* dialog, DialogKind kind)
{
    ShownDialog seen{kind, {}, {}, 0, {}, {}, wxID_CANCEL, {}, {}, {}};
    std::vector<int> ids;
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        seen.message = box->GetMessage();
        seen.caption = box->GetCaption();
        seen.style = box->GetMessageDialogStyle();
        auto add = [&](long flag, const wxString& label, int id) {
            if (seen.style & flag) {
                seen.buttons.push_back(box_label(label, id));
                ids.push_back(id);
            }
        };
        add(wxYES_NO, box->GetYesLabel(), wxID_YES);
        add(wxYES_NO, box->GetNoLabel(), wxID_NO);
        add(wxOK, box->GetOKLabel(), wxID_OK);
        add(wxCANCEL, box->GetCancelLabel(), wxID_CANCEL);
        add(wxHELP, box->GetHelpLabel(), wxID_HELP);
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
    const StepKind wanted = kind == DialogKind::Message     ? StepKind::Message
                            : kind == DialogKind::TextEntry ? StepKind::TextEntry
                                                            : StepKind::Chooser;
    if (script_->empty()) {
        report_failure("unexpected " + to_text(seen) + " with nothing left in the script; answered wxID_CANCEL");
    } else if (Step step = script_->front(); step.kind == StepKind::Act && kind == DialogKind::Message) {
        script_->pop_front();
        const int code = step.actions.answer_message_box(seen.buttons, ids, to_text(seen));
        if (code != wxID_NONE)
            seen.answer = code;
    } else if (step.kind != wanted) {
        report_failure("a " + to_text(seen) + " opened where the script expected " + step.to_text() +
                       "; answered wxID_CANCEL");
        script_->pop_front();
    } else {
        script_->pop_front();
        seen.answer = step.code;
        if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog))
            entry->SetValue(step.text);
        if (chooser && step.code == wxID_OK) {
            // The native choosers read their answer back from GTK, so they
            // run for real and GTK is told to accept the scripted path.
            shown_.push_back(seen);
            opened_.push_back(seen);
            accept_path(dialog, step.text, step.typed);
            return wxID_NONE;
        }
    }
    shown_.push_back(seen);
    opened_.push_back(seen);
    return seen.answer;
}

void DialogScript::accept_path(wxDialog* dialog, const wxString& path, bool typed)
{
    open_[dialog] = no_record;
    wxTimer* timer = new_timer();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto started = std::make_shared<bool>(false);
    timer->Bind(wxEVT_TIMER, [this, dialog, timer, deadline, path, typed, started](wxTimerEvent&) {
        auto finish = [timer] { timer->Stop(); };
        if (!open_.count(dialog))
            return finish();
        GtkFileChooser* gtk = GTK_FILE_CHOOSER(dialog->GetHandle());
        GtkWindow* window = GTK_WINDOW(dialog->GetHandle());
        const wxFileName target(path);
        if (!*started && typed && !gtk_window_has_toplevel_focus(window)) {
            gtk_window_present(window);  // what a window manager would do
        } else if (!*started) {
            *started = true;
            if (typed) {
                wxUIActionSimulator().Text(path.utf8_str());
            } else if (gtk_file_chooser_get_action(gtk) == GTK_FILE_CHOOSER_ACTION_SAVE) {
                gtk_file_chooser_set_current_folder(gtk, target.GetPath().utf8_str());
                gtk_file_chooser_set_current_name(gtk, target.GetFullName().utf8_str());
            } else if (gtk_file_chooser_get_action(gtk) == GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER) {
                gtk_file_chooser_set_current_folder(gtk, path.utf8_str());
            } else {
                gtk_file_chooser_set_filename(gtk, path.utf8_str());
            }
        }
        gchar* chosen = *started ? gtk_file_chooser_get_filename(gtk) : nullptr;
        const bool ready = chosen && ovk_wxtools::from_utf8(chosen) == path;
        g_free(chosen);
        if (ready) {
            finish();
            gtk_dialog_response(GTK_DIALOG(dialog->GetHandle()), GTK_RESPONSE_ACCEPT);
        } else if (std::chrono::steady_clock::now() > deadline) {
            report_failure(std::string("the chooser did not take the ") + (typed ? "typed" : "scripted") + " path " +
                           path.utf8_string());
            finish();
            dialog->EndModal(wxID_CANCEL);
        }
    });
    timer->Start(20);
}

void DialogScript::watch(wxDialog* dialog)
{
    wxTimer* timer = new_timer();
    const auto deadline = std::chrono::steady_clock::now() + watchdog;
    timer->Bind(wxEVT_TIMER, [this, dialog, timer, deadline](wxTimerEvent&) {
        if (!open_.count(dialog)) {
            timer->Stop();
        } else if (std::chrono::steady_clock::now() > deadline) {
            report_failure("the " + to_text(describe(*dialog, kind_of(*dialog))) + " was still open " +
                           duration_text(watchdog) + " after its scripted action; it was cancelled");
            timer->Stop();
            dialog->EndModal(wxID_CANCEL);
        }
    });
    timer->Start(50);
}

}  // namespace ovk_wxtest
