#pragma once
// The demo build's control channel, without the socket: a byte stream split into command lines
// and each line carried out on the simulated mouse. Platform-free, so the host tree tests and
// fuzzes it; the Win32 server only moves bytes (sim/win32_control_server.h).
//
// One command a line (blanks separate words, a carriage return before the line end is dropped);
// one answer block a command, its last line "ok" or "error <reason>". The commands are listed in
// kControlHelp and described in the README.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_mouse.h"

// What the channel asks of the program around the mouse.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    // Posts a power broadcast to the main window; false when there is none.
    virtual bool PostPowerBroadcast() = 0;
};

struct ControlLine {
    std::string text;
    bool tooLong = false;  // the text is empty: the line passed kMaxLength and was dropped
};

// Splits received bytes into lines. A line longer than kMaxLength is dropped up to its end and
// reported once, so a peer cannot make the reader hold unbounded text.
class ControlLineReader {
public:
    static constexpr std::size_t kMaxLength = 1024;

    // The lines completed by these bytes, in order.
    std::vector<ControlLine> Feed(std::span<const char> bytes);

private:
    std::string pending_;
    bool skipping_ = false;
};

extern const char kControlHelp[];

class ControlSession {
public:
    ControlSession(SimulatedMouse& mouse, ControlHost& host) : mouse_(mouse), host_(host) {}

    // Carries out one command line; returns its answer block, every line ending in '\n'.
    std::string Run(std::string_view line);
    // Set once "quit" was answered: the server sends the answer, then ends the program.
    bool QuitRequested() const { return quit_; }

private:
    SimulatedMouse& mouse_;
    ControlHost& host_;
    std::size_t mark_ = 0;
    bool quit_ = false;
};
