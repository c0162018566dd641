#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>

// "light" for the light theme in any of its stored spellings (":/css/Light.css", " light "),
// "default" (the dark theme) for everything else.
QString normalizeTheme(const QString& text);

// "ru", "en", or empty when the text names neither language.
QString normalizeLanguage(const QString& text);

// "ru" when one of the system's interface languages is Russian, else "en".
QString systemLanguage();

// The rule behind systemLanguage() for a given list of language tags.
QString languageFromUiLanguages(const QStringList& uiLanguages);

// The memory bound of a profile's scenarios: 16 MiB to 4 GiB, 256 MiB unless the user sets it.
inline constexpr int kDefaultScriptMemoryLimitMiB = 256;
int clampScriptMemoryLimit(int mib);

// Clamps a speech rate to 1.0 .. 2.0; not-a-number becomes 1.0.
double clampSpeechRate(double rate);

// A stored hotkey: portable key-sequence text, or native text when that gives nothing; chords
// that name no key are left out.
QKeySequence storedHotkey(const QString& text);
