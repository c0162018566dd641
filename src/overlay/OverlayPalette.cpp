#include "OverlayPalette.h"

#include <span>

namespace {

struct Preset
{
    const char* name;
    QRgb rgb;
};

constexpr Preset kBackgroundPresets[] = {
    {QT_TRANSLATE_NOOP("OverlayPalette", "Глубокий чёрный"), 0x0C0C0C},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Классический тёмный"), 0x171717},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Графитовый"), 0x262626},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Стальной серый"), 0x404853},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Сланцевый синий"), 0x223A5E},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Морская волна"), 0x18524B},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Лесной зелёный"), 0x1C4A33},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Бордовый"), 0x5C1C24},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Шоколадный"), 0x4E3620},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Туманный светлый"), 0xD2D2D2},
};

constexpr Preset kTextPresets[] = {
    {QT_TRANSLATE_NOOP("OverlayPalette", "Ледяной белый"), 0xFFFFFF},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Тёплый белый"), 0xFAF4EA},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Серебристый"), 0xE5E5E5},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Холодный серый"), 0xA3A3A3},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Небесный акцент"), 0x91CDFF},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Лаймовый акцент"), 0xC6FFC6},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Янтарный"), 0xFFD666},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Графитовый"), 0x2D2D2D},
    {QT_TRANSLATE_NOOP("OverlayPalette", "Классический чёрный"), 0x141414},
};

QList<OverlayColorPreset> translated(std::span<const Preset> presets)
{
    QList<OverlayColorPreset> list;
    list.reserve(static_cast<qsizetype>(presets.size()));
    for (const Preset& preset : presets)
        list.append({QCoreApplication::translate("OverlayPalette", preset.name),
                     QColor::fromRgb(preset.rgb)});
    return list;
}

} // namespace

QList<OverlayColorPreset> OverlayPalette::backgroundPresets()
{
    return translated(kBackgroundPresets);
}

QList<OverlayColorPreset> OverlayPalette::textPresets()
{
    return translated(kTextPresets);
}
