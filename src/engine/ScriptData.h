#pragma once

#include "input/MovementModifiers.h"

#include <QObject>
#include <QString>

class QGlobalShortcut;

// One scenario of a profile: its script file, its hotkey, the colour of its row and its
// movement modifiers. Its hotkey is claimed in the shortcut registry with the scenario as
// owner and registered with the system through its own shortcut.
class ScriptData : public QObject
{
    Q_OBJECT

public:
    ScriptData(const QString& path, const QString& hotkey, const QString& borderColor);
    ~ScriptData() override;

    // Registers hotkey in place of the current registration; an empty hotkey gives the
    // registration up. On failure hotkeyState and hotkeyError (also *error) say why, and the
    // combination registered before stays registered.
    bool registerHotkey(QString* error = nullptr);
    // Gives the hotkey up: unregistered with the system and released in the registry.
    void unregisterHotkey();

    void setModifiers(const MovementModifiers& modifiers);

    // "сценарий "name"" for messages about who holds a hotkey.
    QString ownerDescription() const;

    QString path;
    QString hotkey; // portable key-sequence text, e.g. "Ctrl+Alt+F1"
    QString borderColor;
    QGlobalShortcut* shortcut = nullptr; // a child, created by the first registration
    double xy = 1.0;
    double x = 1.0;
    double y = 1.0;
    int rand = 0;        // jitter level 0 (off) to 3
    int hotkeyState = 0; // 0 registered or empty, 1 taken inside the program, 2 refused by the OS
    QString hotkeyError;

signals:
    // Asks the model to run this scenario.
    void doScritpt(const QString& path);

public slots:
    void scriptSlot();
};
