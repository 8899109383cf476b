#pragma once
// Sets the user-interface language for one test and puts the previous one back.
#include <cstdint>

#include "settings/settings_state.h"

class LanguageGuard {
public:
    explicit LanguageGuard(uint32_t language) : previous_(g_languageEnglish) { g_languageEnglish = language; }
    ~LanguageGuard() { g_languageEnglish = previous_; }
    LanguageGuard(const LanguageGuard&) = delete;
    LanguageGuard& operator=(const LanguageGuard&) = delete;

private:
    uint32_t previous_;
};
