// A plant's alarms over an MQTT broker: the station's publisher, the
// control room's subscriber and its window. Their network threads never
// need the GIL except to run a Python callback, and every call that may
// wait for them (making, closing, flushing, reading) releases it.
#include "bindings.h"

#ifndef OVK_NO_MQTT
#include "callbacks.h"
#include "dashboard_values.h"
#include "wx_class.h"
#include "wxtools/dashboard/alarm_publisher.h"
#include "wxtools/dashboard/plant_dashboard.h"
#include <pybind11/chrono.h>
#include <pybind11/stl.h>

namespace ovk_python {

using namespace ovk_wxtools;

namespace {

using release = py::call_guard<py::gil_scoped_release>;

// A publisher or subscriber that Python may close before it is collected
// (close(), or a with block); a closed one raises ValueError, as a closed
// file does. A call running on another thread keeps it until it returns.
// Only threads holding the GIL get or close it.
template <class T>
class Closable {
public:
    explicit Closable(T* object) : object_(object, DeleteWithoutGil{}) {}
    ~Closable() { close(); }
    Closable(const Closable&) = delete;
    Closable& operator=(const Closable&) = delete;

    std::shared_ptr<T> get() const
    {
        std::shared_ptr<T> object = object_;
        if (!object)
            throw py::value_error("the connection is closed");
        return object;
    }
    void close() { object_.reset(); }
    bool closed() const { return !object_; }

private:
    std::shared_ptr<T> object_;
};

template <class T, class Class>
void def_closing(Class& c)
{
    using C = Closable<T>;
    c.def("close", &C::close, "Says goodbye to the broker and stops; waits up to a second for what is unsent.")
        .def_property_readonly("closed", &C::closed)
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__", [](C& self, py::args) { self.close(); });
}

void bind_mqtt_options(py::module_& m)
{
    py::class_<MqttOptions>(m, "MqttOptions", "The broker and how to talk to it; give the fields by keyword.")
        .def(py::init([](const py::kwargs& fields) { return from_fields<MqttOptions>(fields); }))
        .def_readwrite("host", &MqttOptions::host)
        .def_readwrite("port", &MqttOptions::port)
        .def_readwrite("prefix", &MqttOptions::prefix)
        .def_readwrite("keepalive", &MqttOptions::keepalive)
        .def_readwrite("backlog_limit", &MqttOptions::backlog_limit)
        .def_readwrite("gather", &MqttOptions::gather)
        .def_readwrite("reconnect_first", &MqttOptions::reconnect_first)
        .def_readwrite("reconnect_most", &MqttOptions::reconnect_most);
    py::class_<RemoteStation>(m, "RemoteStation", "A station a control room has heard of.")
        .def_readonly("name", &RemoteStation::name)
        .def_readonly("online", &RemoteStation::online)
        .def_readonly("active", &RemoteStation::active)
        .def("__repr__", [](const RemoteStation& s) {
            return "<RemoteStation " + s.name + (s.online ? " online " : " offline ") + std::to_string(s.active) + ">";
        });
    py::class_<PlantDashboardOptions>(m, "PlantDashboardOptions", "What a PlantDashboard connects to and keeps.")
        .def(py::init([](const py::kwargs& fields) { return from_fields<PlantDashboardOptions>(fields); }))
        .def_readwrite("mqtt", &PlantDashboardOptions::mqtt)
        .def_readwrite("journal", &PlantDashboardOptions::journal)
        .def_readwrite("journal_options", &PlantDashboardOptions::journal_options)
        .def_readwrite("history_rows", &PlantDashboardOptions::history_rows);
}

void bind_publisher(py::module_& m)
{
    using P = Closable<AlarmPublisher>;
    py::class_<P> c(m, "AlarmPublisher",
                    "Publishes an AlarmState's alarms to an MQTT broker as a station, until closed.");
    c.def(py::init([](std::shared_ptr<AlarmState> state, std::string station, std::optional<MqttOptions> options) {
              if (!state)
                  throw py::type_error("AlarmPublisher needs an AlarmState");
              py::gil_scoped_release unlocked;
              return std::make_unique<P>(new AlarmPublisher(std::move(state), std::move(station), options.value_or(MqttOptions{})));
          }),
          py::arg("state"), py::arg("station"), py::arg("options") = py::none())
        .def_property_readonly("station", [](P& self) { return self.get()->station(); })
        .def("connected", [](P& self) {
            auto publisher = self.get();
            py::gil_scoped_release unlocked;
            return publisher->connected();
        })
        .def("flush", [](P& self, std::chrono::milliseconds timeout) {
                 auto publisher = self.get();
                 py::gil_scoped_release unlocked;
                 return publisher->flush(timeout);
             },
             py::arg("timeout") = std::chrono::milliseconds(std::chrono::seconds(5)),
             "Waits until every change so far has reached the broker; False when the time ran out.")
        .def("dropped", [](P& self) {
            auto publisher = self.get();
            py::gil_scoped_release unlocked;
            return publisher->dropped();
        });
    def_closing<AlarmPublisher>(c);
}

// The subscriber's reading side, shared by AlarmSubscriber and PlantDashboard.
template <class Self, class Class, class Get>
void def_reading(Class& c, Get get)
{
    c.def("connected", [get](Self* self) {
         auto subscriber = get(self);
         py::gil_scoped_release unlocked;
         return subscriber->connected();
     })
        .def("stations", [get](Self* self) {
            auto subscriber = get(self);
            py::gil_scoped_release unlocked;
            return subscriber->stations();
        }, "The stations heard of, by name.")
        .def("alarms", [get](Self* self) {
            auto subscriber = get(self);
            py::gil_scoped_release unlocked;
            return subscriber->alarms();
        }, "Every station's active alarms (JournalAlarm), by station and then as raised.")
        .def("acknowledge", [get](Self* self, const std::string& station, py::handle code) {
            const std::string text = code_of(code).text();
            auto subscriber = get(self);
            py::gil_scoped_release unlocked;
            return subscriber->acknowledge(station, text);
        }, py::arg("station"), py::arg("code"), "Asks station to acknowledge code; False when it cannot be queued.");
}

void bind_subscriber(py::module_& m)
{
    using S = Closable<AlarmSubscriber>;
    py::class_<S> c(m, "AlarmSubscriber", "A control room's view of the stations publishing to a broker, until closed.");
    c.def(py::init([](std::optional<MqttOptions> options, std::shared_ptr<AlarmJournal> journal) {
              py::gil_scoped_release unlocked;
              return std::make_unique<S>(new AlarmSubscriber(options.value_or(MqttOptions{}), std::move(journal)));
          }),
          py::arg("options") = py::none(), py::arg("journal") = py::none());
    def_reading<S>(c, [](S* self) { return self->get(); });
    c.def("take_events", [](S& self) {
         auto subscriber = self.get();
         py::gil_scoped_release unlocked;
         return subscriber->take_events();
     }, "The changes (JournalEntry) received since the last call, oldest first.")
        .def("on_change", [](S& self, py::object call) {
            PyCallable callable(std::move(call));
            auto subscriber = self.get();
            py::gil_scoped_release unlocked;
            subscriber->on_change([callable] { callable.call(); });
        }, py::arg("call"), "call() runs on the subscriber's thread after each change: take note, read later.");
    def_closing<AlarmSubscriber>(c);
}

void bind_plant_dashboard(py::module_& m)
{
    WxClass<PlantDashboard> c(m, "PlantDashboard", "Panel",
                              "The control room's window: every station's alarms and their history.");
    c.init<wxWindow*, std::optional<PlantDashboardOptions>>(
         [](wxWindow* parent, std::optional<PlantDashboardOptions> options) {
             return new PlantDashboard(parent, options.value_or(PlantDashboardOptions{}));
         },
         py::arg("parent"), py::arg("options") = py::none())
        .def("options", [](PlantDashboard* self) { return self->options(); })
        .def("journal", [](PlantDashboard* self) { return python_owned(self->journal()); })
        .def("acknowledge_selected", [](PlantDashboard* self) { return self->acknowledge_selected(); })
        .def("acknowledge_all", [](PlantDashboard* self) { return self->acknowledge_all(); })
        .def_readonly("ui_stations", &PlantDashboard::ui_stations)
        .def_readonly("ui_alarms", &PlantDashboard::ui_alarms)
        .def_readonly("ui_history", &PlantDashboard::ui_history)
        .def_readonly("ui_acknowledge", &PlantDashboard::ui_acknowledge)
        .def_readonly("ui_acknowledge_all", &PlantDashboard::ui_acknowledge_all);
    def_reading<PlantDashboard>(c, [](PlantDashboard* self) { return &self->subscriber(); });
}

}  // namespace

void bind_plant(py::module_& m)
{
    bind_mqtt_options(m);
    bind_publisher(m);
    bind_subscriber(m);
    bind_plant_dashboard(m);
}

}  // namespace ovk_python

#else

void ovk_python::bind_plant(pybind11::module_&) {}

#endif
