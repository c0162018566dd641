#pragma once

#include <QJsonObject>
#include <QKeySequence>
#include <QPoint>

// One autoclicker configuration, as the page shows it and as autoclicker.json and the
// exported profile files keep it (the "settings object").
struct AutoclickerSettings
{
    enum InputType
    {
        Mouse = 0,
        Keyboard = 1,
        NoClicks = 2
    };

    int interval = 100; // ms between the starts of two ticks
    int inputType = NoClicks;
    int button = 1; // Qt::MouseButton: 1 left, 2 right, 4 middle
    int key = 0;    // combined key code of the captured key; 0 for none
    bool useMove = true;
    QPoint move{0, 35};
    bool smooth = true;
    int clickCount = 1; // 0..3; 0 exactly for NoClicks once read from a file or the page
    int mode = 2;       // the run mode: AutoClicker::Mode
    int repeat = 1;     // ticks per run in mode 0; 0 for no end
    int delayRand = 0;  // interval spread level 0..3
    int moveRand = 1;   // movement spread: 0 none, otherwise ±20 %
    QKeySequence hotkey = QKeySequence(QStringLiteral("Alt+C")); // the mode hotkey
    bool enabled = false; // the autoclicker's on/off state as last saved

    // The settings object with all its keys; the hotkey in portable text.
    QJsonObject toJson() const;
    // Reads a settings object over the defaults: a key that is missing or of the wrong type
    // keeps the default, except "inputType", which is always decided (mouse when neither it
    // nor "useMouse" says otherwise). Out-of-range modes, repeats and click counts are
    // brought into range.
    static AutoclickerSettings fromJson(const QJsonObject& object);
};
