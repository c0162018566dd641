#include "WindowDragger.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

WindowDragger::WindowDragger(QWidget* parent) : QWidget(parent) {}

QWidget* WindowDragger::draggedWindow() const
{
    QWidget* frame = parentWidget();
    return frame ? frame->parentWidget() : nullptr;
}

void WindowDragger::mousePressEvent(QMouseEvent* event)
{
    QWidget* window = draggedWindow();
    if (window) {
        // toPoint() rounds halves away from zero.
        m_cursorAtPress = event->globalPosition().toPoint();
        m_windowAtPress = window->pos();
        m_dragging = true;
    }
    // Accepted, so that the press neither reaches the window's edge resizing nor gives the
    // mouse grab to a parent.
    event->accept();
}

void WindowDragger::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        if (QWidget* window = draggedWindow())
            window->move(m_windowAtPress + event->globalPosition().toPoint() - m_cursorAtPress);
    }
    event->accept();
}

void WindowDragger::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    event->accept();
}

void WindowDragger::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClicked();
    event->accept();
}

void WindowDragger::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
