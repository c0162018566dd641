#pragma once

#include <QList>
#include <QPointer>
#include <QTabWidget>

class QStackedWidget;

// A tab widget as tall as its current tab needs, rather than as its tallest tab needs, and
// no shorter than the tab's minimum (a tab that scrolls lets the widget shrink to it). A
// tab whose page grows vertically (expanding size policy) lets the widget grow beyond that.
// The height follows changes of the current tab, of the tabs and of the pages' layouts, once
// per pass of the event loop.
class AutoHeightTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit AutoHeightTabWidget(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    // The widget's own size with the page stack's height exchanged for the current page's.
    QSize fittedToCurrentPage(QSize own, QSize (QWidget::*hint)() const) const;
    // The room the tab bar and the frame take around the page stack as the style lays the
    // widget out, a stylesheet's pane border and padding included.
    QSize sizeAroundPages() const;
    QStackedWidget* pageStack() const;
    void scheduleHeightUpdate();
    void updateHeight();

    bool m_updatePending = false;
    QList<QPointer<QWidget>> m_watchedPages;
};
