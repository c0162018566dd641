#include "ScenarioRowPool.h"

#include "SingleScriptWidget.h"

#include <QListWidget>

ScenarioRowPool::ScenarioRowPool(QListWidget* list) : QStyledItemDelegate(list), m_list(list) {}

SingleScriptWidget* ScenarioRowPool::takeSpare()
{
    m_spare.removeAll(nullptr);
    if (m_spare.isEmpty())
        return nullptr;
    // The viewport lists its children in the order they were made; a row shown again keeps
    // its place there and in the focus chain.
    for (QObject* child : m_list->viewport()->children()) {
        auto* row = qobject_cast<SingleScriptWidget*>(child);
        if (row && m_spare.removeOne(row))
            return row;
    }
    return nullptr;
}

void ScenarioRowPool::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // The view has hidden the row already.
    auto* row = qobject_cast<SingleScriptWidget*>(editor);
    if (m_keeping && row && row->parent() == m_list->viewport()) {
        m_spare.append(row);
        return;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}
