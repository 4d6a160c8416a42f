#include "wxtools/testing/actions.h"

#include "wxtools/dialogs/progress_dialog.h"
#include "wxtools/dialogs/single_choice_timeout_dialog.h"
#include "wxtools/dialogs/wait_for_dialog.h"
#include "wxtools/testing/detail/dialog_parts.h"
#include "wxtools/testing/failure.h"
#include "wxtools/testing/shown_dialog.h"
#include "wxtools/testing/ui.h"

#include <wx/textentry.h>
#include <wx/timer.h>

#include <mutex>

namespace ovk_wxtest {

using detail::describe;
using detail::kind_of;
using detail::parts_of;
using detail::DialogParts;

Actions& Actions::press(const wxString& label)
{
    steps_.push_back({What::Press, label, wxID_NONE, {}});
    return *this;
}

Actions& Actions::press(int id)
{
    steps_.push_back({What::Press, {}, id, {}});
    return *this;
}

Actions& Actions::type_into(const wxString& label, const wxString& text)
{
    steps_.push_back({What::Type, label, wxID_NONE, text});
    return *this;
}

Actions& Actions::choose(const wxString& item)
{
    steps_.push_back({What::Choose, {}, wxID_NONE, item});
    return *this;
}

Actions& Actions::run_out()
{
    steps_.push_back({What::RunOut, {}, wxID_NONE, {}});
    return *this;
}

Actions press(const wxString& label) { return Actions().press(label); }
Actions press(int id) { return Actions().press(id); }
Actions type_into(const wxString& label, const wxString& text) { return Actions().type_into(label, text); }
Actions choose(const wxString& item) { return Actions().choose(item); }
Actions run_out() { return Actions().run_out(); }

namespace {

template <class Dialog, void (Dialog::*handler)(wxTimerEvent&)>
bool tick_of(wxDialog& dialog)
{
    auto* d = dynamic_cast<Dialog*>(&dialog);
    if (!d)
        return false;
    wxTimer source;
    wxTimerEvent event(source);
    (d->*handler)(event);
    return true;
}

// The single-choice dialog's timer stops for good when someone chooses; the
// title shows whether it still counts (the caption alone once stopped).
bool tick_single_choice(wxDialog& dialog)
{
    auto* d = dynamic_cast<ovk_wxtools::SingleChoiceTimeoutDialog*>(&dialog);
    if (!d)
        return false;
    if (d->GetTitle() != d->caption)
        tick_of<ovk_wxtools::SingleChoiceTimeoutDialog, &ovk_wxtools::SingleChoiceTimeoutDialog::OnTimerEvent>(dialog);
    return true;
}

struct Countdowns {
    std::mutex lock;
    std::vector<std::function<bool(wxDialog&)>> ticks{
        tick_single_choice,
        tick_of<ovk_wxtools::WaitForDialog, &ovk_wxtools::WaitForDialog::on_timer_refresh>,
        tick_of<ovk_wxtools::ProgressDialog, &ovk_wxtools::ProgressDialog::on_refresh>,
    };
};

Countdowns& countdowns()
{
    static Countdowns all;
    return all;
}

std::string quoted(const wxString& text)
{
    return "\"" + text.utf8_string() + "\"";
}

std::string button_name(const wxString& label, int id)
{
    return label.empty() && id != wxID_NONE ? "with id " + std::to_string(id) : quoted(label);
}

}  // namespace

void add_countdown(std::function<bool(wxDialog&)> tick)
{
    std::lock_guard<std::mutex> hold(countdowns().lock);
    // The newest comes first, so a tool's own handling wins over a base class's.
    countdowns().ticks.insert(countdowns().ticks.begin(), std::move(tick));
}

std::string Actions::to_text(const Step& step)
{
    switch (step.what) {
    case What::Press: return "press " + button_name(step.label, step.id);
    case What::Type: return "type " + quoted(step.text) + " into " + quoted(step.label);
    case What::Choose: return "choose " + quoted(step.text);
    case What::RunOut: return "let the countdown run out";
    }
    return "?";
}

std::string Actions::to_text() const
{
    std::string text;
    for (const Step& step : steps_)
        text += (text.empty() ? "" : ", then ") + to_text(step);
    return text;
}

bool Actions::perform(wxDialog& dialog) const
{
    auto fail = [&dialog](const std::string& why) {
        report_failure(why + " in the " + ovk_wxtest::to_text(describe(dialog, kind_of(dialog))) +
                       "; the dialog was cancelled");
        return false;
    };
    for (std::size_t n = 0; n < steps_.size(); ++n) {
        const Step& step = steps_[n];
        if (!dialog.IsModal())
            return fail("the dialog had already ended before the scripted step \"" + to_text(step) + "\"");
        const DialogParts parts = parts_of(dialog);
        switch (step.what) {
        case What::Press: {
            wxAnyButton* found = nullptr;
            for (wxAnyButton* button : parts.buttons) {
                const bool match = step.label.empty() ? button->GetId() == step.id
                                                      : plain_label(button->GetLabel()) == plain_label(step.label);
                if (match) {
                    found = button;
                    break;
                }
            }
            if (!found)
                return fail("there is no button " + button_name(step.label, step.id) + " to press");
            if (!found->IsEnabled())
                return fail("the button " + button_name(step.label, step.id) + " is disabled");
            click(found);
            break;
        }
        case What::Type: {
            wxTextEntry* field = nullptr;
            for (const auto& [label, control] : parts.fields)
                if (plain_label(label) == plain_label(step.label))
                    field = dynamic_cast<wxTextEntry*>(control);
            // A dialog with a single field takes the text without naming it.
            if (!field && step.label.empty() && parts.fields.size() == 1)
                field = dynamic_cast<wxTextEntry*>(parts.fields.front().second);
            if (!field)
                return fail("there is no field labelled " + quoted(step.label) + " to type into");
            field->SetValue(step.text);  // sends the text-changed event, as typing does
            break;
        }
        case What::Choose: {
            bool done = false;
            for (wxControlWithItems* list : parts.lists) {
                const int at = list->FindString(step.text, true);
                if (at == wxNOT_FOUND)
                    continue;
                select(list, at);
                done = true;
                break;
            }
            if (!done)
                return fail("there is no entry " + quoted(step.text) + " to choose");
            break;
        }
        case What::RunOut: {
            std::function<bool(wxDialog&)> tick;
            {
                std::lock_guard<std::mutex> hold(countdowns().lock);
                for (const auto& candidate : countdowns().ticks) {
                    // The probe that finds the dialog's kind is its first tick.
                    tick = candidate;
                    if (tick(dialog))
                        break;
                    tick = nullptr;
                }
            }
            if (!tick)
                return fail("there is no countdown the testing kit knows how to run out");
            for (int i = 1; i < max_countdown_ticks && dialog.IsModal(); ++i)
                tick(dialog);
            if (dialog.IsModal())
                return fail("the countdown did not end the dialog after " + std::to_string(max_countdown_ticks) + " ticks");
            break;
        }
        }
    }
    return true;
}

int Actions::answer_message_box(const std::vector<wxString>& labels, const std::vector<int>& ids,
                                const std::string& what_it_showed) const
{
    if (steps_.size() != 1 || steps_.front().what != What::Press) {
        report_failure("a " + what_it_showed + " opened where the script would " + to_text() +
                       "; answered wxID_CANCEL");
        return wxID_NONE;
    }
    const Step& step = steps_.front();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const bool match = step.label.empty() ? ids[i] == step.id : plain_label(labels[i]) == plain_label(step.label);
        if (match)
            return ids[i];
    }
    report_failure("there is no button " + button_name(step.label, step.id) + " to press in the " + what_it_showed +
                   "; answered wxID_CANCEL");
    return wxID_NONE;
}

}  // namespace ovk_wxtest
