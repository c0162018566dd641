#pragma once

#include <QObject>
#include <QString>

// One scenario of a profile: its script file, its hotkey, the colour of its row and its
// movement modifiers.
class ScriptData : public QObject
{
    Q_OBJECT

public:
    ScriptData(const QString& path, const QString& hotkey, const QString& borderColor);

    // "сценарий "name"" for messages about who holds a hotkey.
    QString ownerDescription() const;

    QString path;
    QString hotkey; // portable key-sequence text, e.g. "Ctrl+Alt+F1"
    QString borderColor;
    double xy = 1.0;
    double x = 1.0;
    double y = 1.0;
    int rand = 0; // jitter level 0 (off) to 3
    int hotkeyState = 0; // 0 registered or empty, 1 taken inside the program, 2 refused by the OS
    QString hotkeyError;

signals:
    // Asks the model to run this scenario.
    void doScritpt(const QString& path);

public slots:
    void scriptSlot();
};
