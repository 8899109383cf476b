#pragma once
// The demo's control channel on a loopback TCP port (sim/control_command.h holds the protocol).
// It listens only when the environment variable KESTRA_CONTROL_PORT names a port; one peer at a
// time, on a thread of its own, with one session (and so one log mark) for the program's life.
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "sim/control_command.h"
#include "sim/win32_socket.h"

class Win32ControlServer {
public:
    // Null when the variable is not set or names no port; a port that cannot be bound is
    // reported on the debugger output and also gives null.
    static std::unique_ptr<Win32ControlServer> StartFromEnvironment(SimulatedMouse& mouse);

    Win32ControlServer(SimulatedMouse& mouse, UniqueSocket listener);
    ~Win32ControlServer();
    Win32ControlServer(const Win32ControlServer&) = delete;
    Win32ControlServer& operator=(const Win32ControlServer&) = delete;

private:
    class WindowHost : public ControlHost {
    public:
        bool PostPowerBroadcast() override;
    };

    void Serve();
    void ServePeer(UniqueSocket peer);
    bool WaitReadable(SOCKET socket);
    static void EndProgram();

    WinsockSession winsock_;
    WindowHost host_;
    ControlSession session_;
    UniqueSocket listener_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
