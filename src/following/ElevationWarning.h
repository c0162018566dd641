#pragma once

#include "platform/ForegroundProgram.h"

#include <QObject>
#include <QSet>
#include <QString>

class ForegroundWatch;

// Tells the user when the program a scenario would play in runs with the administrator's
// rights and Clavitor does not: the system then drops the input Clavitor sends it and keeps
// its mouse from the hook, so the scenario shows as active and does nothing. Asked when
// following hears of a program in front and when a scenario is activated (by its hotkey, or
// by following), it tells once per program name in a run: in the log, and on the overlay for
// kNoticeMs. The program's own windows are never in question.
class ElevationWarning : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNoticeMs = 10000;

    ElevationWarning(ForegroundWatch& watch, QObject* parent);

    // Tells of the program, unless it needs no telling or was told of already.
    void check(const platform::ForegroundProgram& program);
    // A scenario was activated (true) or deactivated: the program in front is checked.
    void onScenarioActivationChanged(bool active);

private:
    QSet<QString> m_told; // program names, lower case: Windows' names ignore case
};
