#pragma once
// HID consumer-page usages of the media keys, as the mouse sends them for a media-key button.
#include <array>
#include <cstdint>

// Index = media-key assignment - 22; index 10 is reached only through the descriptor of code 32.
extern const std::array<uint16_t, 11> ConsumerUsageTable;

// The usage of a media-key index, 0 outside the table.
uint16_t MediaKeyToConsumerUsage(uint8_t index);
