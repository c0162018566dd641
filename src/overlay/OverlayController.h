#pragma once

#include "OverlayContent.h"
#include "OverlayFeed.h"
#include "core/OverlaySettings.h"

#include <QKeySequence>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class OverlayWidget;
class QGlobalShortcut;

// The process-wide owner of the overlay. It keeps the overlay's settings and the data to
// show, which the pages push into it (it is never asked), creates the window on the first
// update, places it, shows and hides it, toggles it with its own system-wide hotkey and lets
// the user drag it to a custom position. GUI thread only.
class OverlayController : public QObject, public OverlayFeed
{
    Q_OBJECT

public:
    // The one controller of the program, created on first use and destroyed with the
    // application object.
    static OverlayController& instance();

    explicit OverlayController(QObject* parent = nullptr);
    ~OverlayController() override;

    // Stores the settings (and makes them the settings file's overlay block for the rest of
    // the run), updates and places the window and shows it when enabled or positioning.
    void setSettings(const OverlaySettings& settings);
    OverlaySettings settings() const { return m_settings; }
    // The stored overlay block and hotkey, as start-up and the settings page publish them: the
    // settings taken and the hotkey registered; a hotkey that cannot be is named in the log.
    void applyStored(const OverlaySettings& settings, const QKeySequence& hotkey);

    // Positioning mode: the window takes the settings with the custom position, appears there
    // (kept on the primary screen) and can be dragged; every new position is reported by
    // customPositionChanged. stopPositioning places it by its settings again.
    void startPositioning(const OverlaySettings& settings);
    // Where the window is now, or where its settings put it while it is hidden.
    QPoint currentPosition() const;
    void stopPositioning();

    // Makes the sequence the overlay's hotkey, claimed in the shortcut registry first; an
    // empty sequence removes it. On failure the previous hotkey stays registered, *status is
    // HotkeyAssignment's (1: another owner of the program holds it, *errorText its
    // description; 2: the system refused it, *errorText its reason, may be empty) and
    // nothing is shown: the caller tells the user.
    bool setOverlayHotkey(const QKeySequence& sequence, QString* errorText = nullptr,
                          int* status = nullptr);
    // The registered hotkey in native text; empty when there is none.
    QString overlayHotkeyText() const { return m_overlayHotkeyText; }

    // OverlayFeed: what the scenario list page and the autoclicker show.
    void setScenarios(const QString& profileName,
                      const QList<OverlayScenarioEntry>& entries) override;
    void setActiveScenario(const QString& name) override;
    void setDisableHotkey(const QString& text) override;
    void setAutoclickerState(const QString& name, AutoclickerActivity activity) override;
    void setAutoclickerHotkeys(const QString& toggleText, const QString& modeText) override;
    void setRecording(const QString& text) override;
    void setNotice(const QString& text) override;

    // The window, once an update has created it.
    OverlayWidget* overlayWindow() const;

signals:
    void customPositionChanged(QPoint position);
    void overlayEnabledChanged(bool enabled);

private:
    OverlayWidget* ensureWindow();
    void refreshWindow();
    // Sizes and places the window while it is shown.
    void place();
    // Sizes the window to its content and places it (unless the user positions it).
    void fit();
    void showOrHide();
    void onOverlayMoved(QPoint topLeft);
    void toggleByHotkey();

    QPointer<OverlayWidget> m_window;
    OverlaySettings m_settings;
    OverlayContent m_content;
    bool m_positioning = false;
    QGlobalShortcut* m_overlayShortcut;
    QString m_overlayHotkeyText;
};
