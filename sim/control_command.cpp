#include "sim/control_command.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "sim/simulated_mouse_text.h"

const char kControlHelp[] =
    "help                 this list\n"
    "memory               the mouse's memory: every non-zero 8-byte row, AAAA b0 .. b7\n"
    "mark                 answers mark N, N the length of the report log now\n"
    "log [N]              the report log from entry N on (default: the last mark)\n"
    "status I HH ..       status reply bytes from index I (1..) on, in hex\n"
    "input HH ..          queue an input report, in hex\n"
    "press K              press mouse button K (device slot 1..9)\n"
    "release K            release mouse button K\n"
    "profile P            switch to profile P (1..4) on the mouse\n"
    "step up|down         the mouse's macro step up or down\n"
    "unplug               pull the mouse out (removal broadcasts)\n"
    "plug                 plug it in again (arrival broadcasts)\n"
    "silent on|off        the mouse refuses (on) or answers (off) every feature report\n"
    "power                post a power broadcast to the main window\n"
    "quit                 end the program\n";

namespace {

constexpr std::size_t kMaxReportBytes = 64;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::optional<unsigned> Number(std::string_view word, int base, unsigned max)
{
    unsigned value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || error != std::errc{} || stop != end || value > max) return std::nullopt;
    return value;
}

// Hex bytes, one a word; nullopt when a word is not one byte or there are none or too many.
std::optional<std::vector<uint8_t>> HexWords(std::span<const std::string_view> words)
{
    if (words.empty() || words.size() > kMaxReportBytes) return std::nullopt;
    std::vector<uint8_t> bytes;
    for (std::string_view word : words) {
        if (word.size() > 2) return std::nullopt;
        const std::optional<unsigned> byte = Number(word, 16, 0xFF);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(*byte));
    }
    return bytes;
}

std::string Ok(std::string body = {}) { return body + "ok\n"; }
std::string Error(std::string_view reason) { return "error " + std::string(reason) + "\n"; }

}  // namespace

std::vector<ControlLine> ControlLineReader::Feed(std::span<const char> bytes)
{
    std::vector<ControlLine> lines;
    for (char c : bytes) {
        if (c == '\n') {
            if (skipping_) {
                lines.push_back({{}, true});
            } else {
                if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
                lines.push_back({std::move(pending_), false});
            }
            pending_.clear();
            skipping_ = false;
        } else if (!skipping_) {
            if (pending_.size() == kMaxLength) {
                pending_.clear();
                skipping_ = true;
            } else {
                pending_ += c;
            }
        }
    }
    return lines;
}

std::string ControlSession::Run(std::string_view line)
{
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) return Error("empty command");
    const std::string_view command = words[0];
    const std::span<const std::string_view> args = std::span(words).subspan(1);
    auto argCount = [&](std::size_t count) { return args.size() == count; };

    if (command == "help" && argCount(0)) return Ok(kControlHelp);
    if (command == "memory" && argCount(0)) return Ok(MemoryRowsText(mouse_));
    if (command == "mark" && argCount(0)) {
        mark_ = mouse_.Log().size();
        return Ok("mark " + std::to_string(mark_) + "\n");
    }
    if (command == "log" && args.size() <= 1) {
        std::size_t from = mark_;
        if (argCount(1)) {
            const std::optional<unsigned> n = Number(args[0], 10, UINT32_MAX);
            if (!n) return Error("log wants an entry number");
            from = *n;
        }
        const std::vector<LoggedReport> log = mouse_.Log();
        std::string out;
        for (std::size_t i = from; i < log.size(); ++i) out += ReportLogLine(log[i]) + "\n";
        return Ok(out);
    }
    if (command == "status" && args.size() >= 2) {
        const std::optional<unsigned> first = Number(args[0], 10, 255);
        const std::optional<std::vector<uint8_t>> bytes = HexWords(args.subspan(1));
        if (!first || *first == 0 || !bytes || *first + bytes->size() > 256) return Error("status wants an index 1..255 and hex bytes");
        mouse_.SetStatusBytes(*first, *bytes);
        return Ok();
    }
    if (command == "input" && !args.empty()) {
        const std::optional<std::vector<uint8_t>> bytes = HexWords(args);
        if (!bytes) return Error("input wants 1 to 64 hex bytes");
        mouse_.QueueInputReport(*bytes);
        return Ok();
    }
    if ((command == "press" || command == "release") && argCount(1)) {
        const std::optional<unsigned> k = Number(args[0], 10, SimulatedMouse::kButtons);
        if (!k || *k == 0) return Error("button wants a slot 1..9");
        const int button = static_cast<int>(*k) - 1;
        const bool done = command == "press" ? mouse_.PressButton(button) : mouse_.ReleaseButton(button);
        return done ? Ok() : Error("mouse unplugged");
    }
    if (command == "profile" && argCount(1)) {
        const std::optional<unsigned> p = Number(args[0], 10, 4);
        if (!p || *p == 0) return Error("profile wants 1..4");
        return mouse_.SwitchProfile(static_cast<int>(*p) - 1) ? Ok() : Error("mouse unplugged");
    }
    if (command == "step" && argCount(1) && (args[0] == "up" || args[0] == "down")) {
        return mouse_.StepMacro(args[0] == "up") ? Ok() : Error("mouse unplugged");
    }
    if (command == "unplug" && argCount(0)) {
        mouse_.Unplug();
        return Ok();
    }
    if (command == "plug" && argCount(0)) {
        mouse_.PlugIn();
        return Ok();
    }
    if (command == "silent" && argCount(1) && (args[0] == "on" || args[0] == "off")) {
        mouse_.SetSilent(args[0] == "on");
        return Ok();
    }
    if (command == "power" && argCount(0)) return host_.PostPowerBroadcast() ? Ok() : Error("no main window");
    if (command == "quit" && argCount(0)) {
        quit_ = true;
        return Ok();
    }
    constexpr std::string_view kCommands[] = {"help",    "memory",  "mark",    "log",  "status", "input", "press",
                                              "release", "profile", "step",    "unplug", "plug",  "silent", "power", "quit"};
    bool known = false;
    for (std::string_view name : kCommands) known = known || name == command;
    return Error(known ? "wrong arguments for " + std::string(command) : "unknown command " + std::string(command));
}
