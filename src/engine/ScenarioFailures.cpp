#include "ScenarioFailures.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

Q_LOGGING_CATEGORY(lcEngine, "clavitor.engine")

ScenarioFailures& ScenarioFailures::instance()
{
    static ScenarioFailures failures;
    return failures;
}

ScenarioFailures::ScenarioFailures(QObject* parent) : QObject(parent)
{
    connect(&m_files, &QFileSystemWatcher::fileChanged, this, &ScenarioFailures::unmark);
}

void ScenarioFailures::report(const QString& path, const QString& message,
                              const QString& traceback)
{
    QString logged = message;
    if (!traceback.isEmpty())
        logged += QLatin1String("\n\t") + QString(traceback).replace(QLatin1Char('\n'), QStringLiteral("\n\t"));
    qCWarning(lcEngine).noquote() << logged;

    m_errors.insert(path, message);
    if (QFileInfo::exists(path) && !m_files.files().contains(path))
        m_files.addPath(path);
    emit markChanged(path);
    emit failed(QFileInfo(path).completeBaseName(), lineOf(message, traceback));
}

void ScenarioFailures::clear(const QString& path)
{
    if (m_errors.contains(path))
        unmark(path);
}

void ScenarioFailures::unmark(const QString& path)
{
    m_files.removePath(path);
    if (m_errors.remove(path) > 0)
        emit markChanged(path);
}

int ScenarioFailures::lineOf(const QString& message, const QString& traceback)
{
    static const QRegularExpression lineNumber(QStringLiteral(":(\\d+):"));
    for (const QString& text : {message, traceback}) {
        const QRegularExpressionMatch match = lineNumber.match(text);
        if (match.hasMatch())
            return match.captured(1).toInt();
    }
    return 0;
}
