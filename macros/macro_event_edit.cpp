#include "macros/macro_event_edit.h"

#include <algorithm>

namespace {
uint8_t BlockIndexOf(const MacroRecord& record, size_t event) { return static_cast<uint8_t>(record.params[event].x & 0xFF); }

void SetBlockIndex(MacroRecord& record, size_t event, uint8_t block)
{
    record.params[event].x = static_cast<uint16_t>((record.params[event].x & 0xFF00) | block);
}

template <typename Counter>
void CountDown(Counter& counter)
{
    if (counter > 0) --counter;
}

// Light events from `first` to `last` (exclusive) whose block indexes are all below `count`.
bool BlockIndexesBelow(const MacroRecord& record, uint8_t code, size_t first, size_t last, uint8_t count)
{
    for (size_t i = first; i < last; ++i)
        if (record.codes[i] == code && BlockIndexOf(record, i) >= count) return false;
    return true;
}

// Gives the new light event at `position` the block after its nearest light event before it, and
// moves the blocks of the later ones one index up. False, with nothing changed, when the indexes
// do not fit the counter.
bool InsertLightBlock(MacroRecord& record, size_t position, size_t count)
{
    uint8_t index = 0;
    for (size_t i = position; i-- > 0;) {
        if (record.codes[i] != MacroEventCode::Light) continue;
        const uint8_t before = BlockIndexOf(record, i);
        index = before == 255 ? 0 : static_cast<uint8_t>(before + 1);
        break;
    }
    if (index > record.lightCount) return false;
    for (size_t i = count; i-- > position + 1;) {
        if (record.codes[i] != MacroEventCode::Light) continue;
        const uint8_t b = BlockIndexOf(record, i);
        SetBlockIndex(record, i, static_cast<uint8_t>(b + 1));
        record.lightBlocks[b + 1] = record.lightBlocks[b];
    }
    record.params[position] = {index, 0};
    record.lightBlocks[index] = LightBlock{};
    record.lightBlocks[index].stepCount = kNewLightBlockSteps;
    ++record.lightCount;
    return true;
}

void DeleteLightBlock(MacroRecord& record, uint8_t code, uint8_t& counter, std::array<LightBlock, kLightBlockCount>& blocks,
                      size_t index, size_t newCount)
{
    CountDown(counter);
    for (size_t i = index + 1; i <= newCount; ++i) {
        if (record.codes[i] != code) continue;
        const uint8_t b = BlockIndexOf(record, i);
        if (b == 0 || b >= kLightBlockCount) continue;  // an index no block stands for stays as it is
        SetBlockIndex(record, i, static_cast<uint8_t>(b - 1));
        blocks[b - 1] = blocks[b];
    }
    if (counter < kLightBlockCount) blocks[counter] = LightBlock{};
}
}  // namespace

MacroEditResult InsertMacroEvent(MacroRecord& record, int32_t position, uint8_t code, uint8_t action)
{
    const size_t count = std::min<size_t>(record.eventCount, kMaxMacroEvents);
    if (count + 1 > kMaxMacroEvents) return MacroEditResult::MoreThanLimit;
    const size_t p = static_cast<size_t>(std::clamp<int64_t>(position, 0, static_cast<int64_t>(count)));
    if ((code == MacroEventCode::Move && record.moveCount >= kMaxMoveEvents) ||
        (code == MacroEventCode::Cpi && record.cpiCount >= kMaxCountedEvents) ||
        (code == MacroEventCode::Light &&
         (record.lightCount >= kLightBlockCount ||
          !BlockIndexesBelow(record, MacroEventCode::Light, p, count, record.lightCount))))
        return MacroEditResult::Error;

    // A light insert may still refuse, so it works on a copy until it knows.
    MacroRecord work = record;
    for (size_t i = count; i > p; --i) work.SetEvent(i, work.Event(i - 1));
    work.eventCount = static_cast<uint16_t>(count + 1);
    work.actions[p] = action;
    work.codes[p] = code;
    work.delays[p] = kNewEventDelay;
    switch (code) {
    case MacroEventCode::Move:
        work.params[p] = {kNewMoveX, kNewMoveY};
        ++work.moveCount;
        break;
    case MacroEventCode::Cpi:
        work.params[p] = {MacroCpiLevel::Cpi800, 0};
        ++work.cpiCount;
        break;
    case MacroEventCode::Light:
        if (!InsertLightBlock(work, p, count + 1)) return MacroEditResult::Error;
        break;
    default:
        break;
    }
    record = work;
    return MacroEditResult::Done;
}

bool DeleteMacroEvent(MacroRecord& record, int32_t index)
{
    const size_t count = std::min<size_t>(record.eventCount, kMaxMacroEvents);
    if (index < 0 || static_cast<size_t>(index) >= count) return false;
    const size_t k = static_cast<size_t>(index);
    const size_t n = count - 1;
    record.eventCount = static_cast<uint16_t>(n);
    switch (record.codes[k]) {
    case MacroEventCode::Move: CountDown(record.moveCount); break;
    case MacroEventCode::CountedF7: CountDown(record.countF7); break;
    case MacroEventCode::Cpi: CountDown(record.cpiCount); break;
    case MacroEventCode::CountedFA: CountDown(record.countFA); break;
    case MacroEventCode::Light:
        DeleteLightBlock(record, MacroEventCode::Light, record.lightCount, record.lightBlocks, k, n);
        break;
    case MacroEventCode::Light2:
        DeleteLightBlock(record, MacroEventCode::Light2, record.light2Count, record.light2Blocks, k, n);
        break;
    default:
        break;
    }
    for (size_t i = k; i < n; ++i) record.SetEvent(i, record.Event(i + 1));
    record.SetEvent(n, {});
    return true;
}

std::u16string_view MacroName(const MacroRecord& record)
{
    const auto end = std::find(record.name.begin(), record.name.end(), u'\0');
    return {record.name.data(), static_cast<size_t>(end - record.name.begin())};
}

size_t FindMacroByName(std::span<const MacroRecord> table, std::u16string_view name)
{
    for (size_t i = 0; i < table.size(); ++i)
        if (MacroName(table[i]) == name) return i;
    return table.size();
}
