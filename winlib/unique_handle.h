#pragma once
// Owner of a kernel handle that is closed with CloseHandle (files, devices, events, threads).
// Both 0 and INVALID_HANDLE_VALUE mean "nothing owned".
#include <windows.h>

#include "winlib/handle_owner.h"

struct KernelHandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
    static bool Owns(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};

using UniqueHandle = HandleOwner<HANDLE, KernelHandleCloser>;
