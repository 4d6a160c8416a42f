#pragma once
// What a PlantDashboard connects to and keeps.
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/mqtt_options.h"

#include <cstddef>
#include <string>

namespace ovk_wxtools {

struct PlantDashboardOptions {
    // The broker and the prefix the stations publish under.
    MqttOptions mqtt = {};
    // An SQLite database file (UTF-8 path) that keeps every change received,
    // with its station; on start the history shows its last `history_rows`.
    // Empty: no journal.
    std::string journal = {};
    JournalOptions journal_options = {};
    // Rows the history keeps; the oldest go first.
    std::size_t history_rows = 10000;
};

}  // namespace ovk_wxtools
