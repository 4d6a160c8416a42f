#include "wxtools/dashboard/journal_figures.h"

#include <algorithm>
#include <deque>
#include <map>
#include <utility>

namespace ovk_wxtools {

namespace {

using Key = std::pair<std::string, std::string>;  // station, code
constexpr auto period = std::chrono::minutes(10);
constexpr std::size_t flood_raises = 10;
constexpr std::size_t chatter_raises = 3;
constexpr auto chatter_window = std::chrono::minutes(1);

std::vector<JournalFigures::AlarmCount> sorted_counts(const std::map<Key, std::size_t>& counts, std::size_t most)
{
    std::vector<JournalFigures::AlarmCount> out;
    for (const auto& [key, n] : counts)
        out.push_back({key.first, key.second, n});
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.raises > b.raises; });
    if (out.size() > most)
        out.resize(most);
    return out;
}

void add_floods(JournalFigures& figures)
{
    for (std::size_t i = 0; i < figures.per_10_minutes.size(); ++i) {
        if (figures.per_10_minutes[i] < flood_raises)
            continue;
        const auto start = figures.from + period * static_cast<int>(i);
        if (!figures.floods.empty() && figures.floods.back().end == start) {
            figures.floods.back().end += period;
            figures.floods.back().raises += figures.per_10_minutes[i];
        } else {
            figures.floods.push_back({start, start + period, figures.per_10_minutes[i]});
        }
    }
}

void add_acknowledge_times(JournalFigures& figures, std::vector<std::chrono::milliseconds> waits)
{
    figures.acknowledged = waits.size();
    if (waits.empty())
        return;
    std::sort(waits.begin(), waits.end());
    std::chrono::milliseconds total{0};
    for (auto w : waits)
        total += w;
    figures.acknowledge_mean = total / static_cast<long>(waits.size());
    figures.acknowledge_median = waits[waits.size() / 2];
    figures.acknowledge_max = waits.back();
}

}  // namespace

JournalFigures figures_of(const std::vector<JournalEntry>& entries, JournalFigures::Time from, JournalFigures::Time to)
{
    JournalFigures figures;
    figures.from = from;
    figures.to = std::max(from, to);
    figures.per_10_minutes.assign(static_cast<std::size_t>((figures.to - from + period - std::chrono::nanoseconds(1)) / period), 0);
    std::map<Key, std::size_t> raises, chatter;
    std::map<Key, std::deque<JournalFigures::Time>> recent;  // raises within the last minute
    std::map<Key, JournalFigures::Time> raised_at;
    std::vector<std::chrono::milliseconds> waits;
    for (const JournalEntry& e : entries) {
        if (e.time < from || e.time >= figures.to)
            continue;
        const Key key{e.station, e.code};
        if (e.kind == JournalEntry::Kind::raise) {
            ++figures.per_10_minutes[static_cast<std::size_t>((e.time - from) / period)];
            ++raises[key];
            raised_at[key] = e.time;
            auto& window = recent[key];
            window.push_back(e.time);
            while (e.time - window.front() >= chatter_window)
                window.pop_front();
            if (window.size() >= chatter_raises)
                ++chatter[key];
        } else if (e.kind == JournalEntry::Kind::acknowledge) {
            if (auto at = raised_at.find(key); at != raised_at.end())
                waits.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(e.time - at->second));
        }
    }
    add_floods(figures);
    std::map<Key, std::size_t> chattering;
    for (const auto& [key, n] : chatter)
        chattering[key] = raises[key];
    figures.chattering = sorted_counts(chattering, chattering.size());
    figures.most_frequent = sorted_counts(raises, 10);
    add_acknowledge_times(figures, std::move(waits));
    return figures;
}

JournalFigures journal_figures(const AlarmJournal& journal, JournalFigures::Time from, JournalFigures::Time to)
{
    JournalQuery query;
    query.from = from;
    query.to = to;
    return figures_of(journal.query(query), from, to);
}

}  // namespace ovk_wxtools
