#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

class SwitchSound;

// A system-wide hotkey: registers a key sequence with the system, one hotkey per chord, and
// emits activated() when the system reports one of them, whichever program has the focus.
// The reports arrive as WM_HOTKEY messages through the application's native event filters,
// on the GUI thread.
class QGlobalShortcut : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit QGlobalShortcut(QObject* parent = nullptr);
    ~QGlobalShortcut() override;

    // The registered sequence; after a failed setShortcut, the one registered before it,
    // which is then no longer registered.
    QKeySequence keySequence() const { return m_keySequence; }
    // Why the last setShortcut failed.
    QString errorText() const { return m_errorText; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The player of the plain switch sound of hotkeys whose handler gives no feedback of its
    // own, shared by all shortcuts.
    static SwitchSound* sharedSwitchSound();

signals:
    void activated();

public slots:
    // Registers keySequence in place of the current registration; false with errorText()
    // when the system refuses a chord, and then nothing is registered.
    bool setShortcut(const QKeySequence& keySequence);
    // Unregisters everything; always true.
    bool unsetShortcut();
    // While disabled, presses are left to other filters; the registration stays.
    void setEnabled(bool enable);

private:
    QKeySequence m_keySequence;
    QList<int> m_ids; // one hotkey id per registered chord
    QHash<QString, int> m_keyNames;
    bool m_enabled = true;
    QString m_errorText;
};
