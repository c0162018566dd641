#include "BottomFollower.h"

#include <QAbstractItemView>
#include <QScrollBar>

BottomFollower::BottomFollower(QAbstractItemView& view, QAbstractItemModel& model)
    : QObject(&view), m_view(view)
{
    QScrollBar* bar = view.verticalScrollBar();
    // The user's scrolling (and the clamping of a shrinking range) says whether to follow.
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { m_following = value >= bar->maximum(); });
    // Rows added (or the view grown) while following: the bottom is shown again.
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (m_following)
            bar->setValue(maximum);
    });
    // Rows leaving above (old lines dropped) or inserted above (the count of dropped lines)
    // would move the rows read.
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &BottomFollower::rememberTopRow);
    connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, this,
            &BottomFollower::rememberTopRow);
}

// The first change of a batch notes the row at the top; once the batch is through (the view
// has laid out its rows again), that row goes back to the top. When it went itself, the view
// shows the oldest rows left.
void BottomFollower::rememberTopRow(const QModelIndex& parent)
{
    if (m_following || parent.isValid() || m_returnPending)
        return;
    m_topRow = m_view.indexAt(QPoint(1, 1));
    m_returnPending = true;
    QMetaObject::invokeMethod(this, &BottomFollower::returnToTopRow, Qt::QueuedConnection);
}

void BottomFollower::returnToTopRow()
{
    m_returnPending = false;
    if (m_topRow.isValid())
        m_view.scrollTo(m_topRow, QAbstractItemView::PositionAtTop);
    else
        m_view.scrollToTop();
    m_topRow = QPersistentModelIndex();
}
