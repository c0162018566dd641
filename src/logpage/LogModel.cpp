#include "LogModel.h"

#include "log/LogJournal.h"
#include "log/LogKinds.h"

#include <QFont>

#include <algorithm>

namespace {

// Scenario names in the order the filter offers them: without regard to case first.
bool scenarioBefore(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

// Traceback lines in the page's fixed-width face, as the editors show code.
const QFont& detailFont()
{
    static const QFont font = [] {
        QFont mono(QStringLiteral("JetBrains Mono"));
        mono.setStyleHint(QFont::Monospace);
        mono.setPixelSize(13);
        return mono;
    }();
    return font;
}

const QFont& droppedFont()
{
    static const QFont font = [] {
        QFont italic;
        italic.setItalic(true);
        return italic;
    }();
    return font;
}

} // namespace

LogModel::LogModel(LogJournal& journal, QObject* parent)
    : QAbstractItemModel(parent), m_journal(journal)
{
    connect(&journal, &LogJournal::linesAdded, this, &LogModel::takeBatch);
    connect(&journal, &LogJournal::cleared, this, &LogModel::reset);
    reset();
}

void LogModel::reset()
{
    beginResetModel();
    m_first = m_journal.dropped();
    m_count = m_journal.size();
    m_dropped = m_first;
    m_scenarios.clear();
    noteScenarios(m_first);
    endResetModel();
    emit scenariosChanged();
}

// The journal has taken a batch: the lines that left its front leave the model's, the dropped
// count is shown, and the new lines are appended. The model's state is compared with the
// journal's own rather than read from the signal, so a batch is never counted twice.
void LogModel::takeBatch()
{
    const qint64 first = m_journal.dropped();
    if (first < m_first) {
        // The journal started again without saying so: nothing shown is known to be in it.
        reset();
        return;
    }
    const int removed = static_cast<int>(std::min<qint64>(first - m_first, m_count));
    if (removed > 0) {
        beginRemoveRows({}, droppedRows(), droppedRows() + removed - 1);
        m_count -= removed;
        m_first = first;
        endRemoveRows();
    }
    m_first = first; // lines that came and went within one batch were never shown

    if (first > 0 && m_dropped == 0) {
        beginInsertRows({}, 0, 0);
        m_dropped = first;
        endInsertRows();
    } else if (first != m_dropped) {
        m_dropped = first;
        emit dataChanged(index(0, 0), index(0, ColumnCount - 1));
    }

    const int added = m_journal.size() - m_count;
    if (added > 0) {
        const int firstNew = droppedRows() + m_count;
        beginInsertRows({}, firstNew, firstNew + added - 1);
        m_count += added;
        endInsertRows();
        noteScenarios(m_first + m_count - added);
    }
}

void LogModel::noteScenarios(qint64 fromSequence)
{
    bool changed = false;
    for (qint64 sequence = fromSequence; sequence < m_first + m_count; ++sequence) {
        const int row = journalRow(sequence);
        if (row >= 0 && insertScenario(m_journal.at(row).scenario))
            changed = true;
    }
    if (changed)
        emit scenariosChanged();
}

void LogModel::noteScenario(const QString& name)
{
    if (insertScenario(name))
        emit scenariosChanged();
}

bool LogModel::insertScenario(const QString& name)
{
    if (name.isEmpty())
        return false;
    const auto place =
        std::lower_bound(m_scenarios.begin(), m_scenarios.end(), name, scenarioBefore);
    if (place != m_scenarios.end() && *place == name)
        return false;
    m_scenarios.insert(place, name);
    return true;
}

int LogModel::journalRow(qint64 sequence) const
{
    const qint64 row = sequence - m_journal.dropped();
    return row >= 0 && row < m_journal.size() ? static_cast<int>(row) : -1;
}

qint64 LogModel::sequenceOfRow(int row) const
{
    const int line = row - droppedRows();
    return line >= 0 && line < m_count ? m_first + line : -1;
}

QStringList LogModel::detailLines(qint64 sequence) const
{
    const int row = journalRow(sequence);
    if (row < 0 || m_journal.at(row).detail.isEmpty())
        return {};
    return m_journal.at(row).detail.split(QLatin1Char('\n'));
}

QModelIndex LogModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, quintptr(0));
    // A child row carries its parent's sequence number, plus one to tell it from a top row.
    return createIndex(row, column, quintptr(sequenceOfRow(parent.row()) + 1));
}

QModelIndex LogModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const qint64 sequence = static_cast<qint64>(child.internalId()) - 1;
    if (sequence < m_first || sequence >= m_first + m_count)
        return {};
    return createIndex(static_cast<int>(sequence - m_first) + droppedRows(), 0, quintptr(0));
}

int LogModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return droppedRows() + m_count;
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    const qint64 sequence = sequenceOfRow(parent.row());
    const int row = sequence < 0 ? -1 : journalRow(sequence);
    if (row < 0)
        return 0;
    const QString& detail = m_journal.at(row).detail;
    return detail.isEmpty() ? 0 : static_cast<int>(detail.count(QLatin1Char('\n'))) + 1;
}

int LogModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

const LogEntry* LogModel::entryAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    const qint64 sequence = index.internalId() == 0 ? sequenceOfRow(index.row())
                                                    : static_cast<qint64>(index.internalId()) - 1;
    const int row = sequence < 0 ? -1 : journalRow(sequence);
    return row < 0 ? nullptr : &m_journal.at(row);
}

bool LogModel::isDroppedRow(const QModelIndex& index) const
{
    return index.isValid() && index.internalId() == 0 && index.row() == 0 && m_dropped > 0;
}

QVariant LogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (isDroppedRow(index)) {
        if (role == Qt::FontRole)
            return droppedFont();
        if (role == Qt::DisplayRole && index.column() == TextColumn)
            return tr("Старые строки удалены: %1").arg(m_dropped);
        return {};
    }
    if (index.internalId() != 0) {
        if (role == Qt::FontRole)
            return detailFont();
        // In the first column, which the page spans over the row: a traceback line is long.
        if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && index.column() == 0)
            return detailLines(static_cast<qint64>(index.internalId()) - 1).value(index.row());
        return {};
    }
    const LogEntry* entry = entryAt(index);
    if (!entry || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    switch (index.column()) {
    case TimeColumn:
        return role == Qt::DisplayRole ? entry->time.toString(QStringLiteral("hh:mm:ss.zzz"))
                                       : QVariant();
    case KindColumn:
        return role == Qt::DisplayRole ? LogKinds::title(entry->kind) : QVariant();
    case ScenarioColumn:
        return entry->scenario;
    case TextColumn:
        return entry->text; // the tooltip shows a line too long for the column whole
    }
    return {};
}

QVariant LogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn:
        return tr("Время");
    case KindColumn:
        return tr("Вид");
    case ScenarioColumn:
        return tr("Сценарий");
    case TextColumn:
        return tr("Сообщение");
    }
    return {};
}

void LogModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
}
