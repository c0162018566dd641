#pragma once

#include <QObject>
#include <QPersistentModelIndex>

class QAbstractItemModel;
class QAbstractItemView;

// Keeps a view's newest rows in sight: while its scroll bar stands at the bottom, rows added
// at the end scroll into view. Once the user scrolls up, the view stays on the rows it shows,
// also while rows above them come or go; back at the bottom it follows again. It only moves
// the scroll bar: it never takes the focus or raises a window.
class BottomFollower : public QObject
{
    Q_OBJECT

public:
    // Made before the view is given the model, so that it sees which row is at the top before
    // the view forgets its rows for a change.
    BottomFollower(QAbstractItemView& view, QAbstractItemModel& model);

    bool following() const { return m_following; }

private:
    void rememberTopRow(const QModelIndex& parent);
    void returnToTopRow();

    QAbstractItemView& m_view;
    bool m_following = true;
    bool m_returnPending = false;   // the rows change while the user reads above the bottom
    QPersistentModelIndex m_topRow; // the row at the top when they began to
};
