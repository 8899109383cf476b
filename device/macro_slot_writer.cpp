#include "device/macro_slot_writer.h"

#include <algorithm>
#include <span>

#include "base/user_prompts.h"
#include "device/command_protocol.h"
#include "device/consumer_usage.h"
#include "device/macro_stream.h"
#include "device/slot_descriptor.h"
#include "settings/key_vocabulary.h"
#include "settings/settings_state.h"

namespace {

using namespace DeviceMemoryMap;

// The earlier slot (scan order: every slot of earlier profiles, then the slots before s) with the
// same assignment, or -1. The last one found wins, as the mouse's own tool scans them.
int EarlierSlotWithSameAssignment(int p, int s, bool sameAddress)
{
    const uint32_t v = g_slotAssignments[p][s];
    int found = -1;
    for (int q = 0; q <= p; ++q) {
        const int end = q < p ? SlotsPerProfile : s;
        for (int t = 0; t < end; ++t) {
            if (g_slotAssignments[q][t] != v || !HasSlotDescriptor(g_slotDeviceCodes[q][t])) continue;
            if (sameAddress && g_slotMacroAddress[q][t] != g_slotMacroAddress[p][s]) continue;
            found = q * SlotsPerProfile + t;
        }
    }
    return found;
}

uint8_t KeyUsageOf(int32_t v)
{
    if (v >= 70 && v <= 148) return KeyIndexToHidUsage(static_cast<KeyIndex>(v - 70));
    return 0xFF;
}

uint16_t ConsumerUsageOf(int32_t v)
{
    if (v >= 22 && v <= 32) return MediaKeyToConsumerUsage(static_cast<uint8_t>(v - 22));
    return 0;
}

}  // namespace

void WriteDeviceRuns(uint32_t address, const std::vector<uint8_t>& bytes)
{
    const std::span<const uint8_t> all(bytes);
    for (size_t offset = 0; offset < bytes.size(); offset += BlockSize) {
        const size_t length = std::min<size_t>(BlockSize, bytes.size() - offset);
        WriteDeviceMemory(static_cast<int32_t>(address + offset), all.subspan(offset, length));
    }
}

MacroSlotPlan WriteSlotDescriptors(const MacroFilesAccess& access)
{
    MacroSlotPlan plan;
    uint32_t nextAddress = MacroStreams;
    // Only a file macro on slot 0 gives the step download something to send.
    g_slot0MacroSize = 0;
    for (int p = 0; p < Profiles; ++p) {
        for (int s = 0; s < SlotsPerProfile; ++s) {
            g_slotMacroAddress[p][s] = 0;
            if (!HasSlotDescriptor(g_slotDeviceCodes[p][s])) continue;
            const uint32_t v = g_slotAssignments[p][s];
            const DeviceAssignment assignment = TranslateAssignment(v);

            SlotDescriptor descriptor;
            uint32_t size = 0;
            if (assignment.kind == SlotKind::FileMacro || assignment.kind == SlotKind::ConstantMacro) {
                const bool file = assignment.kind == SlotKind::FileMacro;
                const MacroRecord* record = &g_constMacroTable[assignment.constMacro];
                if (file) {
                    LoadMacroFromFile(access.files, access.layout, access.macroFolder, g_activeMacro, assignment.group,
                                      assignment.macro);
                    record = &g_activeMacro;
                }
                const StreamLayout layout = ComputeStreamLayout(*record, file ? MacroSource::File : MacroSource::Constant);
                size = layout.size;
                descriptor.entryCount = layout.entryCount;
                descriptor.cpiFlag = layout.cpiFlag;
                SetLoopFlags(descriptor, record->loopMode);
                if (file) {
                    if (assignment.group < 10 && assignment.macro < 12)
                        g_fileMacroStreamSize[assignment.group * 12 + assignment.macro] = static_cast<uint16_t>(size);
                    if (static_cast<uint32_t>(p) == g_currentProfile && s == 0) g_slot0MacroSize = size;
                } else {
                    g_constMacroStreamSize[assignment.constMacro] = static_cast<uint16_t>(size);
                }
            }
            plan.streamSize[p][s] = size;

            descriptor.streamAddress = nextAddress;
            descriptor.keyUsage = KeyUsageOf(static_cast<int32_t>(v));
            descriptor.consumerUsage = ConsumerUsageOf(static_cast<int32_t>(v));
            const int earlier = EarlierSlotWithSameAssignment(p, s, false);
            if (earlier >= 0) descriptor.streamAddress = g_slotMacroAddress[earlier / SlotsPerProfile][earlier % SlotsPerProfile];

            g_slotMacroAddress[p][s] = descriptor.streamAddress;
            g_slotKeyUsage[p][s] = descriptor.keyUsage;
            g_slotConsumerUsage[p][s] = descriptor.consumerUsage;
            const auto bytes = descriptor.Encode();
            WriteDeviceMemory(DescriptorAddress(p, s), bytes);
            if (earlier < 0) nextAddress += std::min(size, MaxStreamAdvance);
        }
    }
    return plan;
}

bool WriteMacroStreams(const MacroFilesAccess& access, const MacroSlotPlan& plan)
{
    for (int p = 0; p < Profiles; ++p) {
        for (int s = 0; s < SlotsPerProfile; ++s) {
            const int32_t v = static_cast<int32_t>(g_slotAssignments[p][s]);
            if (v < 32 || v == 40 || !IsMacroSlotCode(g_slotDeviceCodes[p][s])) continue;
            const uint32_t address = g_slotMacroAddress[p][s];
            if (static_cast<uint32_t>(p) == g_currentProfile && s == 0) g_slot0MacroAddress = address;

            const DeviceAssignment assignment = TranslateAssignment(static_cast<uint32_t>(v));
            const bool file = assignment.kind == SlotKind::FileMacro;
            const MacroRecord* record = &g_constMacroTable[assignment.constMacro];
            if (file) {
                // A file macro shared by several slots is written once.
                if (EarlierSlotWithSameAssignment(p, s, true) >= 0) continue;
                LoadMacroFromFile(access.files, access.layout, access.macroFolder, g_activeMacro, assignment.group,
                                  assignment.macro);
                record = &g_activeMacro;
            }
            const EncodedStream stream = EncodeMacroStream(*record, file ? MacroSource::File : MacroSource::Constant,
                                                           address, plan.streamSize[p][s]);
            for (StreamMessage message : stream.messages) ShowMessage(StreamMessageText(message));
            if (stream.stopApply) return false;
            WriteDeviceRuns(address, stream.bytes);
        }
    }
    return true;
}
