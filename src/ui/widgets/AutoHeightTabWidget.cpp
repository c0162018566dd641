#include "AutoHeightTabWidget.h"

#include <QEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

#include <algorithm>

namespace {

// The events of the widget or of a page after which the height may have to change.
bool affectsHeight(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest:
        return true;
    default:
        return false;
    }
}

} // namespace

AutoHeightTabWidget::AutoHeightTabWidget(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &AutoHeightTabWidget::scheduleHeightUpdate);
    scheduleHeightUpdate();
}

QSize AutoHeightTabWidget::sizeHint() const
{
    return fittedToCurrentPage(QTabWidget::sizeHint(), &QWidget::sizeHint);
}

QSize AutoHeightTabWidget::minimumSizeHint() const
{
    return fittedToCurrentPage(QTabWidget::minimumSizeHint(), &QWidget::minimumSizeHint);
}

QSize AutoHeightTabWidget::fittedToCurrentPage(QSize own, QSize (QWidget::*hint)() const) const
{
    const QStackedWidget* stack = pageStack();
    const QWidget* page = currentWidget();
    if (!stack || !page)
        return own;
    // The toolkit's own size leaves out what a stylesheet puts around the pages (the pane's
    // border and padding), which the layout of the pages does take: a page sized by it alone
    // would be cut off at the bottom.
    // The same holds for the width, which is the widest page's: no page may be narrower than
    // it needs.
    const QSize around = sizeAroundPages();
    const int stackHeight = (stack->*hint)().height();
    const int pageHeight = std::max(0, (page->*hint)().height());
    own.setHeight(std::max({0, own.height() - stackHeight, around.height()}) + pageHeight);
    own.setWidth(std::max(own.width(), (stack->*hint)().width() + around.width()));
    return own;
}

QSize AutoHeightTabWidget::sizeAroundPages() const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    const QRect pages = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    return option.rect.size() - pages.size();
}

QStackedWidget* AutoHeightTabWidget::pageStack() const
{
    return findChild<QStackedWidget*>(QStringLiteral("qt_tabwidget_stackedwidget"),
                                      Qt::FindDirectChildrenOnly);
}

bool AutoHeightTabWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (affectsHeight(event))
        scheduleHeightUpdate();
    return QTabWidget::eventFilter(watched, event);
}

bool AutoHeightTabWidget::event(QEvent* event)
{
    if (affectsHeight(event))
        scheduleHeightUpdate();
    return QTabWidget::event(event);
}

void AutoHeightTabWidget::tabInserted(int index)
{
    if (QWidget* page = widget(index)) {
        page->installEventFilter(this);
        m_watchedPages.append(page);
    }
    QTabWidget::tabInserted(index);
    scheduleHeightUpdate();
}

void AutoHeightTabWidget::tabRemoved(int index)
{
    // The page is out of the stack by now: stop watching every page that is not a tab.
    const QStackedWidget* stack = pageStack();
    m_watchedPages.removeIf([this, stack](const QPointer<QWidget>& page) {
        if (page && stack && stack->indexOf(page) >= 0)
            return false;
        if (page)
            page->removeEventFilter(this);
        return true;
    });
    QTabWidget::tabRemoved(index);
    scheduleHeightUpdate();
}

void AutoHeightTabWidget::scheduleHeightUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(this, &AutoHeightTabWidget::updateHeight, Qt::QueuedConnection);
}

void AutoHeightTabWidget::updateHeight()
{
    m_updatePending = false;
    if (const QWidget* page = currentWidget()) {
        // No taller than the page needs, and no shorter than the page can be: a page that
        // scrolls its content leaves the window its height.
        const int height = sizeHint().height();
        const QSizePolicy::Policy policy = page->sizePolicy().verticalPolicy();
        const bool grows =
            policy == QSizePolicy::Expanding || policy == QSizePolicy::MinimumExpanding;
        setMinimumHeight(std::min(minimumSizeHint().height(), height));
        setMaximumHeight(grows ? QWIDGETSIZE_MAX : height);
    } else {
        setMinimumHeight(minimumSizeHint().height());
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
    updateGeometry();
}
