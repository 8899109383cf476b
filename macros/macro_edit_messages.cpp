#include "macros/macro_edit_messages.h"

std::u16string MoreThanLimitText(uint32_t language) { return language == 1 ? kMoreThanLimitEn : kMoreThanLimitEs; }

std::u16string MacroEditResultText(MacroEditResult result, uint32_t language)
{
    switch (result) {
    case MacroEditResult::MoreThanLimit: return MoreThanLimitText(language);
    case MacroEditResult::Error: return kEditErrorText;
    default: return {};
    }
}

std::u16string LineEditMessageText(LineEditMessage message, uint32_t language)
{
    switch (message) {
    case LineEditMessage::MoreThanLimit: return MoreThanLimitText(language);
    case LineEditMessage::MoreThanLimitEnglish: return kMoreThanLimitEn;
    default: return kCpiValuesText;
    }
}
