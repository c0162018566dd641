#include "MessageCapture.h"

#include "LogJournal.h"
#include "LogKinds.h"
#include "ScenarioScope.h"

#include <atomic>

namespace {

std::atomic<LogJournal*> g_journal{nullptr};
QtMessageHandler g_previous = nullptr;

// The first line of a message is its text; the lines after it (a traceback) are folded under
// it, without their leading tabs.
LogEntry entryOf(LogKind kind, const QString& message)
{
    LogEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.kind = kind;
    entry.scenario = ScenarioScope::current();
    const qsizetype end = message.indexOf(QLatin1Char('\n'));
    entry.text = end < 0 ? message : message.left(end);
    if (end >= 0) {
        QStringList folded = message.mid(end + 1).split(QLatin1Char('\n'));
        for (QString& line : folded)
            if (line.startsWith(QLatin1Char('\t')))
                line.remove(0, 1);
        entry.detail = folded.join(QLatin1Char('\n'));
    }
    return entry;
}

void capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (LogJournal* journal = g_journal.load()) {
        if (const std::optional<LogKind> kind = LogKinds::kindOf(context.category, type))
            journal->append(entryOf(*kind, message));
    }
    if (g_previous)
        g_previous(type, context, message);
}

} // namespace

void MessageCapture::install(LogJournal& journal)
{
    g_journal = &journal;
    QtMessageHandler previous = qInstallMessageHandler(&capture);
    if (previous != &capture)
        g_previous = previous;
}

void MessageCapture::uninstall()
{
    g_journal = nullptr;
    qInstallMessageHandler(g_previous);
    g_previous = nullptr;
}
