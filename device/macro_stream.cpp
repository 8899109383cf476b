#include "device/macro_stream.h"

#include <algorithm>
#include <span>

#include "device/device_memory_map.h"

namespace {

constexpr uint8_t kPressBit = 0x80;
constexpr uint8_t kFillerUnits = 127;

uint32_t Align8(uint32_t value) { return (value + 7) & ~7u; }

uint32_t EventsOf(const MacroRecord& record)
{
    return std::min<uint32_t>(record.eventCount, kMaxMacroEvents);
}

bool RepeatsOnce(uint8_t loopMode)
{
    const uint8_t mode = loopMode & MacroLoopMode::Mask;
    return mode == MacroLoopMode::Mode1 || mode == MacroLoopMode::Mode2;
}

uint32_t UsedBlocks(uint8_t count) { return std::min<uint32_t>(count, kLightBlockCount); }

uint32_t PlacedLength(const LightBlock& block)
{
    return Align8(4 + 4 * std::min<uint32_t>(block.stepCount, kLightBlockSteps));
}

// The block a light event names, or none when the record has no such block.
const LightBlock* BlockOfLightEvent(const MacroRecord& record, uint32_t event)
{
    const uint32_t index = record.params[event].x & 0xFF;
    if (index >= UsedBlocks(record.lightCount)) return nullptr;
    return &record.lightBlocks[index];
}

// Writes into a fixed buffer and drops whatever would land beyond its end.
class BoundedWriter {
public:
    explicit BoundedWriter(std::span<uint8_t> buffer) : buffer_(buffer) {}
    void Put(uint8_t byte)
    {
        if (position_ < buffer_.size()) buffer_[position_] = byte;
        ++position_;
    }
    void Put16(uint16_t value)
    {
        Put(static_cast<uint8_t>(value & 0xFF));
        Put(static_cast<uint8_t>(value >> 8));
    }
    void PutAt(uint32_t offset, uint8_t byte)
    {
        if (offset < buffer_.size()) buffer_[offset] = byte;
    }

private:
    std::span<uint8_t> buffer_;
    size_t position_ = 0;
};

uint16_t SignedAmount(uint16_t amount, bool negative)
{
    return negative ? static_cast<uint16_t>(0u - amount) : amount;
}

void PutMoveParameters(BoundedWriter& out, uint8_t action, const MacroParam& param)
{
    using namespace MacroEventAction;
    if (action < MoveMinusXMinusY || action > MovePlusXPlusY) return;
    const bool negativeX = action == MoveMinusXMinusY || action == MoveMinusXPlusY;
    const bool negativeY = action == MoveMinusXMinusY || action == MovePlusXMinusY;
    out.Put16(SignedAmount(param.x, negativeX));
    out.Put16(SignedAmount(param.y, negativeY));
}

void PutCpiEntry(BoundedWriter& out, uint8_t units, uint8_t action, const MacroParam& param)
{
    uint8_t head = 0x00;
    if (action == MacroEventAction::SetCpi) head = units | kPressBit;
    else if (action == MacroEventAction::ResetCpi) head = units;
    out.Put(head);
    out.Put(MacroEventCode::Cpi);
    out.Put(static_cast<uint8_t>(param.x & 0xFF));
    out.Put(0x00);
}

// Key, mouse-button and the other plain events: press and release only.
void PutPlainEntry(BoundedWriter& out, uint8_t units, uint8_t action, uint8_t code)
{
    if (action == MacroEventAction::Press) {
        out.Put(units | kPressBit);
        out.Put(code);
    } else if (action == MacroEventAction::Release) {
        out.Put(units);
        out.Put(code);
    }
}

}  // namespace

EventTime EventTimeOf(uint16_t delay, bool lastEvent)
{
    if (lastEvent) return {1, 0};
    uint32_t units = std::min<uint32_t>(delay, 10000) / 10;
    if (units < 1) units = 1;
    uint32_t fillers = 0;
    if (units > kFillerUnits) {
        fillers = (units - 1) / kFillerUnits;
        units -= kFillerUnits * fillers;
    }
    return {static_cast<uint8_t>(units), fillers};
}

uint16_t StreamRepeatCount(const MacroRecord& record, MacroSource source)
{
    if (source == MacroSource::File && RepeatsOnce(record.loopMode)) return 1;
    return record.repeatCount;
}

StreamLayout ComputeStreamLayout(const MacroRecord& record, MacroSource source)
{
    const uint32_t events = EventsOf(record);
    StreamLayout layout;

    uint32_t moves = 0, cpis = 0, lights = 0, lights2 = 0, countF7 = 0, countFA = 0;
    uint32_t placedData = 0;
    uint32_t entries = events;
    for (uint32_t i = 0; i < events; ++i) {
        entries += EventTimeOf(record.delays[i], i + 1 == events).fillers;
        switch (record.codes[i]) {
        case MacroEventCode::Move: ++moves; break;
        case MacroEventCode::Cpi: ++cpis; break;
        case MacroEventCode::CountedF7: ++countF7; break;
        case MacroEventCode::CountedFA: ++countFA; break;
        case MacroEventCode::Light2: ++lights2; break;
        case MacroEventCode::Light:
            ++lights;
            if (const LightBlock* block = BlockOfLightEvent(record, i)) placedData += PlacedLength(*block);
            break;
        default: break;
        }
    }
    if (source == MacroSource::File && events == 0) entries = 3;

    // The counters decide the room as the mouse expects it; events beyond what they say still fit.
    moves = std::max<uint32_t>(moves, record.moveCount);
    cpis = std::max<uint32_t>(cpis, record.cpiCount);
    lights = std::max<uint32_t>(lights, record.lightCount);
    lights2 = std::max<uint32_t>(lights2, record.light2Count);
    countF7 = std::max<uint32_t>(countF7, record.countF7);
    countFA = std::max<uint32_t>(countFA, record.countFA);

    uint32_t blockData = 0;
    for (uint32_t b = 0; b < UsedBlocks(record.lightCount); ++b) blockData += PlacedLength(record.lightBlocks[b]);
    for (uint32_t b = 0; b < UsedBlocks(record.light2Count); ++b) blockData += PlacedLength(record.light2Blocks[b]);

    layout.entryCount = entries;
    layout.eventArea = Align8(2 + 2 * (entries + 2 * moves + cpis + lights + lights2 + countF7 + countFA));
    layout.size = layout.eventArea + std::max(blockData, placedData);
    layout.cpiFlag = events > 0 && record.codes[events - 1] == MacroEventCode::Cpi && RepeatsOnce(record.loopMode);
    return layout;
}

EncodedStream EncodeMacroStream(const MacroRecord& record, MacroSource source, uint32_t streamAddress,
                                uint32_t size)
{
    EncodedStream result;
    result.bytes.assign(size, 0);
    BoundedWriter out(result.bytes);
    out.Put16(StreamRepeatCount(record, source));

    const uint32_t events = EventsOf(record);
    uint32_t dataOffset = ComputeStreamLayout(record, source).eventArea;
    for (uint32_t i = 0; i < events; ++i) {
        const EventTime time = EventTimeOf(record.delays[i], i + 1 == events);
        const uint8_t code = record.codes[i];
        const uint8_t action = record.actions[i];
        const MacroParam& param = record.params[i];
        switch (code) {
        case MacroEventCode::Move:
            out.Put(time.units);
            out.Put(code);
            PutMoveParameters(out, action, param);
            break;
        case MacroEventCode::Cpi:
            PutCpiEntry(out, time.units, action, param);
            break;
        case MacroEventCode::Light: {
            const LightBlock* block = BlockOfLightEvent(record, i);
            if (!block) {
                result.messages.push_back(StreamMessage::NoLightBlock);
                break;
            }
            uint8_t mode = 0;
            if (action >= MacroEventAction::LightMode0 && action <= MacroEventAction::LightMode2) {
                mode = static_cast<uint8_t>(action - MacroEventAction::LightMode0);
            } else {
                result.messages.push_back(StreamMessage::BadLightAction);
            }
            const uint32_t lightAddress = streamAddress + dataOffset;
            out.Put(time.units);
            out.Put(code);
            out.Put(static_cast<uint8_t>(lightAddress & 0xFF));
            out.Put(static_cast<uint8_t>(((lightAddress >> 8) & 0x3F) | (mode << 6)));

            const uint32_t steps = std::min<uint32_t>(block->stepCount, kLightBlockSteps);
            out.PutAt(dataOffset, static_cast<uint8_t>(block->stepCount - 1));
            for (uint32_t k = 0; k < 3; ++k) out.PutAt(dataOffset + 1 + k, block->reserved[k]);
            for (uint32_t s = 0; s < steps; ++s) {
                const LightStep& step = block->steps[s];
                const uint32_t at = dataOffset + 4 + 4 * s;
                out.PutAt(at, step.mode);
                out.PutAt(at + 1, step.colour);
                out.PutAt(at + 2, step.time);
                out.PutAt(at + 3, step.reserved);
            }
            dataOffset += PlacedLength(*block);
            if (streamAddress + dataOffset - 1 > DeviceMemoryMap::LightDataLimit) {
                result.messages.push_back(StreamMessage::LightPastLimit);
                result.stopApply = true;
                return result;
            }
            break;
        }
        case MacroEventCode::Delay:
            out.Put(time.units);
            out.Put(code);
            break;
        default:
            PutPlainEntry(out, time.units, action, code);
            break;
        }
        for (uint32_t f = 0; f < time.fillers; ++f) {
            out.Put(0x7F);
            out.Put(0x00);
        }
    }
    return result;
}

std::vector<uint8_t> EncodeStepStream(MacroRecord& record, bool up, uint32_t size)
{
    std::vector<uint8_t> bytes(size, 0);
    BoundedWriter out(bytes);
    out.Put16(StreamRepeatCount(record, MacroSource::File));

    const uint32_t events = EventsOf(record);
    for (uint32_t i = 0; i < events; ++i) {
        const uint8_t units = static_cast<uint8_t>(std::clamp<uint32_t>(record.delays[i] / 10, 1, 127));
        const uint8_t code = record.codes[i];
        const uint8_t action = record.actions[i];
        MacroParam& param = record.params[i];
        if (code == MacroEventCode::Move) {
            out.Put(units);
            out.Put(code);
            if (up && param.y < 30) ++param.y;
            if (!up && param.y > 0) --param.y;
            PutMoveParameters(out, action, param);
        } else if (code == MacroEventCode::Cpi) {
            PutCpiEntry(out, units, action, param);
        } else if (action == MacroEventAction::Press) {
            out.Put(units | kPressBit);
            out.Put(code);
        } else if (code == MacroEventCode::Delay || action == MacroEventAction::Release) {
            out.Put(units);
            out.Put(code);
        }
    }
    return bytes;
}

const char16_t* StreamMessageText(StreamMessage message)
{
    switch (message) {
    case StreamMessage::NoLightBlock: return u"LED:Error!";
    case StreamMessage::BadLightAction: return u"Error!";
    case StreamMessage::LightPastLimit: return u"LED Error!";
    }
    return u"";
}
