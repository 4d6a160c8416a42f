#pragma once
// A real mosquitto broker on a free loopback port, started for a test and
// killed after it, or with it when the test dies. stop() and start() again
// keep the port.
#include "tests/dashboard/child_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace ovk_wxtest {

class MqttBroker {
public:
    MqttBroker() : port_(free_port())
    {
        config_ = "/tmp/ovk_mosquitto_" + std::to_string(getpid()) + "_" + std::to_string(port_) + ".conf";
        {
            std::ofstream config(config_);
            config << "listener " << port_ << " 127.0.0.1\nallow_anonymous true\nlog_dest none\n";
            // A broker started as root changes to its own user, and a change
            // of user clears the signal that ends it with the test.
            if (geteuid() == 0)
                config << "user root\n";
        }
        start();
    }
    ~MqttBroker()
    {
        stop();
        std::remove(config_.c_str());
    }

    int port() const { return port_; }
    pid_t pid() const { return pid_; }

    // True once the broker takes connections.
    bool start()
    {
        const char* given = std::getenv("OVK_MOSQUITTO");
        const std::string program = given && *given ? given : "/usr/sbin/mosquitto";
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            die_with_parent(parent);
            // Should the broker outlive the test after all, it must not hold
            // the test's output open, or the test runner waits on it for good.
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            close_range(3, ~0U, 0);
            execl(program.c_str(), "mosquitto", "-c", config_.c_str(), nullptr);
            _exit(127);
        }
        for (int i = 0; i < 500; ++i) {
            if (accepts())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    void stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static int free_port()
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
    bool accepts() const
    {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(static_cast<std::uint16_t>(port_));
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
        close(fd);
        return ok;
    }

    int port_;
    std::string config_;
    pid_t pid_ = -1;
};

}  // namespace ovk_wxtest
