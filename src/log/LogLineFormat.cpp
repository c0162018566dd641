#include "LogLineFormat.h"

#include "LogKinds.h"

#include <QStringList>

QString LogLineFormat::format(const LogEntry& entry, Style style)
{
    QString line = style == Style::File
                       ? entry.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
                       : entry.time.toString(QStringLiteral("hh:mm:ss.zzz"));
    line += QLatin1String(" [");
    line += style == Style::File ? QString(LogKinds::token(entry.kind))
                                 : LogKinds::title(entry.kind);
    line += QLatin1String("] ");
    if (!entry.scenario.isEmpty())
        line += entry.scenario + QLatin1String(": ");
    line += entry.text;
    if (!entry.detail.isEmpty()) {
        for (const QString& folded : entry.detail.split(QLatin1Char('\n')))
            line += QLatin1String("\n\t") + folded;
    }
    return line;
}
