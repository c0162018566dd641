#pragma once

#include "LogEntry.h"

#include <QMutex>
#include <QObject>
#include <QTimer>

#include <deque>
#include <memory>

class LogFile;

// The program's journal: the last lines of what scenarios and the program said, for the log
// page, and all of them for the log file. Lines may come from any thread; they wait until the
// GUI thread takes them, at most 20 times a second, so that a scenario logging in a tight loop
// costs one view update per batch, not one per line.
class LogJournal : public QObject
{
    Q_OBJECT

public:
    // Lines kept for the page; older ones are dropped and counted.
    static constexpr int kCapacity = 10000;
    static constexpr int kBatchIntervalMs = 50;

    // The program's journal, which the message capture feeds.
    static LogJournal& instance();

    explicit LogJournal(QObject* parent = nullptr);
    ~LogJournal() override;

    // Any thread.
    void append(LogEntry entry);

    // The rest: GUI thread only.
    // The lines go to clavitor.log in the folder from the next batch on; empty: to no file.
    void setFileFolder(const QString& folder);
    QString filePath() const;
    int size() const { return static_cast<int>(m_lines.size()); }
    const LogEntry& at(int row) const { return m_lines[static_cast<size_t>(row)]; }
    // Lines dropped from the front since the start or the last clear.
    qint64 dropped() const { return m_dropped; }
    // Forgets the lines kept for the page; the file keeps them.
    void clear();
    // Takes the waiting lines now rather than at the next batch.
    void flush();

signals:
    // A batch arrived: `removed` lines went from the front, `added` were appended.
    void linesAdded(int removed, int added);
    void cleared();

private:
    void takePending();
    // Writes the batch to the file; false when that failed and the failure is not told yet.
    bool write(const std::deque<LogEntry>& batch, qint64 droppedBefore);

    QMutex m_pendingLock;
    std::deque<LogEntry> m_pending;   // guarded by m_pendingLock
    qint64 m_pendingDropped = 0;     // guarded by m_pendingLock
    QTimer m_batch;
    std::deque<LogEntry> m_lines;
    qint64 m_dropped = 0;
    std::unique_ptr<LogFile> m_file;
    bool m_fileFailed = false; // the last write failed
};
