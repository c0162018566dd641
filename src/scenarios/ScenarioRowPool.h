#pragma once

#include <QList>
#include <QPointer>
#include <QStyledItemDelegate>

class QListWidget;
class SingleScriptWidget;

// The scenario list's item delegate, which keeps the row widgets the list lets go of when
// its items are cleared for a profile switch instead of deleting them. The switch then shows
// the kept rows again with the new profile's scenarios rather than making and styling new
// ones, which is most of a switch's cost. Kept rows stay hidden children of the list's
// viewport, so they follow language and theme changes like the rows in use. A row removed on
// its own is deleted, and a row added takes a kept one first, so that the rows never
// outnumber the longest list shown.
class ScenarioRowPool : public QStyledItemDelegate
{
public:
    explicit ScenarioRowPool(QListWidget* list);

    // The kept row made first, or nullptr when none is kept. Taking them in the order they
    // were made keeps the keyboard focus moving through the rows from top to bottom.
    SingleScriptWidget* takeSpare();
    // Runs `release` (the list letting its rows go) keeping the rows it lets go of.
    template <typename Release> void keepWhile(Release release)
    {
        m_keeping = true;
        release();
        m_keeping = false;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

private:
    QListWidget* m_list;
    bool m_keeping = false;
    // destroyEditor is const in the delegate's interface.
    mutable QList<QPointer<SingleScriptWidget>> m_spare;
};
