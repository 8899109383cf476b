#include "ui/pages/led_mode_names.h"

#include <array>

#include "settings/settings_state.h"

namespace {
constexpr std::array<const char16_t*, kLedTypeCount> kLedTypesEn = {
    u"Breathing", u"Cycle breath", u"Constantly", u"Flow water", u"Single water",
    u"Comet tail", u"Neon", u"Ambilight", u"Button response", u"Mute"};
constexpr std::array<const char16_t*, kLedTypeCount> kLedTypesEs = {
    u"Respiración", u"Respiración en ciclo", u"Color constante", u"Flujo de agua", u"Flujo simple",
    u"Cola de cometa", u"Neon", u"Arco Iris", u"Respuesta de botón", u"Mute"};
constexpr std::array<const char16_t*, 9> kLightModesEn = {
    u"Breathing", u"Constantly", u"Comet tail", u"Neon", u"Ambilight",
    u"Cycle breath", u"Flow water", u"Comet tail", u"Single water"};
constexpr std::array<const char16_t*, 9> kLightModesEs = {
    u"Respiración", u"Color constante", u"Flujo simple", u"Neon", u" Arco Iris",
    u"Respiración en ciclo", u"Flujo de agua", u"Cola de cometa", u"Flujo simple"};
}  // namespace

void FillLedModeNames()
{
    std::lock_guard lock(g_settingsMutex);
    const bool english = g_languageEnglish != 0;
    for (size_t i = 0; i < g_ledTypeNames.size(); ++i) g_ledTypeNames[i] = english ? kLedTypesEn[i] : kLedTypesEs[i];
    for (size_t i = 0; i < g_lightModeNames.size(); ++i)
        g_lightModeNames[i] = english ? kLightModesEn[i] : kLightModesEs[i];
}
