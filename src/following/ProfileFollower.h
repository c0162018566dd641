#pragma once

#include "platform/ForegroundProgram.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

class FollowedPage;

// Makes the profile that lists the program in front current on the scenario page, and the
// profile that was current before when the user leaves the program. A program counts once it
// stayed in front a while (ForegroundWatch), the program's own windows count for nothing, and
// a switch waits while a mouse button is held, at most kHeldButtonWaitMs, so that the leaving
// scenario can release what it pressed (one that holds a button itself lets go of it as the
// switch deactivates it). A profile the user picks by hand stays until the next program
// change. Following is turned on and off by the page's setting too (setEnabled); the page's
// profile switches and activations reach it through onProfileChanged and
// onScenarioActivationChanged.
//
// A scenario active in a profile that following leaves is activated again, as its hotkey
// would, when following brings that profile back; unless meanwhile the user activated or
// deactivated a scenario, switched the profile by hand, or the scenario's row went away.
class ProfileFollower : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRetryMs = 15;
    static constexpr int kHeldButtonWaitMs = 2000;

    ProfileFollower(FollowedPage& page, QObject* parent);

    // Following on or off; off, the page is left on whatever profile it shows.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // The page made another profile current, by the user's hand or following's.
    void onProfileChanged();
    // A scenario was activated or deactivated on the page.
    void onScenarioActivationChanged();

private:
    // The scenario that was active in a profile following left.
    struct LeftScenario
    {
        int row = -1;
        QString file;
    };

    void onProgramInFront(const platform::ForegroundProgram& program);
    // Switches for the program in front once no mouse button is held and the page is free.
    void switchWhenFree();
    bool switchTo(qsizetype index);

    FollowedPage& m_page;
    bool m_enabled = false;
    QTimer m_retry;
    QElapsedTimer m_heldSince; // the first try that found a button held, for this switch
    platform::ForegroundProgram m_inFront;
    // The profile chosen for the program in front (empty when none), and the one to return to.
    QString m_followedName;
    QString m_returnName;
    // By profile name, the scenarios to activate again when following returns to a profile.
    QHash<QString, LeftScenario> m_leftActive;
    bool m_switching = false;
};
