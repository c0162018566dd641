#pragma once

#include "OverlayContent.h"
#include "core/OverlaySettings.h"

#include <QList>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <optional>

class QLabel;
class QVBoxLayout;

// The overlay window: a frameless, always-on-top, translucent panel that never takes the
// focus and lets every click through to the windows below it, except in positioning mode,
// when the user drags it. It shows the profile's scenarios with their hotkeys, the hotkey
// that disables the active scenario, the autoclicker's state and hotkeys, and Caps Lock.
class OverlayWidget : public QWidget
{
    Q_OBJECT

public:
    explicit OverlayWidget(QWidget* parent = nullptr);

    // Takes the settings and everything to show, and restyles.
    void setState(const OverlaySettings& settings, const OverlayContent& content);

    // In positioning mode the window takes the mouse, shows the move cursor and the hint,
    // and follows a drag with the left button. Changing the mode hides the window (its
    // system flags change): show it again afterwards.
    void setPositioning(bool positioning);

signals:
    void overlayMoved(QPoint topLeft);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Row
    {
        QWidget* row;
        QLabel* hotkey;
        QLabel* name;
    };

    void rebuildRows();
    void refreshTexts();
    void restyle();
    void refreshCapsLock();
    QString labelStyle(const QColor& color, int pixelSize, int weight) const;

    OverlaySettings m_settings;
    OverlayContent m_content;
    bool m_positioning = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
    std::optional<bool> m_capsLockShown; // none after a restyle: the next read sets the text

    QLabel* m_hintLabel;
    QLabel* m_recordingLabel;
    QLabel* m_noticeLabel;
    QLabel* m_titleLabel;
    QLabel* m_disableLabel;
    QWidget* m_scenarioContainer;
    QVBoxLayout* m_scenarioLayout;
    QLabel* m_emptyLabel;
    QLabel* m_autoclickerLabel;
    QLabel* m_capsLockLabel;
    QList<Row> m_rows;
    QTimer m_capsLockTimer;
};
