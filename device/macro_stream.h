#pragma once
// A macro as the mouse plays it: sizing and encoding of the byte stream behind a macro slot, and
// the shorter stream the step download sends. Pure functions over a MacroRecord.
//
// A stream is sized before any byte is written, and nothing is ever written beyond that size:
// records read from damaged files (counters that disagree with the events, light events naming
// a missing or the same block twice) get room for what their events actually need.
#include <cstdint>
#include <vector>

#include "macros/macro_record.h"

enum class MacroSource { File, Constant };

struct StreamLayout {
    uint32_t entryCount = 0;  // E: event and filler entries
    uint32_t eventArea = 0;   // D0: 8-aligned, where the light data starts
    uint32_t size = 0;        // multiple of 8
    bool cpiFlag = false;
};

StreamLayout ComputeStreamLayout(const MacroRecord& record, MacroSource source);

// The repeat count at the head of a stream.
uint16_t StreamRepeatCount(const MacroRecord& record, MacroSource source);

// Time byte of an event in 10 ms units, and how many 127-unit filler entries go before it.
struct EventTime {
    uint8_t units = 1;
    uint32_t fillers = 0;
};
EventTime EventTimeOf(uint16_t delay, bool lastEvent);

enum class StreamMessage {
    NoLightBlock,     // "LED:Error!": a light event without a block; written without an entry
    BadLightAction,   // "Error!": a light event with an unknown mode; written with mode 0
    LightPastLimit,   // "LED Error!": light data would end beyond 0x4000; the apply stops
};

struct EncodedStream {
    std::vector<uint8_t> bytes;  // exactly the requested size
    std::vector<StreamMessage> messages;
    bool stopApply = false;      // LightPastLimit: the stream must not be sent
};

// The stream of a macro placed at streamAddress, zero-filled to size.
EncodedStream EncodeMacroStream(const MacroRecord& record, MacroSource source, uint32_t streamAddress,
                                uint32_t size);

// Moves every pointer-move amount Y of the record one step towards 30 (up) or 0 (down) and
// returns the step download's stream, cut at size.
std::vector<uint8_t> EncodeStepStream(MacroRecord& record, bool up, uint32_t size);

// The texts of the messages, as the apply shows them.
const char16_t* StreamMessageText(StreamMessage message);
