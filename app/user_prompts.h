#pragma once
// Message boxes (and, as the window grows, the file and colour dialogs) go through this seam:
// the program shows them on its main window, tests answer them and read what was shown.
#include <cstdint>
#include <string>

// Message box styles and answers, with the values of the Win32 constants of the same meaning.
namespace MessageStyle {
constexpr uint32_t Ok = 0x00000000;
constexpr uint32_t OkCancel = 0x00000001;
constexpr uint32_t YesNo = 0x00000004;
constexpr uint32_t IconError = 0x00000010;
constexpr uint32_t IconQuestion = 0x00000020;
constexpr uint32_t IconWarning = 0x00000030;
constexpr uint32_t IconInformation = 0x00000040;
}  // namespace MessageStyle

namespace MessageAnswer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace MessageAnswer

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // An empty caption means the application's name. Returns a MessageAnswer value.
    virtual int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) = 0;
};

// The prompts everything uses. Without one set, messages are dropped and answered Ok
// (a build with no user interface).
UserPrompts& GetPrompts();
void SetPrompts(UserPrompts* prompts);

inline int ShowMessage(const std::u16string& text, uint32_t style = MessageStyle::Ok)
{
    return GetPrompts().ShowMessage(text, u"", style);
}
