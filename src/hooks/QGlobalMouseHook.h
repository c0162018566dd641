#pragma once

#include "platform/WinApi.h"

#include <QSemaphore>
#include <QThread>

// Observes the physical left, right and middle mouse buttons and the side buttons (back, X1,
// and forward, X2) system-wide, whichever window has the focus, through a low-level mouse
// hook on its own thread, and reports each press and release. It only observes: every mouse
// event is passed on unchanged. The program's own clicks are not reported, whether it sent
// them through the system (injected input) or through the virtual HID mouse.
//
// The signals are emitted on the hook thread; receivers on the GUI thread connect with
// queued connections, so the hook never waits for them.
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

    void stopThread();

    QSemaphore m_hookInstalled;
    int m_users = 0; // touched on the GUI thread only
};
