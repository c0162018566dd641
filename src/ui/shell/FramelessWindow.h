#pragma once

#include <QRect>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

class QAction;
class QMenu;

namespace Ui {
class FramelessWindow;
}

// The program's one top-level window: frameless and translucent, with its own title bar,
// resizing from its edges, a tray icon to hide in, and a question whether to quit or hide
// when it is closed. Its content is a widget handed to it (the main widget).
class FramelessWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FramelessWindow(QWidget* parent = nullptr);
    ~FramelessWindow() override;

    // Shows the widget as the window's content, in place of the one shown so far (which is
    // hidden and stays a child of the window); nullptr leaves the content area empty. The
    // window then takes its preferred size.
    void setContentWidget(QWidget* widget);
    QWidget* contentWidget() const { return m_content; }

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    // Shows the window (from the tray, or minimized) in front of the others.
    void bringToFront();
    // The text of the title bar; also the window's own title.
    void setWindowTitle(const QString& title);
    void on_minimizeButton_clicked();
    void on_closeButton_clicked();
    void onTrayIconActivated(QSystemTrayIcon::ActivationReason reason);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Whether the desktop shows tray icons.
    virtual bool systemTrayAvailable() const;

private:
    enum Edge
    {
        NoEdge = 0,
        TopEdge = 1,
        LeftEdge = 2,
        RightEdge = 4,
        BottomEdge = 8
    };

    void retranslateTrayMenu();
    void quitApplication();

    void dropFocusOutside(QWidget* pressed) const;
    // The edges a press at the global position would drag, and the cursor that shows it.
    int edgesAt(const QPoint& globalPos, Qt::CursorShape* shape) const;
    void startResize(const QPoint& globalPos);
    void hoverOrResize(const QPoint& globalPos);
    void endResize();
    void setHoverCursor(Qt::CursorShape shape);

    std::unique_ptr<Ui::FramelessWindow> ui;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_closeAction = nullptr;
    QWidget* m_content = nullptr;
    bool m_quitting = false;

    static constexpr int kBorderWidth = 15;
    bool m_pressed = false;
    int m_edges = NoEdge;
    QRect m_geometryAtPress;
    Qt::CursorShape m_hoverShape = Qt::ArrowCursor;
};
