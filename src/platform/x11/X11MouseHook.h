#pragma once

#include "../WinApi.h"

#include <X11/extensions/XInput2.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class X11Screens;

// The low-level mouse hook, fed by XInput2 raw button events. Every thread that installs a
// hook gets a connection of its own, which its event loop watches (hookEventDescriptor());
// processHookEvents() then calls the thread's newest hook with the events read. The hook
// only observes: X has delivered the event already, whatever the hook returns.
//
// X cannot tell one client's XTEST events from another's: a button event that matches one
// this backend has sent (noteSentButton()) and not yet seen come back counts as injected,
// every other one as physical, other programs' synthetic clicks included.
class X11MouseHook
{
public:
    explicit X11MouseHook(const X11Screens& screens);
    ~X11MouseHook();
    X11MouseHook(const X11MouseHook&) = delete;
    X11MouseHook& operator=(const X11MouseHook&) = delete;

    HHOOK setWindowsHookEx(int hookId, HOOKPROC procedure, DWORD threadId);
    BOOL unhookWindowsHookEx(HHOOK hook);
    LRESULT callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
    int hookEventDescriptor();
    void processHookEvents();

    // A button event (X's button number) this backend is about to send: every hook will
    // see it come back and can tell it from the user's.
    void noteSentButton(unsigned int button, bool press);

private:
    struct HookThread;
    HookThread* hookThreadOfCaller(); // with m_mutex held
    void deliverButton(HookThread& thread, const XIRawEvent& event, bool press);

    const X11Screens& m_screens;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<HookThread>> m_threads;
    std::uintptr_t m_lastHandle = 0;
};

} // namespace platform
