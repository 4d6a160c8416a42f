#pragma once
// The gallery's "History..." window: browses an alarm journal by span,
// station, code, level and text, shows the figures of the span and exports
// what it found as CSV.
#include "wxtools/dashboard/alarm_journal.h"

#include <wx/frame.h>

#include <memory>

class wxChoice;
class wxListCtrl;
class wxStaticText;
class wxTextCtrl;

namespace ovk_gallery {

class JournalHistoryFrame : public wxFrame {
public:
    JournalHistoryFrame(wxWindow* parent, std::shared_ptr<ovk_wxtools::AlarmJournal> journal);

private:
    ovk_wxtools::JournalQuery query() const;
    void search();
    void export_csv();

    std::shared_ptr<ovk_wxtools::AlarmJournal> journal_;
    wxChoice* span_;
    wxTextCtrl* station_;
    wxTextCtrl* code_;
    wxChoice* level_;
    wxTextCtrl* text_;
    wxListCtrl* found_;
    wxStaticText* figures_;
};

}  // namespace ovk_gallery
