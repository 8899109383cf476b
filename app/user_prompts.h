#pragma once
// Message boxes (and, as the window grows, the file and colour dialogs) go through this seam:
// the program shows them on its main window, tests answer them and read what was shown.
#include <cstdint>
#include <string>
#include <vector>

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

// Answers of the warning box.
namespace WarningAnswer {
constexpr int GoOn = 1;
constexpr int Cancel = 2;
}  // namespace WarningAnswer

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // An empty caption means the application's name. Returns a MessageAnswer value.
    virtual int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) = 0;
    // The skinned warning box (texts of the warning layout, placed at g_popupPos) before the first
    // profile gives away its last left click. Returns a WarningAnswer value; with no window, go on.
    virtual int ShowWarningBox() { return WarningAnswer::GoOn; }
};

// The prompts everything uses. Without one set, messages are dropped and answered Ok
// (a build with no user interface). While a MessageCollector lives on the calling thread, it is
// that collector.
UserPrompts& GetPrompts();
void SetPrompts(UserPrompts* prompts);

inline int ShowMessage(const std::u16string& text, uint32_t style = MessageStyle::Ok)
{
    return GetPrompts().ShowMessage(text, u"", style);
}

// Keeps the messages its thread shows while it lives (each answered Ok) instead of showing them,
// so that work holding a lock never waits on a modal box; ShowCollected shows them afterwards, in
// order, once the locks are released. Collectors nest; the innermost one collects.
class MessageCollector : public UserPrompts {
public:
    MessageCollector();
    ~MessageCollector() override;
    MessageCollector(const MessageCollector&) = delete;
    MessageCollector& operator=(const MessageCollector&) = delete;

    struct Message {
        std::u16string text;
        std::u16string caption;
        uint32_t style;
    };

    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override;
    const std::vector<Message>& Messages() const { return messages_; }

private:
    MessageCollector* previous_;
    std::vector<Message> messages_;
};

// Shows the messages on the prompts of the calling thread, in order.
void ShowCollected(const std::vector<MessageCollector::Message>& messages);
