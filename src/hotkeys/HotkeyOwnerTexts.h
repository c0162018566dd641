#pragma once

#include <QCoreApplication>
#include <QString>

// How the program's own hotkey owners are named to the user when one of them already holds a
// combination another wants ("Горячая клавиша Alt+X уже используется: отключение сценария.").
// Scenarios name themselves (ScriptData::ownerDescription).
class HotkeyOwnerTexts
{
    Q_DECLARE_TR_FUNCTIONS(HotkeyOwnerTexts)

public:
    static QString scenarioDeactivation() { return tr("отключение сценария"); }
    static QString autoclickerToggle() { return tr("переключение автокликера"); }
    // An autoclicker profile's hotkey; without a profile name, the autoclicker as such.
    static QString autoclickerProfile(const QString& profileName)
    {
        return profileName.isEmpty() ? tr("автокликер") : tr("автокликер \"%1\"").arg(profileName);
    }
    static QString overlayToggle() { return tr("переключение оверлея"); }
};
