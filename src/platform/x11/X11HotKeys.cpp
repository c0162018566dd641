#include "X11HotKeys.h"

#include "X11KeyboardLayouts.h"
#include "X11LastError.h"
#include "X11Screens.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>

namespace platform {

namespace {

// The modifiers a hotkey is made of; the lock modifiers are grabbed in every combination.
constexpr unsigned int kHotKeyModifiers = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

unsigned int xModifiersOf(UINT modifiers)
{
    return ((modifiers & MOD_ALT) ? Mod1Mask : 0u) |
           ((modifiers & MOD_CONTROL) ? ControlMask : 0u) |
           ((modifiers & MOD_SHIFT) ? ShiftMask : 0u) | ((modifiers & MOD_WIN) ? Mod4Mask : 0u);
}

std::array<unsigned int, 4> lockCombinations(unsigned int numLockMask)
{
    return {0u, LockMask, numLockMask, LockMask | numLockMask};
}

} // namespace

X11HotKeys::X11HotKeys(X11Screens& screens, X11KeyboardLayouts& layouts)
    : m_screens(screens), m_layouts(layouts)
{}

X11HotKeys::~X11HotKeys()
{
    if (m_eventThread.joinable()) {
        m_stopping.store(true);
        wakeEventThread();
        m_eventThread.join();
    }
    for (int descriptor : m_wakePipe) {
        if (descriptor >= 0)
            ::close(descriptor);
    }
}

bool X11HotKeys::start(Poster post)
{
    m_connection = openX11Connection(&m_grabRefused);
    Display* display = m_connection.get();
    if (!display || !m_layouts.listen(display))
        return false;
    m_screens.listen(display);
    XSync(display, False);

    if (::pipe(m_wakePipe.data()) != 0)
        return false;
    for (int descriptor : m_wakePipe) {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
        ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    }
    m_eventThread = std::thread([this, post] { readEvents(post); });
    return true;
}

BOOL X11HotKeys::registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey,
                                KeyCode keycode)
{
    if (keycode == 0)
        return X11LastError::fail(ERROR_INVALID_PARAMETER); // no key of this keyboard
    const unsigned int xModifiers = xModifiersOf(modifiers);
    bool refused = false;
    {
        std::lock_guard lock(m_mutex);
        const bool taken =
            std::any_of(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
                return (hotKey.window == window && hotKey.id == id) ||
                       (hotKey.keycode == keycode && hotKey.xModifiers == xModifiers);
            });
        if (taken)
            return X11LastError::fail(ERROR_HOTKEY_ALREADY_REGISTERED);
        Display* display = m_connection.get();
        const Window root = DefaultRootWindow(display);
        unsigned int numLockMask = XkbKeysymToModifiers(display, XK_Num_Lock);
        if (numLockMask == 0)
            numLockMask = Mod2Mask;
        // Without the lock modifiers' combinations the hotkey would not work while Caps Lock
        // or Num Lock is on. Another client's grab is refused with an error that arrives
        // later: the sync waits for it.
        m_grabRefused.store(false);
        takeX11ErrorHandler();
        for (const unsigned int locks : lockCombinations(numLockMask))
            XGrabKey(display, keycode, xModifiers | locks, root, False, GrabModeAsync,
                     GrabModeAsync);
        XSync(display, False);
        refused = m_grabRefused.load();
        if (refused) {
            for (const unsigned int locks : lockCombinations(numLockMask))
                XUngrabKey(display, keycode, xModifiers | locks, root);
            XFlush(display);
        } else {
            m_hotKeys.push_back(
                {window, id, modifiers, virtualKey, keycode, xModifiers, numLockMask});
        }
    }
    // The sync may have read events the reading thread is not waiting for.
    wakeEventThread();
    return refused ? X11LastError::fail(ERROR_HOTKEY_ALREADY_REGISTERED) : 1;
}

BOOL X11HotKeys::unregisterHotKey(HWND window, int id)
{
    {
        std::lock_guard lock(m_mutex);
        const auto found =
            std::find_if(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
                return hotKey.window == window && hotKey.id == id;
            });
        if (found == m_hotKeys.end())
            return X11LastError::fail(ERROR_HOTKEY_NOT_REGISTERED);
        Display* display = m_connection.get();
        for (const unsigned int locks : lockCombinations(found->numLockMask))
            XUngrabKey(display, found->keycode, found->xModifiers | locks,
                       DefaultRootWindow(display));
        // Free for other clients once this returns, as on Windows.
        XSync(display, False);
        m_hotKeys.erase(found);
    }
    wakeEventThread();
    return 1;
}

void X11HotKeys::wakeEventThread() const
{
    const char wake = 1;
    [[maybe_unused]] const auto written = ::write(m_wakePipe[1], &wake, 1);
}

void X11HotKeys::readEvents(Poster post)
{
    Display* display = m_connection.get();
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    std::vector<MSG> presses;
    while (!m_stopping.load()) {
        {
            std::lock_guard lock(m_mutex);
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                handleEvent(event, presses);
            }
        }
        for (const MSG& press : presses)
            post(press);
        presses.clear();
        ::poll(watched, 2, -1);
        char drained[64];
        while (::read(m_wakePipe[0], drained, sizeof drained) > 0) {
        }
    }
}

void X11HotKeys::handleEvent(XEvent& event, std::vector<MSG>& hotKeyPresses)
{
    if (event.type != KeyPress) {
        if (!m_layouts.handleEvent(event))
            m_screens.handleEvent(event);
        return;
    }
    const XKeyEvent& key = event.xkey;
    for (const HotKey& hotKey : m_hotKeys) {
        if (hotKey.keycode != key.keycode || hotKey.xModifiers != (key.state & kHotKeyModifiers))
            continue;
        MSG message{};
        message.hwnd = hotKey.window;
        message.message = WM_HOTKEY;
        message.wParam = static_cast<WPARAM>(hotKey.id);
        message.lParam = static_cast<LPARAM>((hotKey.virtualKey << 16) |
                                             (hotKey.modifiers & ~MOD_NOREPEAT & 0xFFFF));
        message.time = static_cast<DWORD>(key.time);
        message.pt = m_screens.fromRoot(key.x_root, key.y_root);
        hotKeyPresses.push_back(message);
        break;
    }
}

} // namespace platform
