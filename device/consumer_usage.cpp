#include "device/consumer_usage.h"

const std::array<uint16_t, 11> ConsumerUsageTable{
    0x0223,  // AC Home
    0x0183,  // AL Consumer Control Configuration
    0x018A,  // AL Email Reader
    0x00E9,  // Volume Increment
    0x00EA,  // Volume Decrement
    0x00B6,  // Scan Previous Track
    0x00B5,  // Scan Next Track
    0x00E2,  // Mute
    0x00CD,  // Play/Pause
    0x0192,  // AL Calculator
    0x00B7,  // Stop
};

uint16_t MediaKeyToConsumerUsage(uint8_t index)
{
    return index < ConsumerUsageTable.size() ? ConsumerUsageTable[index] : 0;
}
