#pragma once

#include "../WinApi.h"
#include "X11Connection.h"

#include <array>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class X11KeyboardLayouts;
class X11Screens;

// RegisterHotKey and UnregisterHotKey as passive key grabs on the root window, on a
// connection of their own. A thread of its own reads that connection: a press of a grabbed
// combination becomes a WM_HOTKEY message handed to the poster, and the news of changed
// keyboard maps and screens that arrive on it go to the layouts and the screens.
class X11HotKeys
{
public:
    using Poster = void (*)(const MSG& message);

    X11HotKeys(X11Screens& screens, X11KeyboardLayouts& layouts);
    // Stops the reading thread.
    ~X11HotKeys();
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    // Connects, asks for the news and starts the reading thread, which posts the presses
    // through post; false when the display cannot be reached or lacks XKB.
    bool start(Poster post);

    // keycode is the key of virtualKey in the keyboard map now; on failure the reason is
    // left for getLastError().
    BOOL registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey, KeyCode keycode);
    BOOL unregisterHotKey(HWND window, int id);

private:
    struct HotKey
    {
        HWND window;
        int id;
        UINT modifiers;
        UINT virtualKey;
        KeyCode keycode;
        unsigned int xModifiers;
        unsigned int numLockMask;
    };

    void readEvents(Poster post);
    void handleEvent(XEvent& event, std::vector<MSG>& hotKeyPresses);
    void wakeEventThread() const;

    X11Screens& m_screens;
    X11KeyboardLayouts& m_layouts;
    std::mutex m_mutex; // the hotkeys and the reading of the connection
    std::atomic<bool> m_grabRefused{false};
    X11Connection m_connection;
    std::vector<HotKey> m_hotKeys;
    std::array<int, 2> m_wakePipe{-1, -1};
    std::atomic<bool> m_stopping{false};
    std::thread m_eventThread;
};

} // namespace platform
