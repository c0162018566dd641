#include "LogJournal.h"

#include "LogFile.h"
#include "LogLineFormat.h"

#include <QDir>
#include <QMutexLocker>
#include <QThread>

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
    if (!write(batch, droppedBefore)) {
        // Said on the page, once a failure, and not through the Qt log, which would feed this
        // journal again.
        batch.push_back({QDateTime::currentDateTime(), LogKind::Program, {},
                         QStringLiteral("Не удалось записать журнал в %1: %2")
                             .arg(QDir::toNativeSeparators(m_file->path()), m_file->errorString()),
                         {}});
    }

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

bool LogJournal::write(const std::deque<LogEntry>& batch, qint64 droppedBefore)
{
    if (!m_file)
        return true;
    QString text;
    if (droppedBefore > 0)
        text += QStringLiteral("… пропущено строк: %1\n").arg(droppedBefore);
    for (const LogEntry& entry : batch) {
        text += LogLineFormat::format(entry, LogLineFormat::Style::File);
        text += QLatin1Char('\n');
    }
    const bool told = m_fileFailed;
    m_fileFailed = !m_file->append(text.toUtf8());
    return !m_fileFailed || told;
}
