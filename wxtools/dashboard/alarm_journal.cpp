#include "wxtools/dashboard/alarm_journal.h"

#include "platform/handy/timestamp.h"
#include "wxtools/dashboard/detail/csv.h"
#include "wxtools/dashboard/detail/journal_schema.h"
#include "wxtools/dashboard/detail/journal_writer.h"
#include "wxtools/dashboard/log_record.h"

#include <algorithm>
#include <mutex>
#include <variant>

namespace ovk_wxtools {

namespace {

const char* kind_name(JournalEntry::Kind kind)
{
    switch (kind) {
    case JournalEntry::Kind::log: return "log";
    case JournalEntry::Kind::raise: return "raise";
    case JournalEntry::Kind::repeat: return "repeat";
    case JournalEntry::Kind::release: return "release";
    case JournalEntry::Kind::clear: return "clear";
    case JournalEntry::Kind::acknowledge: return "acknowledge";
    case JournalEntry::Kind::shelve: return "shelve";
    case JournalEntry::Kind::all_clear: return "all clear";
    }
    return "";
}

}  // namespace

struct AlarmJournal::Reader {
    std::mutex lock;
    std::unique_ptr<detail::Sqlite> db;  // opened at the first read; dropped after a failure
};

namespace {

// Runs `sql` (with its texts and numbers bound in order) on the journal's
// read-only connection, opened if need be; nothing when it cannot be read.
template <class Row, class Read, class Reader>
std::vector<Row> read_rows(Reader& reader, const std::string& path, const std::string& sql,
                           const std::vector<std::variant<std::string, double, std::int64_t>>& params, Read read)
{
    std::vector<Row> rows;
    std::lock_guard<std::mutex> hold(reader.lock);
    try {
        if (!reader.db) {
            reader.db = detail::open_journal(path, true);
            // A day of one station is a few thousand pages spread over the file.
            reader.db->exec("PRAGMA cache_size=-65536");
            reader.db->exec("PRAGMA mmap_size=268435456");
        }
        detail::Statement select(*reader.db, sql);
        int i = 1;
        for (const auto& p : params)
            std::visit([&](const auto& v) { select.bind(i++, v); }, p);
        while (select.step())
            rows.push_back(read(select));
    } catch (const detail::SqliteError&) {
        rows.clear();
        reader.db.reset();
    }
    return rows;
}

}  // namespace

AlarmJournal::AlarmJournal(const std::string& path, JournalOptions options)
    : path_(path), writer_(std::make_unique<detail::JournalWriter>(path, options)), reader_(std::make_unique<Reader>())
{
}

AlarmJournal::~AlarmJournal() = default;

std::string AlarmJournal::problem() const
{
    return writer_->problem();
}

void AlarmJournal::on_problem(std::function<void(const std::string&)> call)
{
    writer_->on_problem(std::move(call));
}

void AlarmJournal::append(JournalEntry entry)
{
    detail::JournalChange change;
    change.entry = std::move(entry);
    writer_->append(std::move(change));
}

void AlarmJournal::flush()
{
    writer_->flush();
}

void AlarmJournal::prune()
{
    writer_->prune();
}

std::vector<JournalEntry> AlarmJournal::query(const JournalQuery& query) const
{
    std::string where = " WHERE 1";
    std::vector<std::variant<std::string, double, std::int64_t>> params;
    if (query.from) {
        where += " AND time >= ?";
        params.emplace_back(detail::nanos_of(*query.from));
    }
    if (query.to) {
        where += " AND time < ?";
        params.emplace_back(detail::nanos_of(*query.to));
    }
    if (query.station) {
        where += " AND station = ?";
        params.emplace_back(*query.station);
    }
    if (query.code) {
        where += " AND code = ?";
        params.emplace_back(*query.code);
    }
    if (query.lowest_level) {
        where += " AND level >= ?";
        params.emplace_back(static_cast<std::int64_t>(*query.lowest_level));
    }
    if (query.text) {
        where += " AND instr(text, ?) > 0";
        params.emplace_back(*query.text);
    }
    std::string sql = std::string("SELECT ") + detail::entry_columns + " FROM entries" + where + " ORDER BY time" +
                      (query.newest_first ? " DESC, id DESC" : ", id");
    if (query.limit > 0)
        sql += " LIMIT " + std::to_string(query.limit);
    return read_rows<JournalEntry>(*reader_, path_, sql, params, detail::entry_from);
}

std::vector<JournalEntry> AlarmJournal::last_history(std::size_t rows) const
{
    const std::string sql = std::string("SELECT ") + detail::entry_columns + " FROM entries WHERE kind = 0 OR kind >= " +
                            std::to_string(static_cast<int>(JournalEntry::Kind::clear)) + " ORDER BY id DESC LIMIT " +
                            std::to_string(rows);
    auto entries = read_rows<JournalEntry>(*reader_, path_, sql, {}, detail::entry_from);
    std::reverse(entries.begin(), entries.end());
    return entries;
}

std::vector<JournalAlarm> AlarmJournal::active() const
{
    const std::string sql = std::string("SELECT ") + detail::active_columns + " FROM active ORDER BY position";
    return read_rows<JournalAlarm>(*reader_, path_, sql, {}, detail::alarm_from);
}

bool AlarmJournal::export_csv(const JournalQuery& query, const std::string& path) const
{
    std::string out = detail::csv_line({"Time", "Station", "Code", "Identity", "Level", "Kind", "Text"});
    for (const JournalEntry& entry : this->query(query))
        out += detail::csv_line({ovk_handy::timestamp(entry.time), entry.station, entry.code, entry.identity,
                                 level_name(entry.level), kind_name(entry.kind), entry.text});
    return detail::write_file(path, out);
}

}  // namespace ovk_wxtools
