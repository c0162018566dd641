#pragma once

#include "platform/ForegroundProgram.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

// The program in front, reported on the GUI thread to the parts of the scenario page that ask
// for it: the follower, and "Выбрать окно", which takes the next program brought to the front.
// The platform takes one receiver for the process, shared here. A program counts once it
// stayed in front kSettleMs: one flashing up on the way to another (the taskbar, Alt+Tab, a
// launcher) is not reported. The program's own windows are not reported, and one coming to
// the front ends the wait for the program before.
class ForegroundWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 300;

    explicit ForegroundWatch(QObject* parent = nullptr);
    ~ForegroundWatch() override;

    // The reports run while at least one user wants them; a user destroyed wants them no more.
    void want(const QObject* user, bool wanted);

    // While a pick is pending, the next program that stays in front and has a name goes to
    // programPicked alone, which ends the pick: the follower does not switch for the program
    // the user shows to have it listed. False ends the pick.
    void pick(bool pending);
    bool picking() const { return m_picking; }

signals:
    void programInFront(const platform::ForegroundProgram& program);
    void programPicked(const QString& name);

private:
    void report(const platform::ForegroundProgram& program);
    void onSettled();

    QSet<const QObject*> m_users;
    bool m_picking = false;
    QTimer m_settle;
    platform::ForegroundProgram m_pending;
};
