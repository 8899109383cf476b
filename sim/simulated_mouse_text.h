#pragma once
// The simulated mouse's memory and report log as text lines, one format for the apply probe and
// the demo's control channel:
//   07 18 03 00 01 00 02 00         a report the program sent, its bytes in hex
//   read 07 00 00 00 00 00 00 00    a status report the program read back
//   input 06 F1 80 00 00 00 00 00   an input report the program read
//   0008 0D 02 03 04 05 0F 00 0D    an 8-byte memory row that is not all zero: address, bytes
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/simulated_mouse.h"

// Bytes as upper-case hex pairs separated by single blanks.
std::string HexBytes(std::span<const uint8_t> bytes);

// One log entry, without a line end.
std::string ReportLogLine(const LoggedReport& entry);

// Every non-zero 8-byte row of the mouse's memory, one a line, each ending in '\n'.
std::string MemoryRowsText(const SimulatedMouse& mouse);
