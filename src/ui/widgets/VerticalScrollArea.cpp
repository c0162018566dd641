#include "VerticalScrollArea.h"

#include <QScrollBar>
#include <QStyle>

VerticalScrollArea::VerticalScrollArea(QWidget* parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QSize VerticalScrollArea::sizeHint() const
{
    const QWidget* content = widget();
    if (!content)
        return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    return content->sizeHint() + QSize(frame, frame);
}

QSize VerticalScrollArea::minimumSizeHint() const
{
    const QWidget* content = widget();
    if (!content)
        return QScrollArea::minimumSizeHint();
    const int width = content->minimumSizeHint().width() + 2 * frameWidth() +
                      verticalScrollBar()->sizeHint().width();
    return {width, QScrollArea::minimumSizeHint().height()};
}
