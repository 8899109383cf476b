#pragma once
// The apply probe: loads a program folder as the start-up does, runs one apply against a freshly
// powered-on simulated mouse with a fake clock and describes the traffic and the mouse's memory.
//
// Output, one item a line:
//   # ...                           comment lines (the header)
//   07 18 03 00 01 00 02 00         a report the program sent, its bytes in hex
//   read 07 00 00 00 00 00 00 00    a report the program read back from the mouse
//   message LED Error!              a message box the apply showed (UTF-8)
//   memory                          start of the memory dump
//   0008 0D 02 03 04 05 0F 00 0D    every 8-byte row of the mouse's memory that is not all zero:
//                                   its address (4 hex digits) and its 8 bytes
// The folder is only read: what the apply saves stays in memory. Report and memory lines are
// those of sim/simulated_mouse_text.h, which the demo's control channel answers with too.
#include <string>

std::string RunApplyProbe(const std::u16string& programFolder);
