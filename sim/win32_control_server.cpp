#include "sim/win32_control_server.h"

#include <ws2tcpip.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kMainWindowTitle[] = L"AMorvek Quorvel Gaming Mouse";
// How often a waiting thread looks at the stop flag.
constexpr long kPollMicroseconds = 200'000;

bool SendAll(SOCKET socket, const std::string& text)
{
    std::size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(socket, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool Win32ControlServer::WindowHost::PostPowerBroadcast()
{
    HWND window = FindWindowW(nullptr, kMainWindowTitle);
    return window && PostMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
}

std::unique_ptr<Win32ControlServer> Win32ControlServer::StartFromEnvironment(SimulatedMouse& mouse)
{
    const char* value = std::getenv("KESTRA_CONTROL_PORT");
    if (!value || !*value) return nullptr;
    char* end = nullptr;
    const long port = std::strtol(value, &end, 10);
    if (*end != '\0' || port <= 0 || port > 65535) {
        OutputDebugStringA("KESTRA_CONTROL_PORT names no port\n");
        return nullptr;
    }
    // The session's start-up lives in the server; a listener made before it would not work.
    auto server = std::make_unique<Win32ControlServer>(mouse, UniqueSocket{});
    if (!server->winsock_.Started()) return nullptr;
    UniqueSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!listener || bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener.Get(), 4) != 0) {
        OutputDebugStringA("control channel: the port cannot be bound\n");
        return nullptr;
    }
    server->listener_ = std::move(listener);
    server->thread_ = std::thread([s = server.get()] { s->Serve(); });
    return server;
}

Win32ControlServer::Win32ControlServer(SimulatedMouse& mouse, UniqueSocket listener)
    : session_(mouse, host_), listener_(std::move(listener))
{
}

Win32ControlServer::~Win32ControlServer()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool Win32ControlServer::WaitReadable(SOCKET socket)
{
    while (!stop_) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket, &readable);
        timeval timeout{0, kPollMicroseconds};
        const int ready = select(0, &readable, nullptr, nullptr, &timeout);
        if (ready < 0) return false;
        if (ready > 0) return true;
    }
    return false;
}

void Win32ControlServer::Serve()
{
    while (WaitReadable(listener_.Get())) {
        UniqueSocket peer(accept(listener_.Get(), nullptr, nullptr));
        if (peer) ServePeer(std::move(peer));
    }
}

void Win32ControlServer::ServePeer(UniqueSocket peer)
{
    ControlLineReader reader;
    char buffer[512];
    while (WaitReadable(peer.Get())) {
        const int n = recv(peer.Get(), buffer, sizeof buffer, 0);
        if (n <= 0) return;
        for (const ControlLine& line : reader.Feed(std::span<const char>(buffer, static_cast<std::size_t>(n)))) {
            const std::string answer = line.tooLong ? std::string("error line too long\n") : session_.Run(line.text);
            if (!SendAll(peer.Get(), answer)) return;
            if (session_.QuitRequested()) {
                shutdown(peer.Get(), SD_SEND);
                EndProgram();
                return;
            }
        }
    }
}

// As a person would: the main window is closed (the exit command goes to the mouse). With no
// main window (a message box before it), the process ends.
void Win32ControlServer::EndProgram()
{
    if (HWND window = FindWindowW(nullptr, kMainWindowTitle)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        ExitProcess(0);
    }
}
