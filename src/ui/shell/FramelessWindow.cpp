#include "FramelessWindow.h"

#include "ui/appearance/IconManager.h"
#include "ui/prompts/Prompter.h"
#include "ui_FramelessWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace {

// How close the top and left edges may be dragged to the far side of the primary screen.
constexpr int kScreenEdgeReserve = 50;

// The primary screen's size; its available area only when it has no virtual siblings.
QSize primaryScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return screen->virtualSiblings().isEmpty() ? screen->availableSize() : screen->size();
}

} // namespace

FramelessWindow::FramelessWindow(QWidget* parent) : QWidget(parent), ui(new Ui::FramelessWindow)
{
    ui->setupUi(this);
    ui->restoreButton->hide();
    ui->maximizeButton->hide();

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    qApp->installEventFilter(this);

    m_trayMenu = new QMenu(this);
    m_openAction = m_trayMenu->addAction(QString(), this, &FramelessWindow::bringToFront);
    m_closeAction = m_trayMenu->addAction(QString(), this, &FramelessWindow::quitApplication);
    retranslateTrayMenu();
    m_trayIcon = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_trayIcon->setToolTip(QStringLiteral("Clavitor"));
    m_trayIcon->setContextMenu(m_trayMenu);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &FramelessWindow::onTrayIconActivated);

    IconManager& icons = IconManager::instance();
    icons.setIcon(ui->pushButton, QStringLiteral("clvLogoCrop"));
    icons.setIcon(ui->minimizeButton, QStringLiteral("subtract-line"));
    icons.setIcon(ui->closeButton, QStringLiteral("close-line"));
    icons.setIcon(m_trayIcon, QStringLiteral("clvLogoCrop"));
}

FramelessWindow::~FramelessWindow() = default;

void FramelessWindow::setContentWidget(QWidget* widget)
{
    if (m_content && m_content != widget) {
        ui->verticalLayout_3->removeWidget(m_content);
        m_content->hide();
    }
    m_content = widget;
    if (widget) {
        if (widget->parentWidget() != ui->windowContent)
            widget->setParent(ui->windowContent);
        if (ui->verticalLayout_3->indexOf(widget) < 0)
            ui->verticalLayout_3->addWidget(widget);
        widget->show();
    }
    ui->windowContent->adjustSize();
    adjustSize();
}

void FramelessWindow::setWindowTitle(const QString& title)
{
    ui->titleText->setText(title);
    QWidget::setWindowTitle(title);
}

void FramelessWindow::on_minimizeButton_clicked()
{
    showMinimized();
}

void FramelessWindow::on_closeButton_clicked()
{
    close();
}

void FramelessWindow::onTrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        bringToFront();
}

void FramelessWindow::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    m_trayIcon->hide();
}

bool FramelessWindow::systemTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void FramelessWindow::quitApplication()
{
    // The program's windows that hold unsaved work (a script editor marks itself modified)
    // are closed first: each asks, and a refusal keeps the program running. Other windows,
    // the overlay among them, stay as they are until the program ends.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && window->isWindowModified() &&
            !window->close())
            return;
    }
    m_quitting = true;
    m_trayIcon->hide();
    QCoreApplication::quit();
}

void FramelessWindow::closeEvent(QCloseEvent* event)
{
    if (m_quitting) {
        event->accept();
        return;
    }
    enum Choice
    {
        ToTray,
        Quit,
        Cancel
    };
    const PromptAnswer answer = Prompter::current().ask(
        Prompt{.kind = Prompt::Kind::Question,
               .parent = this,
               .title = QStringLiteral("Clavitor"),
               .text = tr("Закрыть программу или свернуть в трей?"),
               .customButtons = {{tr("В трей"), QMessageBox::AcceptRole},
                                 {tr("Закрыть"), QMessageBox::DestructiveRole},
                                 {tr("Отмена"), QMessageBox::RejectRole}},
               .defaultCustomButton = ToTray,
               .escapeCustomButton = Cancel});
    if (answer.customButton == Quit) {
        // Accepted only when the program does end: an editor may keep it open.
        quitApplication();
        event->setAccepted(m_quitting);
        return;
    }
    event->ignore();
    if (answer.customButton != ToTray)
        return;
    // Without a tray a hidden window could never come back, while its hotkeys go on working:
    // it is minimised instead.
    if (systemTrayAvailable()) {
        hide();
        m_trayIcon->show();
    } else {
        showMinimized();
    }
}

void FramelessWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateTrayMenu();
    }
    QWidget::changeEvent(event);
}

void FramelessWindow::retranslateTrayMenu()
{
    m_openAction->setText(tr("Открыть"));
    m_closeAction->setText(tr("Закрыть"));
}

bool FramelessWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (auto* pressed = qobject_cast<QWidget*>(watched))
            dropFocusOutside(pressed);
        if (watched == this && !isMaximized())
            startResize(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        // A resize whose release went elsewhere (a window switch in the middle of the drag)
        // ends as soon as the button is seen up.
        if (m_pressed && !(move->buttons() & Qt::LeftButton))
            endResize();
        if (!isMaximized())
            hoverOrResize(move->globalPosition().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_pressed && !isMaximized())
            endResize();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// A press anywhere outside the widget that has the keyboard focus takes the focus away, so
// that clicking beside a line edit ends its editing.
void FramelessWindow::dropFocusOutside(QWidget* pressed) const
{
    QWidget* focused = QApplication::focusWidget();
    if (focused && focused != pressed && !focused->isAncestorOf(pressed))
        focused->clearFocus();
}

int FramelessWindow::edgesAt(const QPoint& globalPos, Qt::CursorShape* shape) const
{
    const QRect frame = geometry();
    const int x = globalPos.x();
    const int y = globalPos.y();
    const bool left = x <= frame.left() + kBorderWidth;
    const bool right = x >= frame.right() + 1 - kBorderWidth;
    const bool top = y <= frame.top() + kBorderWidth;
    const bool bottom = y >= frame.bottom() + 1 - kBorderWidth;

    // The order matters: the right edge wins over the bottom one, so the bottom-right corner
    // drags the width only.
    struct Region
    {
        bool hit;
        int edges;
        Qt::CursorShape shape;
    };
    const Region regions[] = {
        {top && left, TopEdge | LeftEdge, Qt::SizeFDiagCursor},
        {top && right, TopEdge | RightEdge, Qt::SizeBDiagCursor},
        {right, RightEdge, Qt::SizeHorCursor},
        {bottom && left, BottomEdge | LeftEdge, Qt::SizeBDiagCursor},
        {left, LeftEdge, Qt::SizeHorCursor},
        {top, TopEdge, Qt::SizeVerCursor},
        {bottom, BottomEdge, Qt::SizeVerCursor},
    };
    for (const Region& region : regions) {
        if (region.hit) {
            *shape = region.shape;
            return region.edges;
        }
    }
    *shape = Qt::ArrowCursor;
    return NoEdge;
}

void FramelessWindow::startResize(const QPoint& globalPos)
{
    Qt::CursorShape shape = Qt::ArrowCursor;
    m_edges = edgesAt(globalPos, &shape);
    if (m_edges == NoEdge)
        return;
    m_pressed = true;
    m_geometryAtPress = geometry();
    setHoverCursor(shape);
}

void FramelessWindow::hoverOrResize(const QPoint& globalPos)
{
    if (!m_pressed) {
        Qt::CursorShape shape = Qt::ArrowCursor;
        edgesAt(globalPos, &shape);
        setHoverCursor(shape);
        return;
    }
    const QSize screen = primaryScreenSize();
    const int x = globalPos.x();
    const int y = globalPos.y();
    const QRect start = m_geometryAtPress;
    const bool topInRange = y > 0 && y < screen.height() - kScreenEdgeReserve;
    // A position out of bounds for the dragged edges leaves the window as it is.
    QRect target = start;
    switch (m_edges) {
    case TopEdge | LeftEdge:
        if (x <= 0 || y <= 0)
            return;
        target.setTopLeft(globalPos);
        break;
    case TopEdge:
        if (!topInRange)
            return;
        target.setTop(y);
        break;
    case TopEdge | RightEdge:
        if (x <= start.left() || !topInRange)
            return;
        target.setTop(y);
        target.setRight(x - 1);
        break;
    case LeftEdge:
        if (x <= 0 || x >= screen.width() - kScreenEdgeReserve)
            return;
        target.setLeft(x);
        break;
    case BottomEdge | LeftEdge:
        if (x <= 0 || y <= start.top())
            return;
        target.setLeft(x);
        target.setBottom(y - 1);
        break;
    case BottomEdge:
        if (y <= start.top())
            return;
        target.setBottom(y - 1);
        break;
    case RightEdge:
        if (x <= start.left())
            return;
        target.setRight(x - 1);
        break;
    default:
        return;
    }

    // The window's size limits apply; the edge that is not dragged stays where it is.
    const int width = std::clamp(target.width(), minimumWidth(), maximumWidth());
    if (m_edges & LeftEdge)
        target.setLeft(target.right() + 1 - width);
    else
        target.setWidth(width);
    const int height = std::clamp(target.height(), minimumHeight(), maximumHeight());
    if (m_edges & TopEdge)
        target.setTop(target.bottom() + 1 - height);
    else
        target.setHeight(height);
    setGeometry(target);
}

void FramelessWindow::endResize()
{
    m_pressed = false;
    m_edges = NoEdge;
    setHoverCursor(Qt::ArrowCursor);
}

void FramelessWindow::setHoverCursor(Qt::CursorShape shape)
{
    if (shape == m_hoverShape)
        return;
    m_hoverShape = shape;
    setCursor(shape);
}
