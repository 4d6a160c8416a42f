#include "wxtools/dashboard/detail/journal_writer.h"

#include "wxtools/dashboard/detail/journal_schema.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace ovk_wxtools::detail {

namespace {

// The writing thread's niceness (0 is everyone else's, 19 the lowest).
constexpr int background_niceness = 5;

}  // namespace

struct JournalWriter::Statements {
    explicit Statements(const Sqlite& db)
        : insert(db, "INSERT INTO entries(time, station, code, identity, level, kind, text, shelved_ms) "
                     "VALUES(?, ?, ?, ?, ?, ?, ?, ?)"),
          put(db, std::string("INSERT INTO active(") + active_columns +
                      ", position) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(station, code) DO UPDATE SET "
                      "identities = excluded.identities, level = excluded.level, last_raised = excluded.last_raised, "
                      "times_raised = excluded.times_raised, acknowledged = excluded.acknowledged, "
                      "shelved_until = excluded.shelved_until"),
          remove(db, "DELETE FROM active WHERE station = ? AND code = ?"),
          remove_all(db, "DELETE FROM active WHERE station = ?")
    {
    }
    Statement insert, put, remove, remove_all;
};

std::string journal_problem(const std::string& path, const std::string& why)
{
    return "The alarm journal " + path + " cannot be used (" + why + "); alarms are kept in memory only.";
}

JournalWriter::JournalWriter(const std::string& path, const JournalOptions& options)
    : path_(path), options_(options)
{
    try {
        db_ = open_journal(path, false);
        // The pages being filled (the end of each index, a few places in
        // the station index) stay in memory between batches.
        db_->exec("PRAGMA cache_size=-32768");
    } catch (const SqliteError& error) {
        db_.reset();
        problem_ = journal_problem(path, error.what());
        ready_ = true;
        return;
    }
    queue_.reserve(queue_limit);
    queue_texts_.reserve(1 << 20);
    thread_ = std::thread([this] { run(); });
}

JournalWriter::~JournalWriter()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    wake_.notify_all();
    room_.notify_all();
    // The last owner may let go on this very thread, inside on_problem's call.
    if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else if (thread_.joinable())
        thread_.join();
}

void JournalWriter::append(JournalChange change)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!problem_.empty())
            return;
        queue_.push_back(std::move(change));
        ++appended_;
        if (queue_.size() != queue_limit)
            return;
    }
    wake_.notify_one();
}

void JournalWriter::append_log(JournalChange change, std::string_view station, std::string_view text)
{
    bool full = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!problem_.empty())
            return;
        change.buffered = true;
        change.station_at = queue_texts_.size();
        change.station_size = station.size();
        queue_texts_.append(station);
        change.text_at = queue_texts_.size();
        change.text_size = text.size();
        queue_texts_.append(text);
        queue_.push_back(std::move(change));
        ++appended_;
        full = full_locked();
    }
    if (full)
        wake_.notify_one();
}

bool JournalWriter::full_locked() const
{
    return queue_.size() >= queue_limit || queue_texts_.size() >= text_limit;
}

void JournalWriter::make_room()
{
    std::unique_lock<std::mutex> hold(lock_);
    room_.wait(hold, [this] { return !full_locked() || !problem_.empty() || stop_; });
}

void JournalWriter::flush()
{
    std::unique_lock<std::mutex> hold(lock_);
    const std::uint64_t target = appended_;
    hurry_ = true;
    wake_.notify_all();
    written_.wait(hold, [&] { return (ready_ && done_ >= target) || !problem_.empty() || !thread_.joinable(); });
}

void JournalWriter::prune()
{
    std::unique_lock<std::mutex> hold(lock_);
    const std::uint64_t target = appended_;
    prune_asked_ = true;
    prune_upto_ = std::max(prune_upto_, target);
    wake_.notify_all();
    written_.wait(hold, [&] { return (!prune_asked_ && done_ >= target) || !problem_.empty() || !thread_.joinable(); });
}

std::string JournalWriter::problem() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return problem_;
}

void JournalWriter::on_problem(std::function<void(const std::string&)> call)
{
    std::lock_guard<std::mutex> hold(lock_);
    on_problem_ = std::move(call);
}

void JournalWriter::run()
{
    using clock = std::chrono::steady_clock;
    // Background work: on a busy machine the window's thread goes first. A
    // journal that falls behind only makes the threads that log wait.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), background_niceness);
    try {
        migrate_journal(*db_);
        statements_ = std::make_unique<Statements>(*db_);
    } catch (const SqliteError& error) {
        fail(error.what());
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        ready_ = true;
    }
    written_.notify_all();
    auto next_prune = clock::now();
    std::vector<JournalChange> batch;
    batch.reserve(queue_limit);
    std::string texts;
    texts.reserve(1 << 20);
    for (bool stopping = false; !stopping;) {
        bool pruning = false;
        std::uint64_t upto = 0;
        {
            std::unique_lock<std::mutex> hold(lock_);
            // A full queue goes at once: threads wait for its room.
            wake_.wait_for(hold, options_.batch_time,
                           [this] { return stop_ || hurry_ || prune_asked_ || full_locked(); });
            hurry_ = false;
            batch.swap(queue_);
            texts.swap(queue_texts_);
            upto = appended_;
            room_.notify_all();
            stopping = stop_;
            pruning = prune_asked_ || ((options_.max_age.count() > 0 || options_.max_bytes > 0) &&
                                       clock::now() >= next_prune);
        }
        if (!batch.empty() && db_)
            write(batch, texts);
        batch.clear();
        texts.clear();
        if (pruning && db_) {
            prune_now();
            next_prune = clock::now() + options_.prune_every;
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            done_ = upto;
            // A prune asked for while an earlier batch was on its way is owed
            // again once everything asked before it is written.
            if (pruning && (upto >= prune_upto_ || !db_))
                prune_asked_ = false;
        }
        written_.notify_all();
    }
}

void JournalWriter::write(std::vector<JournalChange>& batch, const std::string& texts)
{
    try {
        db_->exec("BEGIN IMMEDIATE");
        Statements& s = *statements_;
        const std::string_view all(texts);
        for (JournalChange& change : batch) {
            s.insert.reset();
            bind_entry(s.insert, change.entry);
            if (change.buffered)
                s.insert.bind_kept(2, all.substr(change.station_at, change.station_size))
                    .bind_kept(7, all.substr(change.text_at, change.text_size));
            s.insert.step();
            switch (change.active) {
            case JournalChange::Active::keep:
                break;
            case JournalChange::Active::put:
                s.put.reset();
                bind_alarm(s.put, change.alarm, db_->last_insert_id());
                s.put.step();
                break;
            case JournalChange::Active::remove:
                s.remove.reset();
                s.remove.bind(1, change.entry.station).bind(2, change.entry.code);
                s.remove.step();
                break;
            case JournalChange::Active::remove_all:
                s.remove_all.reset();
                s.remove_all.bind(1, change.entry.station);
                s.remove_all.step();
                break;
            }
        }
        db_->exec("COMMIT");
    } catch (const SqliteError& error) {
        fail(error.what());
    }
}

void JournalWriter::prune_now()
{
    try {
        if (options_.max_age.count() > 0) {
            Statement old(*db_, "DELETE FROM entries WHERE time < ?");
            old.bind(1, nanos_of(std::chrono::system_clock::now() - options_.max_age));
            old.step();
        }
        if (options_.max_bytes > 0) {
            // Pages in use, not the file's size: deleted rows leave free pages
            // that the vacuum below gives back.
            auto used = [this] {
                Statement pages(*db_, "SELECT (SELECT page_count FROM pragma_page_count()) - "
                                      "(SELECT freelist_count FROM pragma_freelist_count()), "
                                      "(SELECT page_size FROM pragma_page_size())");
                pages.step();
                return static_cast<std::uint64_t>(pages.integer(0) * pages.integer(1));
            };
            Statement count(*db_, "SELECT count(*) FROM entries");
            for (int round = 0; round < 64 && used() > options_.max_bytes; ++round) {
                count.reset();
                count.step();
                const std::int64_t drop = std::max<std::int64_t>(count.integer(0) / 10, 1);
                if (count.integer(0) == 0)
                    break;
                Statement oldest(*db_, "DELETE FROM entries WHERE id IN (SELECT id FROM entries ORDER BY id LIMIT ?)");
                oldest.bind(1, drop);
                oldest.step();
            }
            db_->exec("PRAGMA incremental_vacuum");
        }
        db_->exec("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const SqliteError& error) {
        fail(error.what());
    }
}

void JournalWriter::fail(const std::string& what)
{
    try {
        if (db_)
            db_->exec("ROLLBACK");
    } catch (const SqliteError&) {
        // Nothing was left open.
    }
    statements_.reset();
    db_.reset();
    std::function<void(const std::string&)> call;
    std::string message = journal_problem(path_, what);
    {
        std::lock_guard<std::mutex> hold(lock_);
        problem_ = message;
        queue_.clear();
        queue_texts_.clear();
        call = on_problem_;
    }
    room_.notify_all();
    if (call)
        call(message);
}

}  // namespace ovk_wxtools::detail
