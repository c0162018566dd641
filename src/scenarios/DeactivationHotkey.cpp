#include "DeactivationHotkey.h"

#include "core/SettingsFile.h"
#include "engine/StopCombination.h"
#include "hotkeys/HotkeyAssignment.h"
#include "hotkeys/HotkeyOwnerTexts.h"
#include "overlay/OverlayFeed.h"

DeactivationHotkey::DeactivationHotkey(QObject* parent) : QObject(parent)
{
    m_shortcut.setEnabled(false);
    connect(&m_shortcut, &QGlobalShortcut::activated, this, &DeactivationHotkey::activated);
}

QString DeactivationHotkey::applyStored()
{
    const QKeySequence sequence(loadSettings().deactivationHotkey, QKeySequence::PortableText);
    apply(sequence, nullptr);
    return sequence.toString(QKeySequence::NativeText);
}

bool DeactivationHotkey::change(const QString& nativeText, QWidget* parent)
{
    const QKeySequence sequence = QKeySequence::fromString(nativeText, QKeySequence::NativeText);
    if (!apply(sequence, parent))
        return false;
    AppSettings settings = loadSettings();
    const QString stored = sequence.toString(QKeySequence::PortableText);
    if (settings.deactivationHotkey != stored) {
        settings.deactivationHotkey = stored;
        saveSettings(settings);
    }
    return true;
}

bool DeactivationHotkey::apply(const QKeySequence& sequence, QWidget* reportParent)
{
    const HotkeyAssignment result = HotkeyAssignment::apply(
        m_shortcut, this, HotkeyOwnerTexts::scenarioDeactivation(), sequence);
    // Held down, the combination in effect also stops a script that never returns.
    StopCombination::setKeySequence(m_shortcut.keySequence());
    if (!result.succeeded()) {
        if (reportParent)
            result.report(reportParent);
        return false;
    }
    OverlayFeed::current().setDisableHotkey(sequence.toString(QKeySequence::NativeText));
    return true;
}
