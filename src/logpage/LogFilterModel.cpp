#include "LogFilterModel.h"

#include "LogModel.h"
#include "log/LogKinds.h"

LogFilterModel::LogFilterModel(LogModel& source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source)
{
    setSourceModel(&source);
    // New lines are filtered as they arrive; nothing is ever sorted.
    setDynamicSortFilter(true);
    showAllKinds();
}

void LogFilterModel::setKindShown(LogKind kind, bool shown)
{
    setKinds(shown ? m_kinds | bitOf(kind) : m_kinds & ~bitOf(kind));
}

void LogFilterModel::showAllKinds()
{
    quint32 kinds = 0;
    for (LogKind kind : LogKinds::all())
        kinds |= bitOf(kind);
    setKinds(kinds);
}

void LogFilterModel::setKinds(quint32 kinds)
{
    if (kinds == m_kinds)
        return;
    m_kinds = kinds;
    invalidateRowsFilter();
}

void LogFilterModel::setScenario(const QString& scenario)
{
    if (scenario == m_scenario)
        return;
    m_scenario = scenario;
    invalidateRowsFilter();
}

void LogFilterModel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidateRowsFilter();
}

bool LogFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid())
        return true; // a traceback line, shown with its line
    const QModelIndex index = m_source.index(sourceRow, 0);
    if (m_source.isDroppedRow(index))
        return true;
    const LogEntry* entry = m_source.entryAt(index);
    if (!entry || !showsKind(entry->kind))
        return false;
    if (!m_scenario.isEmpty() && entry->scenario != m_scenario)
        return false;
    return m_text.isEmpty() || entry->text.contains(m_text, Qt::CaseInsensitive) ||
           entry->detail.contains(m_text, Qt::CaseInsensitive) ||
           entry->scenario.contains(m_text, Qt::CaseInsensitive);
}
