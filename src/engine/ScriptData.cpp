#include "ScriptData.h"

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
    ShortcutRegistry& registry = ShortcutRegistry::instance();
    if (hotkey.trimmed().isEmpty()) {
        registry.release(this);
        if (shortcut)
            shortcut->unsetShortcut();
        return true;
    }

    if (!shortcut)
        shortcut = new QGlobalShortcut(this);
    connect(shortcut, &QGlobalShortcut::activated, this, &ScriptData::scriptSlot,
            Qt::UniqueConnection);
    const QKeySequence previous = shortcut->keySequence();
    const QKeySequence sequence = QKeySequence::fromString(hotkey, QKeySequence::NativeText);

    QString holder;
    if (!registry.claim(this, sequence, ownerDescription(), &holder)) {
        hotkeyState = 1;
        hotkeyError = holder;
        if (error)
            *error = hotkeyError;
        return false;
    }
    if (!shortcut->setShortcut(sequence)) {
        hotkeyState = 2;
        hotkeyError = shortcut->errorText();
        registry.release(this);
        if (previous.isEmpty()) {
            shortcut->unsetShortcut();
        } else if (registry.claim(this, previous, ownerDescription()) &&
                   !shortcut->setShortcut(previous)) {
            registry.release(this); // not held after all: free for the other owners
        }
        if (error)
            *error = hotkeyError;
        return false;
    }
    return true;
}

void ScriptData::unregisterHotkey()
{
    if (shortcut) {
        disconnect(shortcut, &QGlobalShortcut::activated, this, &ScriptData::scriptSlot);
        shortcut->unsetShortcut();
    }
    ShortcutRegistry::instance().release(this);
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
