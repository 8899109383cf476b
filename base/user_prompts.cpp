#include "base/user_prompts.h"

#include <atomic>

namespace {
class SilentPrompts : public UserPrompts {
public:
    int ShowMessage(const std::u16string&, const std::u16string&, uint32_t) override { return MessageAnswer::Ok; }
};
SilentPrompts g_silentPrompts;
std::atomic<UserPrompts*> g_prompts{nullptr};
thread_local MessageCollector* t_collector = nullptr;

UserPrompts& ProgramPrompts()
{
    UserPrompts* prompts = g_prompts.load();
    return prompts ? *prompts : g_silentPrompts;
}
}  // namespace

UserPrompts& GetPrompts()
{
    if (t_collector) return *t_collector;
    return ProgramPrompts();
}

void SetPrompts(UserPrompts* prompts) { g_prompts.store(prompts); }

MessageCollector::MessageCollector() : previous_(t_collector) { t_collector = this; }

MessageCollector::~MessageCollector() { t_collector = previous_; }

bool CollectedOnThisThread(const std::u16string& text)
{
    for (const MessageCollector* c = t_collector; c != nullptr; c = c->previous_) {
        for (const MessageCollector::Message& m : c->messages_) {
            if (m.text == text) return true;
        }
    }
    return false;
}

int MessageCollector::ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style)
{
    messages_.push_back({text, caption, style});
    return MessageAnswer::Ok;
}

std::optional<std::u16string> MessageCollector::ChooseFile(const FileDialogRequest& request)
{
    return ProgramPrompts().ChooseFile(request);
}

std::optional<uint32_t> MessageCollector::ChooseColour(uint32_t initial) { return ProgramPrompts().ChooseColour(initial); }

void ShowCollected(const std::vector<MessageCollector::Message>& messages)
{
    for (const MessageCollector::Message& m : messages) GetPrompts().ShowMessage(m.text, m.caption, m.style);
}
