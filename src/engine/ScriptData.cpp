#include "ScriptData.h"

#include "hotkeys/HotkeyAssignment.h"
#include "hotkeys/QGlobalShortcut.h"
#include "hotkeys/ShortcutRegistry.h"

#include <QFileInfo>
#include <QKeySequence>

ScriptData::ScriptData(const QString& path, const QString& hotkey, const QString& borderColor)
    : path(path), hotkey(hotkey), borderColor(borderColor)
{
}

ScriptData::~ScriptData()
{
    unregisterHotkey();
    delete shortcut;
}

bool ScriptData::registerHotkey(QString* error)
{
    hotkeyState = 0;
    hotkeyError.clear();
    if (hotkey.trimmed().isEmpty()) {
        ShortcutRegistry::instance().release(this);
        if (shortcut)
            shortcut->unsetShortcut();
        return true;
    }

    if (!shortcut)
        shortcut = new QGlobalShortcut(this);
    connect(shortcut, &QGlobalShortcut::activated, this, &ScriptData::scriptSlot,
            Qt::UniqueConnection);
    const HotkeyAssignment result = HotkeyAssignment::apply(
        *shortcut, this, ownerDescription(),
        QKeySequence::fromString(hotkey, QKeySequence::NativeText));
    if (result.succeeded())
        return true;
    hotkeyState = result.status();
    hotkeyError = result.detail();
    if (error)
        *error = hotkeyError;
    return false;
}

void ScriptData::unregisterHotkey()
{
    if (shortcut) {
        disconnect(shortcut, &QGlobalShortcut::activated, this, &ScriptData::scriptSlot);
        shortcut->unsetShortcut();
    }
    ShortcutRegistry::instance().release(this);
}

void ScriptData::setModifiers(const MovementModifiers& modifiers)
{
    xy = modifiers.xy;
    x = modifiers.x;
    y = modifiers.y;
    rand = modifiers.rand;
}

QString ScriptData::ownerDescription() const
{
    const QFileInfo file(path);
    QString name = file.completeBaseName();
    if (name.isEmpty())
        name = file.fileName();
    if (name.isEmpty())
        return tr("Сценарий");
    return tr("сценарий \"%1\"").arg(name);
}

void ScriptData::scriptSlot()
{
    emit doScritpt(path);
}
