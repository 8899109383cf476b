#pragma once
// Message boxes (and, as the window grows, the file and colour dialogs) go through this seam:
// the program shows them on its main window, tests answer them and read what was shown.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
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

// What a file-open or file-save dialog is asked with. The filter is written the way the program's
// texts give it ("All Files(*.ini)|*.ini||"); flags are the Win32 OFN_ values.
struct FileDialogRequest {
    bool save = false;
    std::u16string defaultExtension;  // without the dot; empty for none
    std::u16string filter;
    std::u16string initialFolder;
    uint32_t flags = 0;
};

namespace FileDialogFlag {
constexpr uint32_t ReadOnly = 0x00000001;
constexpr uint32_t OverwritePrompt = 0x00000002;
constexpr uint32_t HideReadOnly = 0x00000004;
}  // namespace FileDialogFlag

// The program's two kinds of file dialog: open a file that must exist, save one with a default
// extension and a prompt before overwriting.
inline FileDialogRequest OpenFileRequest(std::u16string filter, std::u16string folder)
{
    return {false, {}, std::move(filter), std::move(folder), FileDialogFlag::ReadOnly | FileDialogFlag::HideReadOnly};
}

inline FileDialogRequest SaveFileRequest(std::u16string filter, std::u16string folder, std::u16string extension)
{
    return {true, std::move(extension), std::move(filter), std::move(folder),
            FileDialogFlag::HideReadOnly | FileDialogFlag::OverwritePrompt};
}

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
    // The chosen file's full path, or nothing when the dialog is cancelled.
    virtual std::optional<std::u16string> ChooseFile(const FileDialogRequest&) { return std::nullopt; }
    // The system's colour dialog, opened on `initial` (0x00BBGGRR); the chosen colour in the same
    // form, or nothing when cancelled.
    virtual std::optional<uint32_t> ChooseColour(uint32_t /*initial*/) { return std::nullopt; }
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
    // Dialogs are not collected: they are the program-wide prompts' to show.
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
    const std::vector<Message>& Messages() const { return messages_; }

private:
    friend bool CollectedOnThisThread(const std::u16string& text);
    MessageCollector* previous_;
    std::vector<Message> messages_;
};

// Shows the messages on the prompts of the calling thread, in order.
void ShowCollected(const std::vector<MessageCollector::Message>& messages);

// Runs `work`, which takes its locks inside, with the messages it shows collected, and shows them
// once it has returned and its locks are released; gives what `work` returns.
template <class Work>
auto ShowMessagesAfter(Work&& work)
{
    std::vector<MessageCollector::Message> messages;
    auto result = [&] {
        MessageCollector collector;
        auto value = work();
        messages = collector.Messages();
        return value;
    }();
    ShowCollected(messages);
    return result;
}

// Whether a collector of the calling thread already holds a message of this text.
bool CollectedOnThisThread(const std::u16string& text);
