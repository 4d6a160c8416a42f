#pragma once
// Extras of the alarm dashboard that a tool turns on one by one. With every
// field left as it is, the dashboard behaves exactly as it always did.
#include "wxtools/dashboard/alarm_journal.h"

#include <cstddef>
#include <string>

namespace ovk_wxtools {

struct DashboardOptions {
    // Each listed alarm shows how often it was raised while active and since
    // when: "Over temperature (3×, since 10:42:07)". A raise of an active code
    // then refreshes the list.
    bool counts_and_times = false;
    // New alarms are marked "(!)" until acknowledged; buttons acknowledge the
    // selected or every alarm and shelve the selected one for a chosen time.
    // Each acknowledge and shelve writes a history row.
    bool acknowledge_and_shelve = false;
    // The history keeps this many rows: the oldest go first and one row at
    // the top says how many went. They go in batches, so up to a tenth more
    // may show in between. 0 keeps every row.
    std::size_t history_cap = 0;
    // A choice above the history hides log rows below a chosen level.
    bool level_filter = false;
    // A button that writes the history to a CSV file.
    bool csv_export = false;
    // The user's selection and scroll position stay where they were when the
    // alarm list is rebuilt or history rows go or come back.
    bool keep_view = false;
    // An SQLite database file (UTF-8 path) that keeps every history row and
    // alarm change (see AlarmJournal). On start the history shows its last
    // `journal_rows` rows and the alarms active then are active again. A
    // database that cannot be used says so in one history row; the dashboard
    // goes on in memory.
    std::string journal = {};
    std::size_t journal_rows = 1000;
    // The name this dashboard's entries carry in the journal.
    std::string station = {};
    JournalOptions journal_options = {};
};

}  // namespace ovk_wxtools
