#pragma once
// Figures of alarm management from a journal, over a span of time: how many
// alarms came in each 10 minutes, the floods (10 or more in 10 minutes), the
// chattering alarms (3 or more raises of one alarm within a minute), the ten
// most frequent alarms and how long acknowledging took.
#include "wxtools/dashboard/alarm_journal.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace ovk_wxtools {

struct JournalFigures {
    using Time = std::chrono::system_clock::time_point;

    struct Flood {
        Time start, end;  // whole 10-minute periods
        std::size_t raises = 0;
    };
    struct AlarmCount {
        std::string station, code;
        std::size_t raises = 0;
        bool operator==(const AlarmCount&) const = default;
    };

    Time from, to;
    // Raises in each 10 minutes from `from` on.
    std::vector<std::size_t> per_10_minutes;
    // Runs of 10-minute periods with 10 or more raises each.
    std::vector<Flood> floods;
    // Alarms raised 3 or more times within one minute, most raises first.
    std::vector<AlarmCount> chattering;
    // The ten alarms raised most often, most first.
    std::vector<AlarmCount> most_frequent;
    // Time from a raise to its acknowledgement, over every acknowledgement.
    std::size_t acknowledged = 0;
    std::chrono::milliseconds acknowledge_mean{0}, acknowledge_median{0}, acknowledge_max{0};
};

// The figures of `entries` (in time order) between `from` and `to`.
JournalFigures figures_of(const std::vector<JournalEntry>& entries, JournalFigures::Time from, JournalFigures::Time to);
// The same, read from `journal`.
JournalFigures journal_figures(const AlarmJournal& journal, JournalFigures::Time from, JournalFigures::Time to);

}  // namespace ovk_wxtools
