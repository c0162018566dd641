#pragma once

#include <QList>
#include <QString>

// One scenario as the overlay lists it.
struct OverlayScenarioEntry
{
    QString name;   // the display name of the scenario
    QString hotkey; // its hotkey in native text, may be empty
    bool hasFile = false;

    bool operator==(const OverlayScenarioEntry&) const = default;
};

// What the autoclicker is doing: off, armed and waiting for its hotkey or buttons, or
// clicking.
enum class AutoclickerActivity
{
    Off,
    Armed,
    Clicking
};

// What the pages tell the overlay. The overlay is fed, never asked: the scenario list page
// pushes the profile's scenarios, the active scenario and the deactivation hotkey, the
// autoclicker its state and hotkeys. Tests install a feed of their own to read the pushes.
class OverlayFeed
{
public:
    virtual ~OverlayFeed() = default;

    virtual void setScenarios(const QString& profileName,
                              const QList<OverlayScenarioEntry>& entries) = 0;
    virtual void setActiveScenario(const QString& name) = 0;
    virtual void setDisableHotkey(const QString& text) = 0;
    virtual void setAutoclickerState(const QString& name, AutoclickerActivity activity) = 0;
    virtual void setAutoclickerHotkeys(const QString& toggleText, const QString& modeText) = 0;
    // The macro recorder's state ("● Запись"), shown above everything else; empty while it
    // does not record.
    virtual void setRecording(const QString& text) = 0;
    // A notice for the user ("game.exe запущена от имени администратора…"), shown above
    // everything else like the recorder's state; empty when there is none.
    virtual void setNotice(const QString& text) = 0;

    // The feed the pages push into.
    static OverlayFeed& current();
    // Installs a feed the caller keeps alive; nullptr returns to the default.
    static void setCurrent(OverlayFeed* feed);
};
