#pragma once
// Whether a test program's threads can run in this tree: not where the 32-bit tree runs under an
// emulator (README: a Wine process there dies when two of its threads run).
#include <cstdio>
#include <string_view>

inline bool ThreadsRunHere()
{
#if !defined(_WIN32) || defined(_WIN64)
    return true;
#else
    char state[8] = {};
    FILE* binfmt = std::fopen("Z:\\proc\\sys\\fs\\binfmt_misc\\qemu-i386", "r");
    if (binfmt == nullptr) return true;
    const size_t read = std::fread(state, 1, 7, binfmt);
    std::fclose(binfmt);
    return !(read == 7 && std::string_view(state, 7) == "enabled");
#endif
}
