#pragma once

#include "platform/ForegroundProgram.h"

#include <QObject>
#include <QString>
#include <QTimer>

class ScriptsListWidget;

// Makes the profile that lists the program in front current on the scenario page, and the
// profile that was current before when the user leaves the program. A program must stay in
// front for kSettleMs before it counts (one flashing up while another loads switches nothing),
// the program's own windows count for nothing, and a switch waits while a mouse button is
// held, so that the leaving scenario can release what it pressed. A profile the user picks
// by hand stays until the next program change. Following is turned on and off by the page's
// setting too.
class ProfileFollower : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 300;
    static constexpr int kRetryMs = 15;

    explicit ProfileFollower(ScriptsListWidget& page);

    // Following on or off; off, the page is left on whatever profile it shows.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

private:
    void onProgramInFront(const platform::ForegroundProgram& program);
    void onSettled();
    // Switches for the program in front once no mouse button is held and the page is free.
    void switchWhenFree();
    bool switchTo(qsizetype index);
    void onProfileChanged();

    ScriptsListWidget& m_page;
    bool m_enabled = false;
    QTimer m_settle;
    QTimer m_retry;
    platform::ForegroundProgram m_pending;
    platform::ForegroundProgram m_inFront;
    // The profile chosen for the program in front (empty when none), and the one to return to.
    QString m_followedName;
    QString m_returnName;
    bool m_switching = false;
};
