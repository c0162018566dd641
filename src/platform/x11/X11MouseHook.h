#pragma once

#include "../Platform.h"

#include <X11/extensions/XInput2.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class X11Screens;

// The low-level hooks (mouse and keyboard) and raw mouse input, fed by XInput2 raw events:
// buttons and the wheel, keys by their keycodes, and motion in the device's own counts,
// unaccelerated. Every thread that installs a hook or registers for raw input gets a
// connection of its own, which its event loop watches (hookEventDescriptor());
// processHookEvents() then calls the thread's newest hook of each kind, or the raw input
// procedure, with the events read. A connection selects only the events somebody on its
// thread hears. A thread that removes a hook or its raw input first hears every event the
// server reported until then, so that what was done before is not lost. The hooks only
// observe: X has delivered the event already, whatever they return.
//
// X cannot tell one client's XTEST events from another's: an event from an XTEST device that
// matches one this backend has sent (noteSentButton(), noteSentKey(), noteSentMotion()) and
// not yet seen come back counts as injected, every other one as physical, other programs'
// synthetic input included. Sent input is noted only for the threads that hear its kind.
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
    bool registerRawMouseInput(Platform::RawMouseProc procedure);
    int hookEventDescriptor();
    void processHookEvents();

    // Input this backend is about to send through XTEST: every hook will see it come back and
    // can tell it from the user's. A button by X's number, a key by its keycode, and a pointer
    // motion.
    void noteSentButton(unsigned int button, bool press);
    void noteSentKey(unsigned int keycode, bool press);
    void noteSentMotion();

private:
    struct HookThread;
    HookThread* hookThreadOfCaller();   // with m_mutex held
    HookThread* openHookThreadOfCaller(); // the caller's, opened when it has none
    void select(HookThread& thread);      // with m_mutex held
    // With m_mutex held: a thread without hooks or raw input leaves the list into finished.
    void closeIfUnused(HookThread& thread, std::unique_ptr<HookThread>& finished);
    static bool hears(const HookThread& thread, int hookId); // with m_mutex held
    static bool takeUnseen(const HookThread& thread, int sourceDevice, int& unseen);
    void hearReported(); // the caller's thread reads what the server has reported until now
    void readEvents(HookThread& thread);
    HOOKPROC newestHook(HookThread& thread, int hookId); // with m_mutex held
    void deliverButton(HookThread& thread, const XIRawEvent& event, bool press);
    void deliverKey(HookThread& thread, const XIRawEvent& event, bool press);
    void deliverMotion(HookThread& thread, const XIRawEvent& event);

    const X11Screens& m_screens;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<HookThread>> m_threads;
    std::uintptr_t m_lastHandle = 0;
};

} // namespace platform
