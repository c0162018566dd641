#pragma once

#include <QDateTime>
#include <QString>

// What a line of the journal tells of, as the page filters it.
enum class LogKind {
    Activation,  // a scenario activated or deactivated
    Script,      // the scenario's own OutputLogMessage
    Error,       // a load error or an error inside OnEvent
    RunawayStop, // a scenario stopped by the held combination
    Hotkey,      // a hotkey refused
    Following,   // the follower switched the profile
    Autoclicker, // the autoclicker started or stopped
    Import,      // a profile archive imported or refused
    Program,     // any other line of the program's
};

// One line of the journal: its first line of text, and what is folded under it (a Lua
// traceback), without the leading tab of each line.
struct LogEntry
{
    QDateTime time;
    LogKind kind = LogKind::Program;
    QString scenario; // the scenario whose code was running, by name; empty when none
    QString text;
    QString detail;
};
