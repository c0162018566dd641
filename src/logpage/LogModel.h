#pragma once

#include "log/LogEntry.h"

#include <QAbstractItemModel>
#include <QStringList>

class LogJournal;

// The journal as a tree for the log page: a row per line, the oldest first, and under a line
// with a traceback one child row per traceback line, in the first column. While lines have been dropped from the
// front, a first row says how many. The model follows the journal's batches with row inserts
// and removals, so that a view keeps its selection, expanded rows and scroll position.
//
// A line is known by its sequence number, the count of lines before it since the last clear
// (the journal's dropped() plus its row): it does not change when older lines leave the
// front, so a child row's parent stays right however many lines went.
class LogModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column
    {
        TimeColumn,
        KindColumn,
        ScenarioColumn,
        TextColumn,
        ColumnCount
    };

    explicit LogModel(LogJournal& journal, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The line of a top-level row, or of a child row's parent; nullptr for the dropped-lines
    // row and an invalid index.
    const LogEntry* entryAt(const QModelIndex& index) const;
    // Whether the index is the row that counts the dropped lines.
    bool isDroppedRow(const QModelIndex& index) const;

    // Every scenario named by a line since the last clear, or noted, sorted.
    const QStringList& scenarios() const { return m_scenarios; }
    // Adds the name to scenarios() unless it is empty or there already.
    void noteScenario(const QString& name);

    // Tells the views that the headers and the translated texts changed.
    void retranslate();

signals:
    // A scenario not seen before since the last clear appeared in a line.
    void scenariosChanged();

private:
    void takeBatch();
    void reset();
    void noteScenarios(qint64 fromSequence);
    bool insertScenario(const QString& name);
    int droppedRows() const { return m_dropped > 0 ? 1 : 0; }
    // The journal's row of a sequence number; -1 when the journal no longer holds it.
    int journalRow(qint64 sequence) const;
    // The sequence number of a top-level row; -1 for the dropped-lines row.
    qint64 sequenceOfRow(int row) const;
    QStringList detailLines(qint64 sequence) const;

    LogJournal& m_journal;
    qint64 m_first = 0;   // the sequence number of the first line shown
    int m_count = 0;      // lines shown
    qint64 m_dropped = 0; // the count on the dropped-lines row
    QStringList m_scenarios;
};
