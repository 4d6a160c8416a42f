// The alarm journal: entries, questions and figures with Python's values
// (levels as logging's numbers, datetime and timedelta). Reading and writing
// the database runs with the GIL released.
#include "bindings.h"
#include "callbacks.h"
#include "dashboard_values.h"
#include "wxtools/dashboard/journal_figures.h"
#include <pybind11/chrono.h>
#include <pybind11/stl.h>

namespace ovk_python {

using namespace ovk_wxtools;

namespace {

using release = py::call_guard<py::gil_scoped_release>;

// A read-write property `name` of T in Python's terms, over a member of C++'s.
template <class T, class Class, class M, class Get, class Set>
void def_converted(Class& c, const char* name, M T::*member, Get get, Set set, const char* doc = "")
{
    c.def_property(
        name, [member, get](const T& self) { return get(self.*member); },
        [member, set](T& self, py::handle value) { self.*member = set(value); }, doc);
}

py::object level_of(spdlog::level::level_enum level) { return py::int_(python_level(level)); }
spdlog::level::level_enum level_from(py::handle level) { return spdlog_level(level.cast<int>()); }

std::optional<Time> optional_time(py::handle when)
{
    return when.is_none() ? std::nullopt : std::optional<Time>(time_of(when));
}

void bind_entry(py::module_& m)
{
    py::class_<JournalEntry> entry(m, "JournalEntry", "One entry of an alarm journal.");
    py::enum_<JournalEntry::Kind>(entry, "Kind")
        .value("log", JournalEntry::Kind::log)
        .value("raise_", JournalEntry::Kind::raise)
        .value("repeat", JournalEntry::Kind::repeat)
        .value("release", JournalEntry::Kind::release)
        .value("clear", JournalEntry::Kind::clear)
        .value("acknowledge", JournalEntry::Kind::acknowledge)
        .value("shelve", JournalEntry::Kind::shelve)
        .value("all_clear", JournalEntry::Kind::all_clear);
    entry.def(py::init([](const py::kwargs& fields) { return from_fields<JournalEntry>(fields); }),
              "JournalEntry(time=..., station=..., code=..., identity=..., level=40, kind=Kind.log, text=..., "
              "shelved_for=timedelta())");
    def_converted(entry, "time", &JournalEntry::time, py::overload_cast<Time>(datetime_of), time_of);
    entry.def_readwrite("station", &JournalEntry::station)
        .def_readwrite("code", &JournalEntry::code)
        .def_readwrite("identity", &JournalEntry::identity)
        .def_readwrite("kind", &JournalEntry::kind)
        .def_readwrite("text", &JournalEntry::text)
        .def_readwrite("shelved_for", &JournalEntry::shelved_for)
        .def_readonly("id", &JournalEntry::id, "Its place in the journal, given when written.")
        .def("is_history_row", &JournalEntry::is_history_row)
        .def("__repr__", [](const JournalEntry& e) {
            return "<JournalEntry " + std::string(py::str(py::cast(e.kind))) + " " + e.station + " " + e.code + " " +
                   e.text + ">";
        });
    def_converted(entry, "level", &JournalEntry::level, level_of, level_from, "logging's number");

    py::class_<JournalQuery> query(m, "JournalQuery",
                                   "Which entries a query answers; each field left as None matches everything. "
                                   "from_ is C++'s `from` (at or after), to is before.");
    query.def(py::init([](const py::kwargs& fields) { return from_fields<JournalQuery>(fields); }));
    def_converted(query, "from_", &JournalQuery::from, py::overload_cast<const std::optional<Time>&>(datetime_of),
                  optional_time);
    def_converted(query, "to", &JournalQuery::to, py::overload_cast<const std::optional<Time>&>(datetime_of),
                  optional_time);
    query.def_readwrite("station", &JournalQuery::station)
        .def_readwrite("code", &JournalQuery::code)
        .def_readwrite("text", &JournalQuery::text)
        .def_readwrite("limit", &JournalQuery::limit)
        .def_readwrite("newest_first", &JournalQuery::newest_first);
    def_converted(
        query, "lowest_level", &JournalQuery::lowest_level,
        [](const std::optional<spdlog::level::level_enum>& l) { return l ? level_of(*l) : py::none(); },
        [](py::handle l) {
            return l.is_none() ? std::nullopt : std::optional<spdlog::level::level_enum>(level_from(l));
        });

    py::class_<JournalAlarm> alarm(m, "JournalAlarm", "An alarm active when the journal was last written.");
    alarm.def_readonly("station", &JournalAlarm::station)
        .def_readonly("code", &JournalAlarm::code)
        .def_readonly("identities", &JournalAlarm::identities)
        .def_property_readonly("level", [](const JournalAlarm& a) { return level_of(a.level); })
        .def_property_readonly("first_raised", [](const JournalAlarm& a) { return datetime_of(a.first_raised); })
        .def_property_readonly("last_raised", [](const JournalAlarm& a) { return datetime_of(a.last_raised); })
        .def_readonly("times_raised", &JournalAlarm::times_raised)
        .def_readonly("acknowledged", &JournalAlarm::acknowledged)
        .def_property_readonly("shelved_until", [](const JournalAlarm& a) { return datetime_of(a.shelved_until); })
        .def("__repr__", [](const JournalAlarm& a) { return "<JournalAlarm " + a.station + " " + a.code + ">"; });
}

void bind_options(py::module_& m)
{
    py::class_<JournalOptions> options(m, "JournalOptions", "How a journal writes and prunes; times as timedelta.");
    options.def(py::init([](const py::kwargs& fields) { return from_fields<JournalOptions>(fields); }))
        .def_readwrite("batch_time", &JournalOptions::batch_time)
        .def_readwrite("max_age", &JournalOptions::max_age)
        .def_readwrite("max_bytes", &JournalOptions::max_bytes)
        .def_readwrite("prune_every", &JournalOptions::prune_every);
}

void bind_figures(py::module_& m)
{
    py::class_<JournalFigures> figures(m, "JournalFigures", "Figures of alarm management over a span of time.");
    py::class_<JournalFigures::Flood>(figures, "Flood")
        .def_property_readonly("start", [](const JournalFigures::Flood& f) { return datetime_of(f.start); })
        .def_property_readonly("end", [](const JournalFigures::Flood& f) { return datetime_of(f.end); })
        .def_readonly("raises", &JournalFigures::Flood::raises);
    py::class_<JournalFigures::AlarmCount>(figures, "AlarmCount")
        .def_readonly("station", &JournalFigures::AlarmCount::station)
        .def_readonly("code", &JournalFigures::AlarmCount::code)
        .def_readonly("raises", &JournalFigures::AlarmCount::raises)
        .def("__eq__", [](const JournalFigures::AlarmCount& a, const JournalFigures::AlarmCount& b) { return a == b; })
        .def("__repr__", [](const JournalFigures::AlarmCount& a) {
            return "<AlarmCount " + a.station + " " + a.code + " " + std::to_string(a.raises) + ">";
        });
    figures.def_property_readonly("from_", [](const JournalFigures& f) { return datetime_of(f.from); })
        .def_property_readonly("to", [](const JournalFigures& f) { return datetime_of(f.to); })
        .def_readonly("per_10_minutes", &JournalFigures::per_10_minutes)
        .def_readonly("floods", &JournalFigures::floods)
        .def_readonly("chattering", &JournalFigures::chattering)
        .def_readonly("most_frequent", &JournalFigures::most_frequent)
        .def_readonly("acknowledged", &JournalFigures::acknowledged)
        .def_readonly("acknowledge_mean", &JournalFigures::acknowledge_mean)
        .def_readonly("acknowledge_median", &JournalFigures::acknowledge_median)
        .def_readonly("acknowledge_max", &JournalFigures::acknowledge_max);
    m.def("figures_of", [](const std::vector<JournalEntry>& entries, py::handle from, py::handle to) {
        const Time f = time_of(from), t = time_of(to);
        py::gil_scoped_release unlocked;
        return figures_of(entries, f, t);
    }, py::arg("entries"), py::arg("from_"), py::arg("to"), "The figures of entries (in time order) between from_ and to.");
    m.def("journal_figures", [](const AlarmJournal& journal, py::handle from, py::handle to) {
        const Time f = time_of(from), t = time_of(to);
        py::gil_scoped_release unlocked;
        return journal_figures(journal, f, t);
    }, py::arg("journal"), py::arg("from_"), py::arg("to"), "The figures of journal's entries between from_ and to.");
}

void bind_journal_class(py::module_& m)
{
    py::class_<AlarmJournal, std::shared_ptr<AlarmJournal>>(
        m, "AlarmJournal",
        "Every history row and alarm change of a dashboard, in an SQLite database. Any thread; "
        "writing never waits for the disk, reading and flushing release the GIL.")
        .def(py::init([](const std::string& path, std::optional<JournalOptions> options) {
                 py::gil_scoped_release unlocked;
                 return std::shared_ptr<AlarmJournal>(new AlarmJournal(path, options.value_or(JournalOptions{})),
                                                      DeleteWithoutGil{});
             }),
             py::arg("path"), py::arg("options") = py::none())
        .def_property_readonly("path", &AlarmJournal::path)
        .def("problem", &AlarmJournal::problem, "\"\" while the journal works; else what went wrong.")
        .def("on_problem", [](AlarmJournal& self, py::object call) {
            PyCallable callable(std::move(call));
            self.on_problem([callable](const std::string& problem) { callable.call(problem); });
        }, py::arg("call"), "call(problem) runs once, on the journal's thread, when a problem arises later.")
        .def("append", &AlarmJournal::append, py::arg("entry"), release())
        .def("flush", &AlarmJournal::flush, release())
        .def("prune", &AlarmJournal::prune, release())
        .def("query", [](const AlarmJournal& self, std::optional<JournalQuery> query, const py::kwargs& fields) {
                 if (query && !fields.empty())
                     throw py::type_error("query() takes a JournalQuery or its fields, not both");
                 JournalQuery q = query ? *query : from_fields<JournalQuery>(fields);
                 py::gil_scoped_release unlocked;
                 return self.query(q);
             },
             py::arg("query") = py::none(), "query(JournalQuery) or query(station=..., limit=..., ...)")
        .def("last_history", &AlarmJournal::last_history, py::arg("rows"), release())
        .def("active", &AlarmJournal::active, release())
        .def("export_csv", [](const AlarmJournal& self, const std::string& path, std::optional<JournalQuery> query) {
                 JournalQuery q = query.value_or(JournalQuery{});
                 py::gil_scoped_release unlocked;
                 return self.export_csv(q, path);
             },
             py::arg("path"), py::arg("query") = py::none(), "False when the file cannot be written.");
}

}  // namespace

void bind_journal(py::module_& m)
{
    bind_entry(m);
    bind_options(m);
    bind_figures(m);
    bind_journal_class(m);
}

}  // namespace ovk_python
