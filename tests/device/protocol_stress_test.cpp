#include <gtest/gtest.h>

#include <thread>

#include "tests/device/simulated_device.h"

namespace {

bool IsMemory(const LoggedReport& r, MemoryOp op)
{
    return r.direction == ReportDirection::SetFeature && r.bytes[1] == 0x18 && r.bytes[2] == static_cast<uint8_t>(op);
}

// Walks the mouse's log and fails on the first report that is not where a whole run would put it.
void ExpectEveryRunWhole(const std::vector<LoggedReport>& log)
{
    std::size_t i = 0;
    auto at = [&](std::size_t k) -> const LoggedReport& { return log.at(k); };
    auto address = [](const LoggedReport& r) { return r.bytes[4] | (r.bytes[5] << 8); };
    while (i < log.size()) {
        const LoggedReport& first = at(i);
        SCOPED_TRACE("log entry " + std::to_string(i));
        if (IsMemory(first, MemoryOp::WriteByte)) {
            const int n = first.bytes[7] + 1;
            const int runAddress = address(first);
            for (int k = 0; k < n; ++k) {
                ASSERT_TRUE(IsMemory(at(i + k), MemoryOp::WriteByte));
                ASSERT_EQ(at(i + k).bytes[3], k);
                ASSERT_EQ(address(at(i + k)), runAddress);
                ASSERT_EQ(at(i + k).bytes[7], n - 1);
            }
            i += n;
            if (IsMemory(at(i), MemoryOp::CommitRun)) {  // a write
                ASSERT_EQ(address(at(i)), runAddress);
                ASSERT_TRUE(IsMemory(at(i + 1), MemoryOp::End));
                ASSERT_EQ(address(at(i + 1)), runAddress);
                i += 2;
                continue;
            }
            // A read: zeros ended without commit, then request and reply per byte, then End at 0.
            ASSERT_TRUE(IsMemory(at(i), MemoryOp::End));
            ++i;
            for (int k = 0; k < n; ++k) {
                ASSERT_TRUE(IsMemory(at(i), MemoryOp::ReadByte));
                ASSERT_EQ(at(i).bytes[3], k);
                ASSERT_EQ(at(i + 1).direction, ReportDirection::GetFeature);
                i += 2;
            }
            ASSERT_TRUE(IsMemory(at(i), MemoryOp::End));
            ASSERT_EQ(address(at(i)), 0);
            ++i;
        } else if (IsMemory(first, MemoryOp::ApplyAll)) {
            ASSERT_TRUE(IsMemory(at(i + 1), MemoryOp::End));
            i += 2;
        } else {
            // Single reports and status requests stand alone.
            const bool single = first.direction == ReportDirection::GetFeature || first.bytes[1] == 0x11 || first.bytes[1] == 0x17;
            ASSERT_TRUE(single);
            ++i;
        }
    }
}

Bytes Pattern(int seed, int count)
{
    Bytes data(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) data[static_cast<std::size_t>(k)] = static_cast<uint8_t>(seed * 7 + k * 13 + 1);
    return data;
}

}  // namespace

TEST(ProtocolStressTest, ThreadsSendingAtOnceNeverSplitARun)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    constexpr int kRuns = 300;

    // The user-interface thread's apply: writes, a read-back now and then, the finishing command.
    std::thread apply([] {
        for (int k = 0; k < kRuns; ++k) {
            WriteDeviceMemory(0x1000 + 8 * k, Pattern(k, 1 + k % 8));
            if (k % 50 == 0) {
                uint8_t back[3];
                ReadDeviceMemory(0x1000, back);
            }
        }
        SendApplyAll();
    });
    // A device thread: a step download of its own runs, fire keys, media keys and status reads.
    std::thread deviceThread([] {
        for (int k = 0; k < kRuns; ++k) {
            WriteDeviceMemory(0x4000 + 8 * k, Pattern(k + 1000, 8 - k % 8));
            SendFireKey(k % 2 == 0);
            SendConsumerKey(static_cast<uint16_t>(0x00E9 + k % 2));
            if (k % 25 == 0) ReadDeviceStatus();
        }
    });
    apply.join();
    deviceThread.join();

    EXPECT_EQ(mouse.InterruptedRuns(), 0);
    EXPECT_EQ(mouse.CommitsWithoutStaging(), 0);
    EXPECT_EQ(mouse.ApplyCount(), 1);
    EXPECT_EQ(mouse.ConsumerKeys().size(), static_cast<std::size_t>(kRuns));
    ExpectEveryRunWhole(mouse.Log());
    for (int k = 0; k < kRuns; ++k) {
        const Bytes a = Pattern(k, 1 + k % 8), b = Pattern(k + 1000, 8 - k % 8);
        ASSERT_EQ(mouse.MemoryRange(static_cast<uint16_t>(0x1000 + 8 * k), a.size()), a) << k;
        ASSERT_EQ(mouse.MemoryRange(static_cast<uint16_t>(0x4000 + 8 * k), b.size()), b) << k;
    }
}
