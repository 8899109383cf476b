# Cross toolchain: Debian's MinGW-w64 for 64-bit Windows, posix threads. A test and demo tree that
# Debian's wine64 runs natively (with threads, fast); the product itself is i686.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
