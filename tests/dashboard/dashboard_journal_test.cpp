// The alarm journal on a real SQLite file: a restart shows the same history
// and alarms, a kill -9 in a flood leaves a sound database, a bad database
// leaves the dashboard working in memory, and queries, CSV and retention.
#include "tests/dashboard/child_process.h"
#include "tests/dashboard/dashboard_fixture.h"
#include "wxtools/dashboard/alarm_journal.h"
#include "wxtools/dashboard/detail/journal_writer.h"
#include "wxtools/dashboard/detail/sqlite.h"
#include "platform/handy/timestamp.h"

#include <linux/capability.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using namespace std::chrono_literals;

namespace {

// The databases made by this process, removed when it ends.
struct TempDatabases {
    std::vector<std::string> paths;
    ~TempDatabases()
    {
        std::error_code ignored;
        for (const std::string& path : paths)
            for (const char* end : {"", "-wal", "-shm", ".progress"})
                std::filesystem::remove(path + end, ignored);
    }
} temp_databases;

// A path for a new database, with nothing left there from an earlier run.
std::string fresh_db(const std::string& name)
{
    const std::string path = testing::TempDir() + "journal_" + std::to_string(getpid()) + "_" + name + ".db";
    for (const char* end : {"", "-wal", "-shm"})
        std::filesystem::remove(path + end);
    temp_databases.paths.push_back(path);
    return path;
}

std::string file_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Root writes read-only files anyway; without this capability it does not.
void respect_file_modes()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    ASSERT_EQ(syscall(SYS_capget, &header, data), 0);
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_FOWNER));
    ASSERT_EQ(syscall(SYS_capset, &header, data), 0);
}

JournalEntry entry(std::chrono::system_clock::time_point at, std::string station, std::string code,
                   JournalEntry::Kind kind, spdlog::level::level_enum level, std::string text = {})
{
    JournalEntry e;
    e.time = at;
    e.station = std::move(station);
    e.code = std::move(code);
    e.kind = kind;
    e.level = level;
    e.text = std::move(text);
    return e;
}

}  // namespace

TEST_F(DashboardTest, RestartShowsTheSameHistoryAndAlarms)
{
    const std::string db = fresh_db("restart");
    const DashboardOptions options{.acknowledge_and_shelve = true, .journal = db, .station = "工位7"};
    make(nullptr, spdlog::level::warn, options);
    auto logger = std::make_shared<spdlog::logger>("journal", dash->sink());
    const AlarmCode hot{"温度高"}, door{"Door open"}, vacuum{"Vacuum"}, gone{"Gone"};
    dash->alarm(hot, {}, "A");
    dash->alarm(hot, {}, wxString::FromUTF8("工位1"), spdlog::level::critical);
    dash->alarm(door, {}, wxString(), spdlog::level::warn);
    dash->alarm(vacuum, {});
    dash->alarm(gone, {});
    dash->acknowledge(door);
    dash->shelve(vacuum, 5min);
    dash->clear(hot, wxString("A"));
    dash->clear(gone);
    logger->warn("压力 低");
    settle();
    const auto rows = history();
    const auto listed_before = listed();
    ASSERT_FALSE(listed_before.empty());
    const auto before = dash->snapshot();
    dash->Destroy();
    flush_events();

    make(nullptr, spdlog::level::warn, options);
    settle();
    const auto again = history();
    ASSERT_EQ(again.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(again[i].level, rows[i].level) << i;
        EXPECT_EQ(again[i].time_or_code, rows[i].time_or_code) << i;
        EXPECT_EQ(again[i].message, rows[i].message) << i;
        EXPECT_EQ(again[i].colour, rows[i].colour) << i;
    }
    EXPECT_EQ(listed(), listed_before);
    const auto after = dash->snapshot();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].code, before[i].code);
        EXPECT_EQ(after[i].identities, before[i].identities);
        EXPECT_EQ(after[i].level, before[i].level);
        EXPECT_EQ(after[i].first_raised, before[i].first_raised);
        EXPECT_EQ(after[i].last_raised, before[i].last_raised);
        EXPECT_EQ(after[i].times_raised, before[i].times_raised);
        EXPECT_EQ(after[i].acknowledged, before[i].acknowledged);
        EXPECT_EQ(after[i].shelved, before[i].shelved);
    }
}

TEST(AlarmJournal, QueriesByTimeStationCodeLevelAndTextAndExportsCsv)
{
    const std::string db = fresh_db("query");
    const auto t0 = std::chrono::system_clock::from_time_t(1780000000);
    using K = JournalEntry::Kind;
    namespace lv = spdlog::level;
    AlarmJournal journal(db);
    journal.append(entry(t0, "工位1", "温度高", K::raise, lv::err));
    journal.append(entry(t0 + 1min, "B", "door", K::raise, lv::warn));
    journal.append(entry(t0 + 2min, "工位1", "", K::log, lv::warn, "压力 低, \"81\""));
    journal.append(entry(t0 + 3min, "B", "door", K::clear, lv::warn));
    journal.append(entry(t0 + 24h, "工位1", "", K::log, lv::critical, "fire"));
    journal.flush();
    EXPECT_EQ(journal.problem(), "");

    struct Case {
        JournalQuery query;
        std::vector<int> minutes;  // of the entries answered, in order
    } cases[] = {
        {{}, {0, 1, 2, 3, 1440}},
        {{.station = "工位1"}, {0, 2, 1440}},
        {{.from = t0 + 1min, .to = t0 + 3min}, {1, 2}},
        {{.code = "door"}, {1, 3}},
        {{.lowest_level = lv::critical}, {1440}},
        {{.text = "低"}, {2}},
        {{.limit = 2, .newest_first = true}, {1440, 3}},
        {{.station = "nowhere"}, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> minutes;
        for (const JournalEntry& e : journal.query(c.query))
            minutes.push_back(static_cast<int>(std::chrono::duration_cast<std::chrono::minutes>(e.time - t0).count()));
        EXPECT_EQ(minutes, c.minutes);
    }
    const std::string csv = testing::TempDir() + "journal_导出.csv";
    temp_databases.paths.push_back(csv);
    ASSERT_TRUE(journal.export_csv({.to = t0 + 1h, .station = "工位1"}, csv));
    EXPECT_EQ(file_text(csv), "Time,Station,Code,Identity,Level,Kind,Text\r\n" + ovk_handy::timestamp(t0) +
                                  ",工位1,温度高,,ERROR,raise,\r\n" + ovk_handy::timestamp(t0 + 2min) +
                                  ",工位1,,,WARNING,log,\"压力 低, \"\"81\"\"\"\r\n");
}

TEST(AlarmJournal, RetentionPrunesByAgeAndBySize)
{
    const auto now = std::chrono::system_clock::now();
    {
        AlarmJournal journal(fresh_db("age"), {.max_age = 1h});
        for (auto at : {now - 3h, now - 2h, now - 1min, now})
            journal.append(entry(at, "s", "c", JournalEntry::Kind::raise, spdlog::level::err));
        journal.prune();
        EXPECT_EQ(journal.query({}).size(), 2u);
    }
    const std::string db = fresh_db("size");
    constexpr std::uint64_t bound = 256 * 1024;
    AlarmJournal journal(db, {.max_bytes = bound});
    for (int i = 0; i < 20000; ++i)
        journal.append(entry(now, "s", "c", JournalEntry::Kind::log, spdlog::level::err,
                             "row " + std::to_string(i) + std::string(80, 'x')));
    journal.prune();
    EXPECT_LE(std::filesystem::file_size(db), bound + 64 * 1024);
    const auto kept = journal.query({});
    ASSERT_GT(kept.size(), 100u);
    EXPECT_LT(kept.size(), 20000u);
    EXPECT_EQ(kept.back().text.substr(0, 10), "row 19999x");  // the newest stay
}

TEST_F(DashboardTest, BadDatabaseSaysSoOnceAndTheDashboardGoesOnInMemory)
{
    const std::string corrupt = fresh_db("corrupt");
    std::ofstream(corrupt, std::ios::binary) << std::string(8192, 'x');
    const std::string read_only = fresh_db("read_only");
    {
        AlarmJournal journal(read_only);
        journal.append(entry(std::chrono::system_clock::now(), "", "c", JournalEntry::Kind::raise, spdlog::level::err));
    }
    ASSERT_EQ(chmod(read_only.c_str(), 0444), 0);
    respect_file_modes();
    for (const std::string& db : {corrupt, read_only}) {
        const std::string bytes = file_text(db);
        make(nullptr, spdlog::level::warn, {.journal = db});
        dash->alarm(AlarmCode("急停"), {});
        dash->clear(AlarmCode("急停"));
        settle();
        const auto rows = history();
        ASSERT_EQ(rows.size(), 2u) << db;
        EXPECT_EQ(rows[0].level, "ERROR");
        EXPECT_NE(rows[0].message.Find(wxString::FromUTF8(db)), wxNOT_FOUND);
        EXPECT_NE(rows[0].message.Find("kept in memory only"), wxNOT_FOUND);
        EXPECT_EQ(rows[1].time_or_code, wxString::FromUTF8("急停"));
        EXPECT_NE(dash->journal()->problem(), "");
        EXPECT_EQ(file_text(db), bytes);
        dash->Destroy();
        flush_events();
    }
}

// Run by KillDuringAFloodLeavesASoundJournal in a process of its own: three
// threads flood the journal until the process is killed; every 500 ms the
// GUI thread writes what each thread had done before the journal was flushed.
// Each thread also keeps its count in a file mapped in memory, which the
// kernel keeps when the process dies.
TEST_F(DashboardTest, JournalFloodUntilKilled)
{
    const char* db = std::getenv("OVK_JOURNAL_FLOOD");
    if (!db)
        GTEST_SKIP() << "started by KillDuringAFloodLeavesASoundJournal";
    make(nullptr, spdlog::level::warn,
         {.acknowledge_and_shelve = true, .journal = db, .journal_options = {.batch_time = 50ms}});
    auto state = dash->state();
    const int progress_file = open((std::string(db) + ".progress").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(ftruncate(progress_file, 3 * sizeof(long)), 0);
    void* mapped = mmap(nullptr, 3 * sizeof(long), PROT_READ | PROT_WRITE, MAP_SHARED, progress_file, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    auto* done = new (mapped) std::atomic<long>[3]{-1, -1, -1};
    for (int w = 0; w < 3; ++w)
        std::thread([state, w, done] {
            for (long i = 0;; ++i) {
                state->emit(LogRecord(spdlog::level::warn, "t" + std::to_string(w) + " " + std::to_string(i), 0));
                const AlarmCode code("c" + std::to_string(w) + "-" + std::to_string(i % 13));
                const wxString id = i % 2 ? wxString("p") : wxString("q");
                if (i % 3 == 0)
                    state->alarm(code, {}, id);
                if (i % 5 == 0)
                    state->clear(code, id);
                if (i % 7 == 0)
                    state->acknowledge(code);
                done[w] = i;
            }
        }).detach();
    for (;;) {
        wait_until([] { return false; }, 500ms);
        const long seen[3] = {done[0], done[1], done[2]};
        dash->journal()->flush();
        std::printf("flushed %ld %ld %ld\n", seen[0], seen[1], seen[2]);
        std::fflush(stdout);
    }
}

TEST(AlarmJournal, KillDuringAFloodLeavesASoundJournal)
{
    const std::string db = fresh_db("kill");
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t parent = getpid();
    // Set before the fork: the child of a process with threads must not allocate.
    setenv("OVK_JOURNAL_FLOOD", db.c_str(), 1);
    const pid_t child = fork();
    if (child == 0) {
        die_with_parent(parent);
        dup2(out[1], 1);
        execl("/proc/self/exe", "flood", "--gtest_filter=DashboardTest.JournalFloodUntilKilled", nullptr);
        _exit(127);
    }
    unsetenv("OVK_JOURNAL_FLOOD");
    close(out[1]);
    FILE* from_child = fdopen(out[0], "r");
    long flushed[3] = {-1, -1, -1};
    char line[256];
    for (int reports = 0; reports < 2 && std::fgets(line, sizeof line, from_child);)
        if (std::sscanf(line, "flushed %ld %ld %ld", &flushed[0], &flushed[1], &flushed[2]) == 3)
            ++reports;
    // In the midst of the flood, between two flushes.
    std::this_thread::sleep_for(250ms);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::fclose(from_child);
    ASSERT_GE(flushed[0], 0) << "the flood never reported";
    long progress[3] = {-1, -1, -1};
    std::ifstream(db + ".progress", std::ios::binary).read(reinterpret_cast<char*>(progress), sizeof progress);

    detail::Sqlite sql(db, false);
    detail::Statement check(sql, "PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.text(0), "ok");
    // Each thread's records: every one flushed is there, and no gap before the last.
    std::set<long> seen[3];
    detail::Statement logs(sql, "SELECT text FROM entries WHERE kind = 0");
    while (logs.step()) {
        int w = 0;
        long i = 0;
        if (std::sscanf(logs.text(0).c_str(), "t%d %ld", &w, &i) == 2 && w >= 0 && w < 3)
            seen[w].insert(i);
    }
    long lost = 0;
    for (int w = 0; w < 3; ++w) {
        ASSERT_FALSE(seen[w].empty());
        EXPECT_GE(*seen[w].rbegin(), flushed[w]);
        EXPECT_EQ(static_cast<long>(seen[w].size()), *seen[w].rbegin() + 1) << "a gap in thread " << w;
        lost += progress[w] - *seen[w].rbegin();
    }
    // At most the batch being written and the one gathering behind it; a
    // journal that let its queue grow in a flood loses far more.
    EXPECT_LE(lost, static_cast<long>(2 * detail::JournalWriter::queue_limit)) << "rows logged but lost by the kill";
    // The active alarms are what the entries written say, to the last one.
    std::map<std::string, std::pair<std::set<std::string>, bool>> replay;
    detail::Statement changes(sql, "SELECT kind, code, identity FROM entries WHERE kind > 0 ORDER BY id");
    using K = JournalEntry::Kind;
    while (changes.step()) {
        const auto kind = static_cast<K>(changes.integer(0));
        const std::string code = changes.text(1), id = changes.text(2);
        if (kind == K::raise)
            replay[code] = {{id}, false};
        else if (kind == K::repeat)
            replay[code].first.insert(id);
        else if (kind == K::release)
            replay[code].first.erase(id);
        else if (kind == K::clear)
            replay.erase(code);
        else if (kind == K::acknowledge)
            replay[code].second = true;
    }
    AlarmJournal journal(db);
    std::map<std::string, std::pair<std::set<std::string>, bool>> active;
    for (const JournalAlarm& alarm : journal.active())
        active[alarm.code] = {{alarm.identities.begin(), alarm.identities.end()}, alarm.acknowledged};
    EXPECT_EQ(active, replay);
}

TEST(AlarmJournal, AnOlderJournalIsBroughtUpToDateAndANewerOneLeftAlone)
{
    // A journal as the first version wrote it: a station index without the columns.
    const std::string old_db = fresh_db("version_0");
    {
        detail::Sqlite sql(old_db, true);
        sql.exec("PRAGMA journal_mode=WAL;"
                 "CREATE TABLE entries(id INTEGER PRIMARY KEY, time INTEGER NOT NULL, station TEXT NOT NULL,"
                 " code TEXT NOT NULL, identity TEXT NOT NULL, level INTEGER NOT NULL, kind INTEGER NOT NULL,"
                 " text TEXT NOT NULL, shelved_ms INTEGER NOT NULL);"
                 "CREATE INDEX entries_by_time ON entries(time);"
                 "CREATE INDEX entries_by_station ON entries(station, time);"
                 "CREATE TABLE active(station TEXT NOT NULL, code TEXT NOT NULL, identities TEXT NOT NULL,"
                 " level INTEGER NOT NULL, first_raised INTEGER NOT NULL, last_raised INTEGER NOT NULL,"
                 " times_raised INTEGER NOT NULL, acknowledged INTEGER NOT NULL, shelved_until INTEGER,"
                 " position INTEGER NOT NULL, PRIMARY KEY(station, code));"
                 "INSERT INTO entries VALUES(1, 1780000000000000000, '工位1', '温度高', '泵A', 4, 1, '', 0);"
                 "INSERT INTO entries VALUES(2, 1780000060000000000, '工位2', '', '', 3, 0, '压力 低', 0);"
                 "INSERT INTO active VALUES('工位1', '温度高', '[\"泵A\"]', 4, 1780000000000000000,"
                 " 1780000000000000000, 1, 0, NULL, 1);");
    }
    {
        AlarmJournal journal(old_db);
        journal.append(entry(std::chrono::system_clock::from_time_t(1780000120), "工位1", "", JournalEntry::Kind::log,
                             spdlog::level::warn, "new"));
        journal.flush();
        EXPECT_EQ(journal.problem(), "");
        std::vector<std::string> texts;
        for (const JournalEntry& e : journal.query({.station = "工位1"}))
            texts.push_back(e.code + "/" + e.identity + "/" + e.text);
        EXPECT_EQ(texts, (std::vector<std::string>{"温度高/泵A/", "//new"}));
        ASSERT_EQ(journal.active().size(), 1u);
        EXPECT_EQ(journal.active()[0].identities, std::vector<std::string>{"泵A"});
    }
    detail::Sqlite sql(old_db, false, true);
    detail::Statement plan(sql, "EXPLAIN QUERY PLAN SELECT id, time, station, code, identity, level, kind, text, "
                                "shelved_ms FROM entries WHERE time >= 0 AND time < 1 AND station = 'x' ORDER BY time, id");
    std::string steps;
    while (plan.step())
        steps += plan.text(3) + "\n";
    EXPECT_NE(steps.find("COVERING INDEX entries_by_station_time"), std::string::npos) << steps;
    EXPECT_EQ(steps.find("TEMP B-TREE"), std::string::npos) << steps;

    // A journal of a later layout is not ours to change.
    const std::string newer = fresh_db("version_9");
    {
        detail::Sqlite made(newer, true);
        made.exec("PRAGMA user_version = 9");
    }
    const std::string bytes = file_text(newer);
    AlarmJournal journal(newer);
    EXPECT_NE(journal.problem().find("newer version"), std::string::npos) << journal.problem();
    EXPECT_EQ(file_text(newer), bytes);
}
