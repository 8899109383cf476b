#pragma once
// A Win32 call that fails is recorded with its name and error code, for tests and for whoever
// looks into a misbehaving run; the caller goes on with its own fallback.
#include <cstdint>
#include <string>

struct Win32Failure {
    std::string call;
    uint32_t error = 0;
};

void RecordWin32Failure(const char* call);
// The last failure recorded on any thread (empty call when none).
Win32Failure LastWin32Failure();
void ClearWin32Failure();
