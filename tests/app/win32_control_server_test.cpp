#include <gtest/gtest.h>

#include <ws2tcpip.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/win32_control_server.h"

namespace {
// Where the kernel runs no 32-bit code, Wine runs through qemu-i386 (scripts/enable-i386.sh), and
// there a second thread working beside the first breaks Wine's server channel ("wine client
// error ... Bad address") and ends the whole test program. Wine shows the Linux root as Z:.
bool WineRunsThroughQemu()
{
    std::ifstream binfmt("Z:\\proc\\sys\\fs\\binfmt_misc\\qemu-i386");
    std::string state;
    return binfmt >> state && state == "enabled";
}
}  // namespace

TEST(Win32ControlServerTest, AnswersOnTheLoopbackPortTheEnvironmentNames)
{
    if (WineRunsThroughQemu()) GTEST_SKIP() << "Wine runs through qemu-i386: no second thread";
    SimulatedMouse mouse;
    _putenv_s("KESTRA_CONTROL_PORT", "");
    EXPECT_EQ(Win32ControlServer::StartFromEnvironment(mouse), nullptr);
    constexpr u_short kPort = 47219;
    _putenv_s("KESTRA_CONTROL_PORT", std::to_string(kPort).c_str());
    std::unique_ptr<Win32ControlServer> server = Win32ControlServer::StartFromEnvironment(mouse);
    _putenv_s("KESTRA_CONTROL_PORT", "");
    ASSERT_NE(server, nullptr);

    WinsockSession winsock;
    UniqueSocket peer(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(peer.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const std::string request = "mark\r\nmemory\nbogus\n";
    ASSERT_EQ(send(peer.Get(), request.data(), static_cast<int>(request.size()), 0), static_cast<int>(request.size()));
    std::string answer;
    char buffer[256];
    while (answer.find("error") == std::string::npos || answer.back() != '\n') {
        const int n = recv(peer.Get(), buffer, sizeof buffer, 0);
        if (n <= 0) break;
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(answer, "mark 0\nok\nok\nerror unknown command bogus\n");
}
