#include "app/user_prompts.h"

#include <atomic>

namespace {
class SilentPrompts : public UserPrompts {
public:
    int ShowMessage(const std::u16string&, const std::u16string&, uint32_t) override { return MessageAnswer::Ok; }
};
SilentPrompts g_silentPrompts;
std::atomic<UserPrompts*> g_prompts{nullptr};
}  // namespace

UserPrompts& GetPrompts()
{
    UserPrompts* prompts = g_prompts.load();
    return prompts ? *prompts : g_silentPrompts;
}

void SetPrompts(UserPrompts* prompts) { g_prompts.store(prompts); }
