// The mouse's handling of report 7: staged runs, commit, end, read requests, apply and the other
// commands.
#include "sim/simulated_mouse.h"

#include <algorithm>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "device/device_event_threads.h"
#include "device/device_ids.h"
#include "device/device_memory_map.h"

void SimulatedMouse::InterruptRun()
{
    ++interruptedRuns_;
    run_ = RunKind::None;
    stagedSet_.fill(false);
}

void SimulatedMouse::HandleCommand(std::span<const uint8_t> report)
{
    auto command = static_cast<DeviceCommand>(report[1]);
    if (command == DeviceCommand::MemoryAccess) {
        HandleMemoryAccess(report);
        return;
    }
    if (run_ != RunKind::None) InterruptRun();
    switch (command) {
    case DeviceCommand::FireKey:
        fireKeyActive_ = report[2] == kFireKeyStart;
        break;
    case DeviceCommand::ConsumerKey:
        consumerKeys_.push_back(static_cast<uint16_t>((report[2] << 8) | report[3]));
        break;
    case DeviceCommand::DriverExit:
        ++exitCount_;
        break;
    default:
        break;
    }
}

void SimulatedMouse::HandleMemoryAccess(std::span<const uint8_t> report)
{
    const auto op = static_cast<MemoryOp>(report[2]);
    const uint8_t index = report[3];
    const auto address = static_cast<uint16_t>(report[4] | (report[5] << 8));
    const uint8_t data = report[6];
    const uint8_t lengthByte = report[7];
    const bool sameRun = address == runAddress_ && lengthByte == runLengthByte_;

    auto openRun = [&](RunKind kind) {
        if (run_ != RunKind::None && (run_ != kind || !sameRun)) InterruptRun();
        if (run_ == RunKind::None) {
            run_ = kind;
            runAddress_ = address;
            runLengthByte_ = lengthByte;
            stagedSet_.fill(false);
        }
    };

    switch (op) {
    case MemoryOp::WriteByte:
        openRun(RunKind::Write);
        if (index <= lengthByte && index < staged_.size()) {
            staged_[index] = data;
            stagedSet_[index] = true;
        }
        break;
    case MemoryOp::CommitRun:
        if (run_ == RunKind::Write && sameRun) {
            for (std::size_t i = 0; i <= lengthByte && i < staged_.size(); ++i) {
                if (stagedSet_[i]) memory_[(address + i) & 0xFFFF] = staged_[i];
            }
        } else {
            if (run_ != RunKind::None) InterruptRun();
            ++commitsWithoutStaging_;
        }
        break;
    case MemoryOp::ReadByte:
        openRun(RunKind::Read);
        if (index <= lengthByte) replyByte_ = memory_[(address + index) & 0xFFFF];
        break;
    case MemoryOp::End:
        run_ = RunKind::None;
        stagedSet_.fill(false);
        break;
    case MemoryOp::ApplyAll:
        if (run_ != RunKind::None) InterruptRun();
        ++applyCount_;
        TakeUpMemory();
        break;
    default:
        if (run_ != RunKind::None) InterruptRun();
        break;
    }
}

void SimulatedMouse::TakeUpMemory()
{
    activeProfile_ = (memory_[DeviceMemoryMap::ProfileByte] >> 5) & 3;
    dpiLevel_ = memory_[DeviceMemoryMap::DpiLevelByte] & 7;
}
