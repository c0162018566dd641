#include "ProgramMatch.h"

bool programMatches(const QString& listedName, const platform::ForegroundProgram& program)
{
    const Qt::CaseSensitivity sensitivity =
        program.namesIgnoreCase || listedName.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)
            ? Qt::CaseInsensitive
            : Qt::CaseSensitive;
    for (const std::wstring& name : program.names) {
        if (!name.empty() && QString::fromStdWString(name).compare(listedName, sensitivity) == 0)
            return true;
    }
    const QString truncated = QString::fromStdWString(program.truncatedName);
    return !truncated.isEmpty() &&
           listedName.left(kTruncatedNameLength).compare(truncated, sensitivity) == 0;
}

qsizetype profileForProgram(const QList<ScenarioProfile>& profiles,
                            const platform::ForegroundProgram& program)
{
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        for (const QString& listed : profiles[i].programs) {
            if (programMatches(listed, program))
                return i;
        }
    }
    return -1;
}

qsizetype profileListingProgram(const QList<ScenarioProfile>& profiles, const QString& name)
{
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        if (profiles[i].programs.contains(name.trimmed(), Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString listedNameOf(const platform::ForegroundProgram& program)
{
    QString first;
    for (const std::wstring& wide : program.names) {
        const QString name = QString::fromStdWString(wide).trimmed();
        if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
            return name;
        if (first.isEmpty())
            first = name;
    }
    const QString truncated = QString::fromStdWString(program.truncatedName).trimmed();
    return truncated.isEmpty() ? first : truncated;
}
