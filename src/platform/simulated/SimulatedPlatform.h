#pragma once

#include "../Platform.h"
#include "SimulatedElevation.h"
#include "SimulatedHotKeys.h"
#include "SimulatedKeyState.h"
#include "SimulatedKeyboardLayouts.h"
#include "SimulatedMouseHook.h"
#include "SimulatedScreens.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace platform {

// An in-process desktop: the backend of tests and of runs without a supported desktop.
// It keeps the cursor, the screens and the key, button and lock states, applies every
// record sent to it the way Windows does, and remembers the records for inspection. It
// also keeps the registered hotkeys, the installed keyboard layouts, the low-level mouse and
// keyboard hooks and the receiver of raw mouse input.
//
// Threads: a hotkey press is posted through Platform's message receiver. Hooks and the raw
// mouse receiver are called on the thread that produces the event (the test pressing a
// button, or the caller of sendInput), outside the desktop's lock, before the event takes
// effect.
//
// The desktop's parts (screens and cursor, key states, hotkeys, keyboard layouts, mouse
// hooks) are kept by classes of their own, all under the one lock of this class, which
// passes every record sent through the hooks into them.
class SimulatedPlatform : public Platform
{
public:
    using Screen = SimulatedScreens::Screen;
    using HotKey = SimulatedHotKeys::HotKey;

    // The most recent records kept for inspection; older ones are dropped.
    static constexpr std::size_t kRecordHistory = 1 << 16;
    // The highest hotkey id Windows accepts from an application (ids start at 0).
    static constexpr int kMaxHotKeyId = SimulatedHotKeys::kMaxHotKeyId;
    // The keyboard layouts the desktop knows: English (United States) and Russian.
    static inline const HKL kEnglishLayout = SimulatedKeyboardLayouts::kEnglishLayout;
    static inline const HKL kRussianLayout = SimulatedKeyboardLayouts::kRussianLayout;

    UINT sendInput(UINT count, const INPUT* inputs, int recordSize) override;
    bool getCursorPos(POINT& point) override;
    int getSystemMetrics(int index) override;
    SHORT getAsyncKeyState(int virtualKey) override;
    SHORT getKeyState(int virtualKey) override;
    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;
    void sleepUntil(LONGLONG counter) override;
    bool sleepsPrecisely() override;
    BOOL registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) override;
    BOOL unregisterHotKey(HWND window, int id) override;
    DWORD getLastError() override;
    std::wstring formatMessage(DWORD messageId) override;
    int getKeyboardLayoutList(int count, HKL* layouts) override;
    HKL getKeyboardLayout(DWORD threadId) override;
    SHORT vkKeyScanEx(WCHAR character, HKL layout) override;
    HHOOK setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE module,
                           DWORD threadId) override;
    BOOL unhookWindowsHookEx(HHOOK hook) override;
    LRESULT callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) override;
    bool registerRawMouseInput(RawMouseProc procedure) override;
    // Always watches; the program in front is the one a test set (none at the start).
    bool watchForeground(ForegroundReceiver receiver) override;

    ForegroundProgram programInFront() override;
    bool isElevated() override;
    DWORD startElevated(const std::wstring& program, const std::wstring& parameters,
                        ExitReceiver finished) override;

    // Brings a program to the front: the watching receiver hears of it on the calling thread.
    void setForegroundProgram(ForegroundProgram program);
    // Whether the process has the administrator's rights, and the programs started with them.
    SimulatedElevation& elevation() { return m_elevation; }

    // Replaces the screens. The first is the primary screen; Windows places its top-left
    // corner at (0, 0), so the others are given relative to it. The cursor is kept on them.
    void setScreens(std::vector<Screen> screens);
    // Puts the cursor at a point, kept on the screens as the real cursor is.
    void setCursorPos(POINT point);
    // A physical press or release of a key or mouse button (VK_LBUTTON, VK_CAPITAL, ...).
    // A press of a key that was up flips its toggle, as Windows does. A mouse button goes
    // through the mouse hooks first and takes effect only when they pass it on.
    void setKeyDown(int virtualKey, bool down);
    // A physical press or release of a keyboard key with its set-1 scan code (0xE0 in the
    // high byte for the extended keys): the keyboard hooks hear it first, and it takes effect
    // only when they pass it on.
    void setKeyDown(int virtualKey, WORD scanCode, bool down);
    // The user moves the mouse by (dx, dy) counts: raw input reports them, the mouse hooks
    // see the move, and the cursor moves as Windows moves it.
    void moveMouse(int dx, int dy);
    // A physical turn of the mouse wheel by notches (positive away from the user).
    void turnMouseWheel(int notches);
    // Sets the toggle state of a key directly (Caps Lock, Num Lock, Scroll Lock).
    void setKeyToggled(int virtualKey, bool toggled);

    // The records received since the last call, oldest first.
    std::vector<INPUT> takeSentRecords();

    // The user presses a combination (MOD_* bits and a virtual key). When a hotkey is
    // registered for it, WM_HOTKEY is posted for it and true returned.
    bool pressHotKey(UINT modifiers, UINT virtualKey);
    // The hotkeys registered now, in registration order.
    std::vector<HotKey> registeredHotKeys();
    // Marks a combination as held by another program (or frees it): registering it fails
    // with ERROR_HOTKEY_ALREADY_REGISTERED.
    void setHotKeyHeldElsewhere(UINT modifiers, UINT virtualKey, bool held);
    // Makes every hotkey registration fail with this error; ERROR_SUCCESS ends that.
    void setRegisterHotKeyError(DWORD error);
    // Replaces the installed keyboard layouts (English, then Russian, at the start).
    void setKeyboardLayouts(std::vector<HKL> layouts);
    // The layout the user types with now (the first installed one at the start).
    void setCurrentKeyboardLayout(HKL layout);
    // How many low-level mouse hooks are installed.
    std::size_t mouseHookCount();

private:
    struct MouseEvent
    {
        UINT message;
        DWORD mouseData; // as in MSLLHOOKSTRUCT: wheel delta or X button in the high word
    };
    struct MouseEvents
    {
        std::array<MouseEvent, 11> events;
        std::size_t count = 0;
    };

    static MouseEvents mouseEventsOf(const MOUSEINPUT& mouse);
    bool passThroughMouseHooks(const MouseEvent& event, DWORD flags, ULONG_PTR extraInfo);
    bool passThroughKeyboardHooks(const KEYBDINPUT& record); // a record sent
    bool passThroughKeyboardHooks(const KBDLLHOOKSTRUCT& key);
    void reportRawMove(const MOUSEINPUT& mouse, bool injected);
    void applyMouseEvent(const MouseEvent& event, const MOUSEINPUT& mouse); // with the lock held

    std::mutex m_mutex;
    SimulatedScreens m_screens;
    SimulatedKeyState m_keys;
    SimulatedHotKeys m_hotKeys;
    SimulatedKeyboardLayouts m_layouts;
    SimulatedMouseHook m_mouseHooks;
    SimulatedMouseHook m_keyboardHooks{std::uintptr_t{1} << 24};
    std::atomic<RawMouseProc> m_rawMouse{nullptr};
    std::deque<INPUT> m_records;
    // Apart from the desktop's lock: held while the receiver runs, so that a receiver
    // replaced is not running any more.
    std::mutex m_foregroundMutex;
    ForegroundProgram m_foreground;
    ForegroundReceiver m_foregroundReceiver;
    SimulatedElevation m_elevation;
};

} // namespace platform
