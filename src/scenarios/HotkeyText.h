#pragma once

#include <QKeySequence>
#include <QString>

// Hotkeys as the scenario page captures, stores and shows them: native key-sequence text.
namespace HotkeyText {

QKeySequence sequenceOf(const QString& nativeText);

// A stored hotkey as the page shows it: native text, or as stored when it does not parse.
QString shown(const QString& text);

} // namespace HotkeyText
