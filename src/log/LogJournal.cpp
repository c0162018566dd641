#include "LogJournal.h"

#include "LogFile.h"
#include "LogLineFormat.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>

#include <cstdio>

LogJournal& LogJournal::instance()
{
    static LogJournal journal;
    return journal;
}

LogJournal::LogJournal(QObject* parent) : QObject(parent)
{
    m_batch.setSingleShot(true);
    m_batch.setInterval(kBatchIntervalMs);
    connect(&m_batch, &QTimer::timeout, this, &LogJournal::takePending);
}

LogJournal::~LogJournal() = default;

void LogJournal::append(LogEntry entry)
{
    bool first = false;
    {
        QMutexLocker lock(&m_pendingLock);
        first = m_pending.empty();
        m_pending.push_back(std::move(entry));
        // A producer that never lets the GUI thread take its lines is bounded like the page.
        if (m_pending.size() > static_cast<size_t>(kCapacity)) {
            m_pending.pop_front();
            ++m_pendingDropped;
        }
    }
    if (!first)
        return;
    if (QThread::currentThread() == thread())
        m_batch.start();
    else
        QMetaObject::invokeMethod(&m_batch, qOverload<>(&QTimer::start), Qt::QueuedConnection);
}

void LogJournal::setFileFolder(const QString& folder)
{
    m_file = folder.isEmpty() ? nullptr : std::make_unique<LogFile>(folder);
    m_fileFailed = false;
}

QString LogJournal::filePath() const
{
    return m_file ? m_file->path() : QString();
}

void LogJournal::clear()
{
    flush();
    m_lines.clear();
    m_dropped = 0;
    emit cleared();
}

void LogJournal::flush()
{
    m_batch.stop();
    takePending();
}

void LogJournal::takePending()
{
    std::deque<LogEntry> batch;
    qint64 droppedBefore = 0;
    {
        QMutexLocker lock(&m_pendingLock);
        batch.swap(m_pending);
        std::swap(droppedBefore, m_pendingDropped);
    }
    if (batch.empty())
        return;
    write(batch, droppedBefore);

    const int added = static_cast<int>(batch.size());
    m_dropped += droppedBefore;
    for (LogEntry& entry : batch)
        m_lines.push_back(std::move(entry));
    int removed = 0;
    while (m_lines.size() > static_cast<size_t>(kCapacity)) {
        m_lines.pop_front();
        ++removed;
    }
    m_dropped += removed;
    emit linesAdded(removed, added);
}

void LogJournal::write(const std::deque<LogEntry>& batch, qint64 droppedBefore)
{
    if (!m_file)
        return;
    QString text;
    if (droppedBefore > 0)
        text += QStringLiteral("… пропущено строк: %1\n").arg(droppedBefore);
    for (const LogEntry& entry : batch) {
        text += LogLineFormat::format(entry, LogLineFormat::Style::File);
        text += QLatin1Char('\n');
    }
    if (m_file->append(text.toUtf8())) {
        m_fileFailed = false;
        return;
    }
    // Said once per failure, and not through the Qt log, which would feed this journal again.
    if (!m_fileFailed)
        std::fprintf(stderr, "Не удалось записать журнал в %s: %s\n",
                     qPrintable(m_file->path()), qPrintable(m_file->errorString()));
    m_fileFailed = true;
}
