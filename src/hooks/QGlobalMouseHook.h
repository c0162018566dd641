#pragma once

#include "platform/WinApi.h"

#include <QSemaphore>
#include <QThread>

class InputListener;

// Observes the physical left, right and middle mouse buttons and the side buttons (back, X1,
// and forward, X2) system-wide, whichever window has the focus, through a low-level mouse
// hook on its own thread, and reports each press and release. It only observes: every mouse
// event is passed on unchanged. The program's own clicks are not reported, whether it sent
// them through the system (injected input) or through the virtual HID mouse.
//
// The signals are emitted on the hook thread; receivers on the GUI thread connect with
// queued connections, so the hook never waits for them. A listener (the macro recorder) can
// also hear the user's buttons, wheel, movement and keys directly on the hook thread.
class QGlobalMouseHook : public QThread
{
    Q_OBJECT

public:
    // The process-wide hook, for a new user (a scenario model, the autoclicker's hold modes):
    // counts the user and starts the thread, and with it the hook, when it is not running.
    static QGlobalMouseHook* acquire();
    // A user leaves. When it was the last, the thread ends and this waits until it has
    // finished, which ends the hook; the next acquire() starts both again.
    static void release();
    // Ends the hook whoever still uses it: at exit, before the system backend goes away.
    static void shutdown();

    ~QGlobalMouseHook() override;

    // From the GUI thread, while the hook runs: makes listener hear the user's buttons 1 to 5,
    // wheel, movement and keys on the hook thread (KeyAndMotionHook installs the keyboard hook
    // and raw input for it); nullptr ends that. Returns once the hook thread has done it: events
    // after this call reach the new listener, and the old one is not called any more.
    void setInputListener(InputListener* listener);

signals:
    void leftMouseButtonEvent(bool pressed);
    void rightMouseButtonEvent(bool pressed);
    void midMouseButtonEvent(bool pressed);
    void xButton1Event(bool pressed);
    void xButton2Event(bool pressed);

protected:
    // Installs the hook, runs the event loop through which the system calls it, and removes
    // the hook when the loop ends.
    void run() override;

private:
    QGlobalMouseHook();
    static QGlobalMouseHook& object();
    static LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam);
    static void tellListener(InputListener& listener, UINT message, const MSLLHOOKSTRUCT& event);

    void stopThread();

    QSemaphore m_hookInstalled;
    QObject* m_threadContext = nullptr; // lives on the hook thread while it runs
    int m_users = 0; // touched on the GUI thread only
};
