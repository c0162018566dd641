#pragma once

#include <QPoint>
#include <QWidget>

// The title bar of the frameless window: dragging it moves the window it sits in (the
// widget two levels up: title bar → window frame → window). Painted like any plain widget,
// so stylesheet backgrounds apply to it.
class WindowDragger : public QWidget
{
    Q_OBJECT

public:
    explicit WindowDragger(QWidget* parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* draggedWindow() const;

    bool m_dragging = false;
    QPoint m_cursorAtPress;
    QPoint m_windowAtPress;
};
