#include "QGlobalShortcut.h"

#include "HotkeyCapture.h"
#include "KeyMapping.h"
#include "SwitchSound.h"
#include "core/AppProperties.h"
#include "platform/Platform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <QSet>
#include <QVariant>

#include <atomic>

namespace {

// Windows takes hotkey ids of applications from 0x0000 to 0xBFFF.
constexpr int kLastHotkeyId = 0xBFFF;

// The ids registered now by any shortcut (GUI thread only).
QSet<int>& registeredIds()
{
    static QSet<int> ids;
    return ids;
}

// Ids are counted from 1 for the whole process. After the last id the count starts over,
// passing by the ids that are still registered.
int nextHotkeyId()
{
    static std::atomic<quint32> counter{0};
    int id = 0;
    for (int attempt = 0; attempt < kLastHotkeyId; ++attempt) {
        id = static_cast<int>(counter.fetch_add(1, std::memory_order_relaxed) % kLastHotkeyId) + 1;
        if (!registeredIds().contains(id))
            break;
    }
    return id;
}

bool isWindowsMessage(const QByteArray& eventType)
{
    // Thread messages come through the event dispatcher, window messages through the window
    // system; on other systems the GUI layer hands them over as window messages.
    return eventType == "windows_generic_MSG" || eventType == "windows_dispatcher_MSG";
}

// Hands WM_HOTKEY of backends whose system does not post it to the GUI thread to that
// thread's native event filters, as if it had come from its message queue.
void deliverToGuiThread(const MSG& message)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app,
        [message] {
            if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
                MSG posted = message;
                qintptr result = 0;
                dispatcher->filterNativeEvent(QByteArrayLiteral("windows_generic_MSG"), &posted,
                                              &result);
            }
        },
        Qt::QueuedConnection);
}

void setActivationResult(const QVariant& value)
{
    QCoreApplication::instance()->setProperty(AppProperty::scenarioActivationResult, value);
}

} // namespace

QGlobalShortcut::QGlobalShortcut(QObject* parent)
    : QObject(parent), m_keyNames(KeyMapping::keyNameTable())
{
    platform::Platform::setMessageReceiver(&deliverToGuiThread);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

QGlobalShortcut::~QGlobalShortcut()
{
    unsetShortcut();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

SwitchSound* QGlobalShortcut::sharedSwitchSound()
{
    static QPointer<SwitchSound> sound;
    if (!sound)
        sound = new SwitchSound(QCoreApplication::instance());
    return sound;
}

bool QGlobalShortcut::setShortcut(const QKeySequence& keySequence)
{
    const QKeySequence previous = m_keySequence;
    unsetShortcut();
    m_errorText.clear();
    if (keySequence.isEmpty())
        return true;

    platform::Platform& system = platform::Platform::current();
    for (int chord = 0; chord < keySequence.count(); ++chord) {
        const QString text = QKeySequence(keySequence[chord]).toString(QKeySequence::NativeText);
        const int id = nextHotkeyId();
        const int virtualKey = KeyMapping::virtualKeyOfChord(text, m_keyNames);
        const UINT modifiers = KeyMapping::modifiersOfChord(text);
        if (!system.registerHotKey(nullptr, id, modifiers, static_cast<UINT>(virtualKey))) {
            const DWORD error = system.getLastError();
            if (error == ERROR_HOTKEY_ALREADY_REGISTERED) {
                m_errorText = tr("Сочетание уже используется другой программой.");
            } else {
                m_errorText = QString::fromStdWString(system.formatMessage(error)).trimmed();
                if (m_errorText.isEmpty())
                    m_errorText = tr("Код ошибки: %1").arg(error);
            }
            unsetShortcut();
            m_keySequence = previous;
            return false;
        }
        m_ids.append(id);
        registeredIds().insert(id);
    }
    m_keySequence = keySequence;
    return true;
}

bool QGlobalShortcut::unsetShortcut()
{
    platform::Platform& system = platform::Platform::current();
    for (int id : std::as_const(m_ids)) {
        system.unregisterHotKey(nullptr, id);
        registeredIds().remove(id);
    }
    m_ids.clear();
    m_keySequence = QKeySequence();
    return true;
}

void QGlobalShortcut::setEnabled(bool enable)
{
    m_enabled = enable;
}

bool QGlobalShortcut::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/)
{
    // Made ready before the first press, so that the first confirmation does not wait for
    // the media back end to start.
    static bool playerCreated = false;
    if (!playerCreated) {
        sharedSwitchSound();
        playerCreated = true;
    }

    if (m_ids.isEmpty() || !isWindowsMessage(eventType))
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_HOTKEY || msg->wParam > WPARAM{kLastHotkeyId})
        return false;
    const qsizetype chord = m_ids.indexOf(static_cast<int>(msg->wParam));
    if (chord < 0)
        return false;
    // A field capturing a combination gets the press, even a disabled hotkey's.
    if (HotkeyCapture::instance().deliver(QKeySequence(m_keySequence[chord])))
        return true;
    if (!m_enabled)
        return false;

    // A handler that confirms the press itself sets the activation result; otherwise the
    // plain switch sound confirms it. This object may be gone once activated() returns.
    const bool isSound = QCoreApplication::instance()->property(AppProperty::isSound).toBool();
    setActivationResult(QVariant());
    emit activated();
    if (!QCoreApplication::instance()->property(AppProperty::scenarioActivationResult).isValid() &&
        isSound)
        sharedSwitchSound()->play();
    setActivationResult(QVariant());
    return true;
}
