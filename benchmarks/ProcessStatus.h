#pragma once

// The process's memory as Linux reports it, for the benchmarks' counters.

#include <QFile>

// Kibibytes of a line of /proc/self/status ("VmHWM:" the peak resident memory, "VmRSS:" the
// resident memory now); 0 where there is no such file.
inline double statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toDouble();
    }
    return 0;
}
