// The alarm dashboard and its state handle, usable from any Python thread:
// every call releases the GIL before it touches the dashboard's locks, and
// whatever the dashboard holds of Python (details, the logger) is released
// under the GIL. The Python layer makes the window a logging.Handler.
#include "bindings.h"
#include "callbacks.h"
#include "dashboard_values.h"
#include "wx_class.h"
#include "wxtools/dashboard/big_event_dash_board.h"
#include <pybind11/chrono.h>
#include <pybind11/stl.h>
#include <spdlog/sinks/base_sink.h>
#include <mutex>

namespace ovk_python {

using namespace ovk_wxtools;
namespace level = spdlog::level;

namespace {

// Hands what the dashboard logs to a Python logging.Logger, under the GIL.
class PythonLoggerSink final : public spdlog::sinks::base_sink<spdlog::details::null_mutex> {
public:
    explicit PythonLoggerSink(py::object logger) : logger_(std::move(logger)) {}
    const py::object& logger() const { return logger_.function(); }

protected:
    void sink_it_(const spdlog::details::log_msg& message) override
    {
        py::gil_scoped_acquire gil;
        try {
            logger_.function().attr("log")(python_level(message.level),
                                           py::str(message.payload.data(), message.payload.size()));
        } catch (py::error_already_set& error) {
            error.discard_as_unraisable("ovk_wxtools dashboard logger");
        }
    }
    void flush_() override {}

private:
    PyCallable logger_;
};

AlarmState::Logger spdlog_logger(py::object logger)
{
    if (logger.is_none())
        return nullptr;
    auto forward = std::make_shared<spdlog::logger>("ovk_wxtools.dashboard", std::make_shared<PythonLoggerSink>(logger));
    forward->set_level(level::trace);
    return forward;
}

py::object python_logger(const AlarmState::Logger& logger)
{
    if (!logger || logger->sinks().empty())
        return py::none();
    auto* sink = dynamic_cast<PythonLoggerSink*>(logger->sinks().front().get());
    return sink ? sink->logger() : py::none();
}

py::dict info_of(const ActiveAlarmInfo& alarm)
{
    py::dict info;
    info["code"] = alarm.code.value();
    info["identities"] = alarm.identities;
    const auto* detail = alarm.detail ? std::any_cast<PyCallable>(alarm.detail.get()) : nullptr;
    info["detail"] = detail ? detail->function() : py::none();
    info["level"] = python_level(alarm.level);
    info["first_raised"] = alarm.first_raised;
    info["last_raised"] = alarm.last_raised;
    info["times_raised"] = alarm.times_raised;
    info["acknowledged"] = alarm.acknowledged;
    info["shelved"] = alarm.shelved;
    return info;
}

// The operations the dashboard and its state share, on `state_of(self)`.
template <class Self, class Class, class StateOf>
void def_alarm_api(Class& c, StateOf state_of)
{
    using release = py::gil_scoped_release;
    c.def("alarm", [state_of](Self* self, py::object code, py::object detail, const wxString& identity, int lvl) {
         const AlarmCode c = code_of(code);
         std::any held = PyCallable(std::move(detail));
         auto state = state_of(self);
         release unlocked;
         state->alarm(c, std::move(held), identity, spdlog_level(lvl));
     }, py::arg("code"), py::arg("detail") = py::none(), py::arg("identity") = "", py::arg("level") = 40);
    c.def("fired", [state_of](Self* self, py::object code, std::optional<wxString> identity) {
         const AlarmCode c = code_of(code);
         auto state = state_of(self);
         release unlocked;
         return state->fired(c, identity);
     }, py::arg("code"), py::arg("identity") = py::none());
    c.def("any_fired", [state_of](Self* self) { auto state = state_of(self); release unlocked; return state->any_fired(); });
    c.def("clear", [state_of](Self* self, py::object code, std::optional<wxString> identity) {
         const AlarmCode c = code_of(code);
         auto state = state_of(self);
         release unlocked;
         state->clear(c, identity);
     }, py::arg("code"), py::arg("identity") = py::none());
    c.def("clear_all", [state_of](Self* self) { auto state = state_of(self); release unlocked; state->clear_all(); });
    c.def("update", [state_of](Self* self) { auto state = state_of(self); release unlocked; state->update(); });
    c.def("snapshot", [state_of](Self* self) {
        std::vector<ActiveAlarmInfo> alarms;
        auto state = state_of(self);
        {
            release unlocked;
            alarms = state->snapshot();
        }
        py::list result;
        for (const auto& alarm : alarms)
            result.append(info_of(alarm));
        return result;
    });
    c.def("acknowledge", [state_of](Self* self, py::object code) {
         const AlarmCode c = code_of(code);
         auto state = state_of(self);
         release unlocked;
         return state->acknowledge(c);
     }, py::arg("code"));
    c.def("acknowledge_all", [state_of](Self* self) { auto state = state_of(self); release unlocked; return state->acknowledge_all(); });
    c.def("shelve", [state_of](Self* self, py::object code, double seconds) {
         const AlarmCode c = code_of(code);
         auto state = state_of(self);
         release unlocked;
         return state->shelve(c, std::chrono::milliseconds(static_cast<long long>(seconds * 1000)));
     }, py::arg("code"), py::arg("seconds"));
    // One log record into the history: (levelno, message, created).
    c.def("_emit", [state_of](Self* self, int levelno, const std::string& message, double created) {
         auto state = state_of(self);
         release unlocked;
         return state->emit(LogRecord(spdlog_level(levelno), message, created));
     }, py::arg("levelno"), py::arg("message"), py::arg("created"));
}

}  // namespace

void bind_dashboard(py::module_& m)
{
    py::class_<DashboardOptions>(m, "DashboardOptions", "Extras of the dashboard, each off by default; give them by keyword.")
        .def(py::init([](const py::kwargs& fields) { return from_fields<DashboardOptions>(fields); }))
        .def_readwrite("counts_and_times", &DashboardOptions::counts_and_times)
        .def_readwrite("acknowledge_and_shelve", &DashboardOptions::acknowledge_and_shelve)
        .def_readwrite("history_cap", &DashboardOptions::history_cap)
        .def_readwrite("level_filter", &DashboardOptions::level_filter)
        .def_readwrite("csv_export", &DashboardOptions::csv_export)
        .def_readwrite("keep_view", &DashboardOptions::keep_view)
        .def_readwrite("journal", &DashboardOptions::journal, "An SQLite file (str) keeping every row and change; \"\": none.")
        .def_readwrite("journal_rows", &DashboardOptions::journal_rows)
        .def_readwrite("station", &DashboardOptions::station)
        .def_readwrite("journal_options", &DashboardOptions::journal_options);

    py::class_<AlarmState, std::shared_ptr<AlarmState>> state(
        m, "AlarmState", "The alarms of one dashboard, for other threads; valid after the window has gone.");
    state.def(py::init([](py::object logger) { return std::make_shared<AlarmState>(spdlog_logger(std::move(logger))); }),
              py::arg("logger") = py::none(), "The alarms of a station that shows no window (an AlarmPublisher's, say).");
    def_alarm_api<AlarmState>(state, [](AlarmState* self) { return self; });
    state.def("attached", [](AlarmState& self) { py::gil_scoped_release r; return self.attached(); })
        .def_property("logger", [](AlarmState& self) { return python_logger(self.logger()); },
                      [](AlarmState& self, py::object logger) { self.set_logger(spdlog_logger(std::move(logger))); })
        .def_readonly_static("default_backlog_limit", &AlarmState::default_backlog_limit)
        .def("backlog", &AlarmState::backlog, "Rows waiting for the GUI thread right now.")
        .def_property("backlog_limit", &AlarmState::backlog_limit, &AlarmState::set_backlog_limit,
                      "Rows that may wait before producers other than the GUI thread wait too; at least 1.");

    WxClass<BigEventDashBoard> board(m, "_BigEventDashBoard", "Panel", "The alarm dashboard window.");
    board.init<wxWindow*, py::object, const DashboardOptions&>(
             [](wxWindow* parent, py::object logger, const DashboardOptions& options) {
                 // Python's logging filters by the handler's level; the spdlog sink is not used.
                 return new BigEventDashBoard(parent, spdlog_logger(std::move(logger)), level::trace, options);
             },
             py::arg("parent"), py::arg("logger") = py::none(), py::arg("options") = DashboardOptions())
        .def("state", [](BigEventDashBoard* self) { return self->state(); })
        .def_property("auto_scroll", [](BigEventDashBoard* self) { return self->auto_scroll(); },
                      [](BigEventDashBoard* self, bool on) { self->set_auto_scroll(on); })
        .def_property("logger", [](BigEventDashBoard* self) { return python_logger(self->logger()); },
                      [](BigEventDashBoard* self, py::object logger) { self->set_logger(spdlog_logger(std::move(logger))); })
        .def("set_history_filter", [](BigEventDashBoard* self, int lowest) { self->set_history_filter(spdlog_level(lowest)); },
             py::arg("lowest"))
        .def("export_history_csv", [](BigEventDashBoard* self, const wxString& path) { return self->export_history_csv(path); },
             py::arg("path"))
        .def("options", [](BigEventDashBoard* self) { return self->options(); })
        .def("journal", [](BigEventDashBoard* self) { return python_owned(self->journal()); },
             "The AlarmJournal of options().journal; None without one.")
        .def_static("csv_line", [](const std::vector<std::string>& fields) { return BigEventDashBoard::csv_line(fields); },
                    py::arg("fields"), "One CSV line (quoted where needed) of the fields.")
        .def("alarm_detail", [](BigEventDashBoard* self, int n) -> py::object {
                 // The AlarmDetail client data of list entry n.
                 const auto count = static_cast<int>(self->ui_list_alarm->GetCount());
                 if (n < 0 || n >= count)
                     throw py::index_error("alarm_detail: no list entry " + std::to_string(n));
                 const auto* data = dynamic_cast<AlarmDetail*>(self->ui_list_alarm->GetClientObject(static_cast<unsigned>(n)));
                 const auto* detail = data ? std::any_cast<PyCallable>(&data->detail()) : nullptr;
                 return detail ? detail->function() : py::none();
             },
             py::arg("n"), "The detail the alarm of list entry n was raised with.")
        .def_readonly("ui_list_alarm", &BigEventDashBoard::ui_list_alarm)
        .def_readonly("ui_grid_error_history", &BigEventDashBoard::ui_grid_error_history)
        .def_readonly("ui_acknowledge", &BigEventDashBoard::ui_acknowledge)
        .def_readonly("ui_acknowledge_all", &BigEventDashBoard::ui_acknowledge_all)
        .def_readonly("ui_shelve", &BigEventDashBoard::ui_shelve)
        .def_readonly("ui_shelve_for", &BigEventDashBoard::ui_shelve_for)
        .def_readonly("ui_level_filter", &BigEventDashBoard::ui_level_filter)
        .def_readonly("ui_export_csv", &BigEventDashBoard::ui_export_csv);
    // The window's alarm operations go to its state: the same from any thread.
    def_alarm_api<BigEventDashBoard>(board, [](BigEventDashBoard* self) { return self->state(); });
}

}  // namespace ovk_python
