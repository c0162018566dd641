#include "OverlayController.h"

#include "OverlayPlacement.h"
#include "OverlayWidget.h"
#include "core/OverlaySnapshot.h"
#include "core/SettingsFile.h"
#include "hotkeys/HotkeyAssignment.h"
#include "hotkeys/HotkeyOwnerTexts.h"
#include "hotkeys/QGlobalShortcut.h"
#include "hotkeys/ShortcutRegistry.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

namespace {

// The stored settings' category: a hotkey of the settings file that cannot be registered.
Q_LOGGING_CATEGORY(lcSettings, "clavitor.settings")

OverlayController* s_instance = nullptr;

// Runs while the application object is destroyed, before it destroys the windows.
void destroyInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

} // namespace

OverlayController& OverlayController::instance()
{
    if (!s_instance) {
        s_instance = new OverlayController;
        qAddPostRoutine(destroyInstance);
    }
    return *s_instance;
}

OverlayController::OverlayController(QObject* parent)
    : QObject(parent), m_overlayShortcut(new QGlobalShortcut(this))
{
    connect(m_overlayShortcut, &QGlobalShortcut::activated, this,
            &OverlayController::toggleByHotkey);
}

OverlayController::~OverlayController()
{
    ShortcutRegistry::instance().release(this);
    // The event loop may be over already, so the window goes now rather than later.
    delete m_window.data();
}

void OverlayController::applyStored(const OverlaySettings& settings, const QKeySequence& hotkey)
{
    setSettings(settings);
    if (!setOverlayHotkey(hotkey))
        qCWarning(lcSettings) << "Не удалось зарегистрировать горячую клавишу оверлея";
}

void OverlayController::setSettings(const OverlaySettings& settings)
{
    const bool enabledChanged = settings.enabled != m_settings.enabled;
    m_settings = settings;
    OverlaySnapshot::take(settings);
    refreshWindow();
    showOrHide();
    if (enabledChanged)
        emit overlayEnabledChanged(m_settings.enabled);
}

void OverlayController::startPositioning(const OverlaySettings& settings)
{
    m_settings = settings;
    m_settings.positionMode = OverlayPlacement::Custom;
    m_positioning = true;
    refreshWindow();
    OverlayWidget* window = m_window;
    window->setPositioning(true);
    window->show();
    window->raise();
    window->adjustSize();
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QPoint start = OverlayPlacement::clamp(m_settings.customPosition, window->size(),
                                                 primary->availableGeometry());
    window->move(start);
    if (start != m_settings.customPosition) {
        m_settings.customPosition = start;
        emit customPositionChanged(start);
    }
}

QPoint OverlayController::currentPosition() const
{
    if (m_window && m_window->isVisible())
        return m_window->pos();
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return m_settings.customPosition;
    return OverlayPlacement::position(m_settings, m_window ? m_window->sizeHint() : QSize(),
                                      primary->availableGeometry());
}

void OverlayController::stopPositioning()
{
    if (!m_positioning)
        return;
    m_positioning = false;
    if (m_window)
        m_window->setPositioning(false);
    place();
    showOrHide();
}

bool OverlayController::setOverlayHotkey(const QKeySequence& sequence, QString* errorText,
                                         int* status)
{
    const HotkeyAssignment result =
        HotkeyAssignment::apply(*m_overlayShortcut, this, HotkeyOwnerTexts::overlayToggle(), sequence);
    if (status)
        *status = result.status();
    if (errorText)
        *errorText = result.detail();
    if (!result.succeeded())
        return false;
    m_overlayHotkeyText = sequence.toString(QKeySequence::NativeText);
    return true;
}

void OverlayController::setScenarios(const QString& profileName,
                                     const QList<OverlayScenarioEntry>& entries)
{
    m_content.profileName = profileName;
    m_content.scenarios = entries;
    refreshWindow();
}

void OverlayController::setActiveScenario(const QString& name)
{
    m_content.activeScenario = name;
    refreshWindow();
}

void OverlayController::setRecording(const QString& text)
{
    m_content.recordingText = text;
    refreshWindow();
}

void OverlayController::setNotice(const QString& text)
{
    m_content.noticeText = text;
    refreshWindow();
}

void OverlayController::setDisableHotkey(const QString& text)
{
    if (text == m_content.disableHotkeyText)
        return;
    m_content.disableHotkeyText = text;
    refreshWindow();
}

void OverlayController::setAutoclickerState(const QString& name, AutoclickerActivity activity)
{
    m_content.autoclickerName = name;
    m_content.autoclickerActivity = activity;
    refreshWindow();
}

void OverlayController::setAutoclickerHotkeys(const QString& toggleText, const QString& modeText)
{
    if (toggleText == m_content.toggleHotkeyText && modeText == m_content.modeHotkeyText)
        return;
    m_content.toggleHotkeyText = toggleText;
    m_content.modeHotkeyText = modeText;
    refreshWindow();
}

OverlayWidget* OverlayController::overlayWindow() const
{
    return m_window;
}

OverlayWidget* OverlayController::ensureWindow()
{
    if (!m_window) {
        m_window = new OverlayWidget;
        m_window->setAttribute(Qt::WA_QuitOnClose, false);
        connect(m_window, &OverlayWidget::overlayMoved, this, &OverlayController::onOverlayMoved);
    }
    return m_window;
}

void OverlayController::refreshWindow()
{
    ensureWindow()->setState(m_settings, m_content);
    place();
}

void OverlayController::place()
{
    // A hidden window is sized and placed when it is shown (showOrHide): laying out its
    // content after every change meanwhile, a profile switch's fifty rows for instance,
    // would be work for nothing.
    if (!m_window || m_window->isHidden())
        return;
    fit();
}

void OverlayController::fit()
{
    // The window follows its content's size after every change: a longer text would
    // otherwise be cut off. While the user positions it, it stays where it is.
    m_window->adjustSize();
    if (m_positioning)
        return;
    QScreen* primary = QGuiApplication::primaryScreen();
    m_window->move(primary ? OverlayPlacement::position(m_settings, m_window->size(),
                                                        primary->availableGeometry())
                           : m_settings.customPosition);
}

void OverlayController::showOrHide()
{
    if (!m_window)
        return;
    if (m_positioning || m_settings.enabled) {
        if (m_window->isHidden())
            fit();
        m_window->show();
        m_window->raise();
    } else {
        m_window->hide();
    }
}

void OverlayController::onOverlayMoved(QPoint topLeft)
{
    if (!m_positioning)
        return;
    QPoint position = topLeft;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        position = OverlayPlacement::clamp(topLeft, m_window->size(), primary->availableGeometry());
    if (position != topLeft)
        m_window->move(position);
    if (position != m_settings.customPosition) {
        m_settings.customPosition = position;
        emit customPositionChanged(position);
    }
}

void OverlayController::toggleByHotkey()
{
    OverlaySettings toggled = m_settings;
    toggled.enabled = !toggled.enabled;
    setSettings(toggled);

    AppSettings stored = loadSettings();
    stored.overlay = m_settings;
    stored.overlayHotkey = m_overlayHotkeyText;
    saveSettings(stored);
}
