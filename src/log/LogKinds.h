#pragma once

#include "LogEntry.h"

#include <QList>
#include <QLatin1StringView>
#include <QString>
#include <QtGlobal>

#include <optional>

// The kinds of journal line: which of the program's log categories feeds which kind, and the
// kind's names.
class LogKinds
{
public:
    // Every kind, in the order the page offers them.
    static const QList<LogKind>& all();
    // The kind of a message of the category, or nothing for a message the journal does not
    // keep (Qt's own, and the per-record input lines, which would drown the rest).
    static std::optional<LogKind> kindOf(const char* category, QtMsgType type);
    // The user's name of the kind, translated.
    static QString title(LogKind kind);
    // The kind's fixed token in the log file, never translated.
    static QLatin1StringView token(LogKind kind);
};
