#include <gtest/gtest.h>

#include <string>

#include "sim/control_command.h"
#include "tests/device/simulated_device.h"

namespace {

class CountingHost : public ControlHost {
public:
    bool PostPowerBroadcast() override
    {
        ++powerBroadcasts;
        return hasWindow;
    }
    int powerBroadcasts = 0;
    bool hasWindow = true;
};

}  // namespace

TEST(ControlCommandTest, ASessionDrivesAndReadsTheMouse)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    CountingHost host;
    ControlSession session(mouse, host);

    EXPECT_EQ(session.Run("memory"), "ok\n");
    EXPECT_EQ(session.Run("mark"), "mark 0\nok\n");
    ASSERT_TRUE(WriteDeviceMemory(0x0008, std::array<uint8_t, 2>{0x0D, 0x02}));
    EXPECT_EQ(session.Run("memory"), "0008 0D 02 00 00 00 00 00 00\nok\n");
    const std::string log = session.Run("log");
    EXPECT_EQ(log.substr(0, 24), "07 18 03 00 08 00 0D 01\n");
    EXPECT_EQ(log.substr(log.size() - 3), "ok\n");
    EXPECT_EQ(session.Run("mark"), "mark " + std::to_string(mouse.Log().size()) + "\nok\n");
    EXPECT_EQ(session.Run("log"), "ok\n");

    EXPECT_EQ(session.Run("  status 6\t08 \r"), "ok\n");
    ASSERT_TRUE(ReadDeviceStatus().has_value());
    EXPECT_EQ(session.Run("log"), "read 07 00 00 00 00 00 08 00\nok\n");
    EXPECT_EQ(session.Run("log 1000"), "ok\n");
    EXPECT_EQ(mouse.ActiveProfile(), 2);

    EXPECT_EQ(session.Run("input 06 f3 80"), "ok\n");
    EXPECT_EQ(session.Run("press 1"), "ok\n");
    EXPECT_EQ(session.Run("release 1"), "ok\n");
    EXPECT_EQ(session.Run("step down"), "ok\n");
    EXPECT_EQ(session.Run("profile 4"), "ok\n");
    EXPECT_EQ(mouse.ActiveProfile(), 3);
    EXPECT_EQ(mouse.PendingInputReports(), 5u);

    EXPECT_EQ(session.Run("silent on"), "ok\n");
    EXPECT_FALSE(ReadDeviceStatus().has_value());
    EXPECT_FALSE(WriteDeviceMemory(0x0008, std::array<uint8_t, 1>{0x01}));
    EXPECT_EQ(session.Run("silent off"), "ok\n");
    EXPECT_TRUE(ReadDeviceStatus().has_value());

    EXPECT_EQ(session.Run("unplug"), "ok\n");
    EXPECT_FALSE(mouse.IsPluggedIn());
    EXPECT_EQ(session.Run("press 2"), "error mouse unplugged\n");
    EXPECT_EQ(session.Run("plug"), "ok\n");
    const std::vector<DeviceChangeNotice> notices = mouse.Notifications();
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.front().change, DeviceChange::RemoveComplete);
    EXPECT_EQ(notices.back().change, DeviceChange::Arrival);
    EXPECT_EQ(notices.front().window, SimulatedDevice::kWindow);

    EXPECT_EQ(session.Run("power"), "ok\n");
    host.hasWindow = false;
    EXPECT_EQ(session.Run("power"), "error no main window\n");
    EXPECT_EQ(host.powerBroadcasts, 2);
    EXPECT_FALSE(session.QuitRequested());
    EXPECT_EQ(session.Run("quit"), "ok\n");
    EXPECT_TRUE(session.QuitRequested());
}

TEST(ControlCommandTest, BadCommandsAreAnsweredWithTheirReason)
{
    SimulatedMouse mouse;
    CountingHost host;
    ControlSession session(mouse, host);
    const std::pair<const char*, const char*> cases[] = {
        {"", "error empty command\n"},
        {"   ", "error empty command\n"},
        {"fly", "error unknown command fly\n"},
        {"memory 1", "error wrong arguments for memory\n"},
        {"log x", "error log wants an entry number\n"},
        {"log -1", "error log wants an entry number\n"},
        {"status 0 01", "error status wants an index 1..255 and hex bytes\n"},
        {"status 255 01 02", "error status wants an index 1..255 and hex bytes\n"},
        {"status 6 100", "error status wants an index 1..255 and hex bytes\n"},
        {"status 6", "error wrong arguments for status\n"},
        {"input 06 g1", "error input wants 1 to 64 hex bytes\n"},
        {"input", "error wrong arguments for input\n"},
        {"press 0", "error button wants a slot 1..9\n"},
        {"press 10", "error button wants a slot 1..9\n"},
        {"release +1", "error button wants a slot 1..9\n"},
        {"profile 5", "error profile wants 1..4\n"},
        {"step sideways", "error wrong arguments for step\n"},
        {"quit now", "error wrong arguments for quit\n"},
    };
    for (const auto& [line, answer] : cases) EXPECT_EQ(session.Run(line), answer) << line;
    std::string input = "input";
    for (int i = 0; i < 65; ++i) input += " 01";
    EXPECT_EQ(session.Run(input), "error input wants 1 to 64 hex bytes\n");
    EXPECT_EQ(mouse.PendingInputReports(), 0u);
    EXPECT_FALSE(session.QuitRequested());
    EXPECT_NE(session.Run("help").find("quit "), std::string::npos);
}

TEST(ControlCommandTest, TheReaderSplitsLinesAndDropsOverlongOnes)
{
    ControlLineReader reader;
    const std::string first = "mem";
    EXPECT_TRUE(reader.Feed(first).empty());
    const std::string rest = "ory\r\n\nlog 2\n" + std::string(ControlLineReader::kMaxLength + 1, 'x');
    const std::vector<ControlLine> lines = reader.Feed(rest);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "memory");
    EXPECT_EQ(lines[1].text, "");
    EXPECT_EQ(lines[2].text, "log 2");
    const std::string end = "yyy\nquit\n" + std::string(ControlLineReader::kMaxLength, 'z') + "\n";
    const std::vector<ControlLine> more = reader.Feed(end);
    ASSERT_EQ(more.size(), 3u);
    EXPECT_TRUE(more[0].tooLong);
    EXPECT_EQ(more[0].text, "");
    EXPECT_EQ(more[1].text, "quit");
    EXPECT_FALSE(more[2].tooLong);
    EXPECT_EQ(more[2].text.size(), ControlLineReader::kMaxLength);
}
