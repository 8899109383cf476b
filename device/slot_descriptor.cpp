#include "device/slot_descriptor.h"

std::array<uint8_t, 8> SlotDescriptor::Encode() const
{
    return {
        0x09,
        static_cast<uint8_t>((entryCount & 0x7F) | (playMode2 ? 0x80 : 0)),
        keyUsage,
        static_cast<uint8_t>(consumerUsage & 0xFF),
        static_cast<uint8_t>(consumerUsage >> 8),
        static_cast<uint8_t>(streamAddress & 0xFF),
        static_cast<uint8_t>(((streamAddress >> 8) & 0x3F) | (loopBit2 ? 0x40 : 0) | (loopMode1 ? 0x80 : 0)),
        static_cast<uint8_t>(((entryCount >> 7) & 0x3F) | (cpiFlag ? 0x40 : 0)),
    };
}

void SetLoopFlags(SlotDescriptor& descriptor, uint8_t loopMode)
{
    const uint8_t mode = loopMode & 3;
    descriptor.playMode2 = mode == 2;
    descriptor.loopMode1 = mode == 1;
    descriptor.loopBit2 = mode != 2 && mode != 1 && (loopMode & 0x04) != 0;
}
