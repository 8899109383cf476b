#pragma once
// The "HIDE" switch of the command line. Platform-free.
#include <string_view>

// True when the four characters after the last '-' (the first four when there is no '-') are
// exactly "HIDE".
bool CommandLineAsksHidden(std::u16string_view commandLine);
