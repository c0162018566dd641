#pragma once

#include "LogEntry.h"

#include <QString>

// A journal line as text: for the log file (the date, the kind's fixed token) or for the
// user's clipboard and saved copies (the time and the kind's translated name). Folded lines
// follow, each on a line of its own that starts with a tab.
class LogLineFormat
{
public:
    enum class Style { File, Shown };
    static QString format(const LogEntry& entry, Style style);
};
