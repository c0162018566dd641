#pragma once

#include "../Platform.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

// An in-process desktop: the backend of tests and of runs without a supported desktop.
// It keeps the cursor, the screens and the key, button and lock states, applies every
// record sent to it the way Windows does, and remembers the records for inspection. It
// also keeps the registered hotkeys, the installed keyboard layouts and the low-level mouse
// hooks.
//
// Threads: a hotkey press is posted through Platform's message receiver. Mouse hooks are
// called on the thread that produces the mouse event (the test pressing a button, or the
// caller of sendInput), outside the desktop's lock, before the event takes effect.
class SimulatedPlatform : public Platform
{
public:
    struct Screen
    {
        LONG left;
        LONG top;
        LONG width;
        LONG height;
    };

    struct HotKey
    {
        HWND window;
        int id;
        UINT modifiers;
        UINT virtualKey;
    };

    // The most recent records kept for inspection; older ones are dropped.
    static constexpr std::size_t kRecordHistory = 1 << 16;
    // The highest hotkey id Windows accepts from an application (ids start at 0).
    static constexpr int kMaxHotKeyId = 0xBFFF;
    // The keyboard layouts the desktop knows: English (United States) and Russian.
    static inline const HKL kEnglishLayout = reinterpret_cast<HKL>(std::uintptr_t{0x04090409});
    static inline const HKL kRussianLayout = reinterpret_cast<HKL>(std::uintptr_t{0x04190419});

    SimulatedPlatform();

    UINT sendInput(UINT count, const INPUT* inputs, int recordSize) override;
    bool getCursorPos(POINT& point) override;
    int getSystemMetrics(int index) override;
    SHORT getAsyncKeyState(int virtualKey) override;
    SHORT getKeyState(int virtualKey) override;
    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;
    void sleepUntil(LONGLONG counter) override;
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

    // Replaces the screens. The first is the primary screen; Windows places its top-left
    // corner at (0, 0), so the others are given relative to it. The cursor is kept on them.
    void setScreens(std::vector<Screen> screens);
    // Puts the cursor at a point, kept on the screens as the real cursor is.
    void setCursorPos(POINT point);
    // A physical press or release of a key or mouse button (VK_LBUTTON, VK_CAPITAL, ...).
    // A press of a key that was up flips its toggle, as Windows does. A mouse button goes
    // through the mouse hooks first and takes effect only when they pass it on.
    void setKeyDown(int virtualKey, bool down);
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
    struct MouseHook
    {
        HHOOK handle;
        HOOKPROC procedure;
    };

    struct KeyState
    {
        bool down = false;
        bool toggled = false;
    };

    static MouseEvents mouseEventsOf(const MOUSEINPUT& mouse);
    bool passThroughMouseHooks(const MouseEvent& event, DWORD flags, ULONG_PTR extraInfo);
    void applyMouseEvent(const MouseEvent& event, const MOUSEINPUT& mouse);
    std::vector<MouseHook>::iterator findMouseHook(HHOOK hook); // with the lock held
    void applyKeyboardRecord(const KEYBDINPUT& keyboard);
    void changeKey(int virtualKey, bool down);
    void moveCursorTo(LONG x, LONG y);
    Screen virtualDesktop() const;

    std::mutex m_mutex;
    std::vector<Screen> m_screens;
    POINT m_cursor{0, 0};
    std::array<KeyState, 256> m_keys{};
    std::deque<INPUT> m_records;
    std::vector<HotKey> m_hotKeys;
    std::vector<std::pair<UINT, UINT>> m_heldElsewhere;
    DWORD m_registerHotKeyError = ERROR_SUCCESS;
    std::vector<HKL> m_layouts{kEnglishLayout, kRussianLayout};
    HKL m_currentLayout = kEnglishLayout;
    std::vector<MouseHook> m_mouseHooks; // the newest first, as Windows calls them
    std::atomic<bool> m_anyMouseHook{false};
    std::uintptr_t m_lastHookHandle = 0;
};

} // namespace platform
