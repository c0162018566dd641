#include "WheelEventBlocker.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>

bool WheelEventBlocker::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    bool blocked = qobject_cast<QAbstractSpinBox*>(watched) != nullptr;
    if (const auto* combo = qobject_cast<QComboBox*>(watched))
        blocked = !combo->view()->isVisible();
    if (!blocked)
        return QObject::eventFilter(watched, event);
    event->ignore();
    return true;
}
