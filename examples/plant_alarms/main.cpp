// Alarms of a whole plant: two stations raise and clear alarms, each with its
// own dashboard and journal, and publish them to an MQTT broker; a control
// room shows every station's alarms and history, journals them with their
// station and acknowledges through the broker.
//
//   plant_alarms                       starts a mosquitto broker on a free
//                                      loopback port, two stations and the
//                                      control room (all end with it)
//   plant_alarms --port P --station N  one station
//   plant_alarms --port P              the control room alone
#include <wxtools/wxtools.h>

#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/timer.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace ovk_wxtools;

namespace {

MqttOptions at_port(int port)
{
    MqttOptions options;
    options.port = port;
    options.prefix = "plant";
    return options;
}

// Window managers place a new window where they like: move it once it shows.
void place(wxFrame* frame, wxPoint at)
{
    auto* once = new wxTimer(frame);
    frame->Bind(wxEVT_TIMER, [frame, at](wxTimerEvent&) { frame->Move(at); }, once->GetId());
    once->StartOnce(500);
}

// A machine that raises and clears its alarms now and then, shows them on a
// dashboard of its own and publishes them.
class StationFrame : public wxFrame {
public:
    StationFrame(const std::string& name, int port, int index)
        : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Station " + name), wxPoint(0, index * 360), wxSize(430, 340)),
          random_(static_cast<unsigned>(index + 1))
    {
        DashboardOptions options;
        options.counts_and_times = true;
        options.acknowledge_and_shelve = true;
        options.journal = "plant_alarms_station_" + std::to_string(index + 1) + ".db";
        options.station = name;
        board_ = new BigEventDashBoard(this, nullptr, spdlog::level::info, options);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(board_, 1, wxEXPAND);
        SetSizer(sizer);
        publisher_ = std::make_unique<AlarmPublisher>(board_->state(), name, at_port(port));
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { step(); });
        timer_.Start(700 + 300 * index);
        place(this, wxPoint(0, index * 380));
    }

private:
    void step()
    {
        static const char* const codes[] = {"温度高 Over temperature", "Door open", "冷却水流量低 Coolant flow low",
                                            "Vacuum low", "急停 Emergency stop"};
        const AlarmCode code(codes[random_() % std::size(codes)]);
        if (board_->fired(code) && random_() % 2 == 0)
            board_->clear(code);
        else
            board_->alarm(code, {}, wxString::FromUTF8("sensor " + std::to_string(random_() % 4 + 1)),
                          random_() % 3 == 0 ? spdlog::level::critical : spdlog::level::err);
    }

    BigEventDashBoard* board_;
    std::unique_ptr<AlarmPublisher> publisher_;
    wxTimer timer_;
    std::minstd_rand random_;
};

class ControlRoomFrame : public wxFrame {
public:
    explicit ControlRoomFrame(int port)
        : wxFrame(nullptr, wxID_ANY, wxS("Control room"), wxPoint(440, 0), wxSize(840, 740))
    {
        PlantDashboardOptions options;
        options.mqtt = at_port(port);
        options.journal = "plant_alarms_control_room.db";
        auto* room = new PlantDashboard(this, options);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(room, 1, wxEXPAND);
        SetSizer(sizer);
        place(this, wxPoint(440, 0));
    }
};

int free_port()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
    socklen_t size = sizeof at;
    getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size);
    close(fd);
    return ntohs(at.sin_port);
}

pid_t spawn(const std::vector<std::string>& args)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);  // they go with the control room, however it ends
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// The broker and the stations, ended with the control room even when it is
// ended by a signal (the broker gives up its user on start, and with it the
// parent-death signal).
pid_t children[3] = {-1, -1, -1};

void end_children()
{
    for (int i = 2; i >= 0; --i)
        if (children[i] > 0) {
            kill(children[i], SIGTERM);
            waitpid(children[i], nullptr, 0);
            children[i] = -1;
        }
}

// The whole plant on this machine: a broker, two stations, the control room.
int run_plant()
{
    const int port = free_port();
    const std::string config = "/tmp/plant_alarms_" + std::to_string(getpid()) + ".conf";
    std::ofstream(config) << "listener " << port << " 127.0.0.1\nallow_anonymous true\nlog_dest none\n";
    const std::string broker = access("/usr/sbin/mosquitto", X_OK) == 0 ? "/usr/sbin/mosquitto" : "mosquitto";
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        signal(sig, [](int) {
            end_children();
            _exit(1);
        });
    children[0] = spawn({broker, "-c", config});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::string exe = std::string("/proc/") + std::to_string(getpid()) + "/exe";
    const char* names[] = {"工位1 Press", "工位2 Oven"};
    for (int i = 0; i < 2; ++i)
        children[i + 1] = spawn({exe, "--port", std::to_string(port), "--station", names[i], std::to_string(i)});
    run_wxapp<ControlRoomFrame>(port);
    end_children();
    std::remove(config.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--port") == 0) {
        const int port = std::atoi(argv[2]);
        if (argc >= 5 && std::strcmp(argv[3], "--station") == 0)
            run_wxapp<StationFrame>(std::string(argv[4]), port, argc >= 6 ? std::atoi(argv[5]) : 0);
        else
            run_wxapp<ControlRoomFrame>(port);
        return 0;
    }
    return run_plant();
}
