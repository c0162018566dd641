#include "X11Platform.h"

#include "../MonotonicClock.h"
#include "../SystemMessages.h"

#include "X11Keymap.h"
#include "X11Keys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

namespace {

// GetLastError is kept per thread, as on Windows.
thread_local DWORD lastError = ERROR_SUCCESS;

BOOL fail(DWORD error)
{
    lastError = error;
    return 0;
}

// The request code of GrabKey (X_GrabKey): <X11/Xproto.h> cannot be included beside the
// Windows vocabulary, whose BOOL and BYTE it defines again.
constexpr unsigned char kGrabKeyRequest = 33;

// Xlib reports errors asynchronously to one process-wide handler whose default ends the
// process. The errors of this backend's connections end here: a key grab refused because
// another client holds the combination is noted for the registration waiting for it, the
// rest are dropped (the calls they belong to report no result). Other connections' errors
// go on to the handler that was there before.
std::mutex watchedMutex;
std::vector<std::pair<Display*, std::atomic<bool>*>> watchedDisplays;
std::atomic<XErrorHandler> otherErrorHandler{nullptr};

int onXError(Display* display, XErrorEvent* error)
{
    {
        std::lock_guard lock(watchedMutex);
        for (const auto& [watched, grabRefused] : watchedDisplays) {
            if (watched != display)
                continue;
            if (grabRefused && error->request_code == kGrabKeyRequest &&
                error->error_code == BadAccess)
                grabRefused->store(true);
            return 0;
        }
    }
    const XErrorHandler other = otherErrorHandler.load();
    return other ? other(display, error) : 0;
}

// Puts onXError in front again should someone have replaced it since.
void takeErrorHandler()
{
    const XErrorHandler previous = XSetErrorHandler(&onXError);
    if (previous != &onXError)
        otherErrorHandler.store(previous);
}

struct CloseDisplay
{
    void operator()(Display* display) const
    {
        XCloseDisplay(display); // still watched: closing waits for the last errors
        // A connection opened meanwhile may have the same address; it was added later.
        std::lock_guard lock(watchedMutex);
        const auto entry =
            std::find_if(watchedDisplays.begin(), watchedDisplays.end(),
                         [display](const auto& watched) { return watched.first == display; });
        if (entry != watchedDisplays.end())
            watchedDisplays.erase(entry);
    }
};
using Connection = std::unique_ptr<Display, CloseDisplay>;

// A new connection to the display of $DISPLAY whose errors this backend handles.
Connection connectToDisplay(std::atomic<bool>* grabRefused = nullptr)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    {
        std::lock_guard lock(watchedMutex);
        watchedDisplays.emplace_back(display, grabRefused);
    }
    takeErrorHandler();
    return Connection(display);
}

// Mouse buttons as X numbers them: 1 left, 2 middle, 3 right, 4 to 7 the wheels (up, down,
// left, right), 8 and 9 the side buttons.
constexpr unsigned int kButtonCount = 10;

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

// The keyboard layout handle of an XKB group: group g is kFirstLayout + g.
constexpr std::uintptr_t kFirstLayout = 0xF0000000;

// The wheel turns that one record may ask for at most: the notches are sent one by one.
constexpr long long kMaxWheelNotches = 1000;

// How long the screens read are used while the server announces no change.
constexpr auto kScreensKeptFor = std::chrono::milliseconds(500);

struct Screens
{
    // The primary screen in root-window pixels.
    LONG primaryLeft = 0;
    LONG primaryTop = 0;
    LONG primaryWidth = 0;
    LONG primaryHeight = 0;
    LONG rootWidth = 0;
    LONG rootHeight = 0;
    int monitors = 1;
};

LONG toPixel(LONG normalised, LONG extent)
{
    const std::int64_t span = extent >= 2 ? extent - 1 : 1;
    return static_cast<LONG>(
        std::clamp<std::int64_t>((std::int64_t{normalised} * span + 32767) / 65535, 0, span));
}

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

// A keycode without symbols of its own that carries a character for this backend. It keeps
// the character after its release: the other clients read the new keyboard map when they
// get round to it, and by then it must still be the one the press was made with.
struct LoanedKey
{
    char16_t character;
    unsigned long long lastUse;
};

// The connection and the hooks of one thread that installed mouse hooks.
struct HookThread
{
    std::thread::id owner;
    Connection connection;
    int inputOpcode = 0;
    std::vector<int> syntheticDevices; // the XTEST pointers: the source of all XTEST clicks
    std::vector<std::pair<HHOOK, HOOKPROC>> hooks; // the newest first, as Windows calls them
    // Button events this backend sent that the hook has not seen yet: [button][press].
    std::array<std::array<int, 2>, kButtonCount> unseen{};
};

} // namespace

struct X11Platform::Desktop
{
    ~Desktop();

    // With inputMutex held.
    void refreshKeymap();
    const Screens& currentScreens();
    KeyCode keycodeOfVirtualKey(int virtualKey);
    bool sendMouse(const MOUSEINPUT& mouse);
    void sendButton(unsigned int button, bool press);
    bool sendKeyboard(const KEYBDINPUT& key);
    bool typeCharacter(char16_t character, bool press);
    KeyCode loanKey(char16_t character);
    SHORT keyState(int virtualKey, bool withToggle);
    bool pointerButtonDown(int button);

    void readEvents();
    void handleEvent(XEvent& event, std::vector<MSG>& hotKeyPresses);
    void wakeEventThread() const;

    HookThread* hookThreadOfCaller(); // with hooksMutex held
    void deliverButton(HookThread& thread, const XIRawEvent& event, bool press);

    // The callers' connection: input, cursor, screens, key states, the keymap.
    std::mutex inputMutex;
    Connection input;
    Window root = 0;
    int screen = 0;
    bool hasMonitors = false;
    int pointer = 0; // the pointer whose buttons are read (XInput2), 0 without XInput2
    std::array<Atom, 3> lockIndicators{}; // Caps Lock, Num Lock, Scroll Lock
    X11Keymap keymap;
    unsigned int keymapRead = 0;
    Screens screens;
    unsigned int screensRead = 0;
    std::chrono::steady_clock::time_point screensReadAt;
    std::map<char16_t, KeyCode> typed;       // the keys held down for characters
    std::map<KeyCode, LoanedKey> loanedKeys; // spare keycodes carrying characters
    unsigned long long loanCount = 0;
    unsigned int keyboardsSeen = 0;
    long long wheelRest = 0;
    long long horizontalWheelRest = 0;

    // The hotkey grabs, and the thread that reads their presses and the news of changed
    // keyboard maps and screens.
    std::mutex hotKeyMutex;
    Connection hotKeyConnection;
    std::atomic<bool> grabRefused{false};
    std::vector<HotKey> hotKeys;
    int xkbEventBase = -1;
    int randrEventBase = -1;
    std::array<int, 2> wakePipe{-1, -1};
    std::atomic<bool> stopping{false};
    std::atomic<unsigned int> keymapChanges{1};
    std::atomic<unsigned int> keyboardReplacements{0}; // a new keymap wipes the loaned keys
    std::atomic<unsigned int> screenChanges{1};
    std::atomic<LONG> primaryLeft{0}; // for the points of events read on other threads
    std::atomic<LONG> primaryTop{0};
    std::thread eventThread;

    std::mutex hooksMutex;
    std::vector<std::unique_ptr<HookThread>> hookThreads;
    std::uintptr_t lastHookHandle = 0;
};

X11Platform::Desktop::~Desktop()
{
    if (eventThread.joinable()) {
        stopping.store(true);
        wakeEventThread();
        eventThread.join();
    }
    for (int descriptor : wakePipe) {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    // The loaned keycodes go back to carrying nothing, unless a new keymap has replaced
    // them already; one still held down is released first.
    if (input && keyboardReplacements.load() == keyboardsSeen) {
        KeySym nothing = NoSymbol;
        for (const auto& [character, keycode] : typed) {
            if (loanedKeys.contains(keycode))
                XTestFakeKeyEvent(input.get(), keycode, False, CurrentTime);
        }
        for (const auto& [keycode, loan] : loanedKeys)
            XChangeKeyboardMapping(input.get(), keycode, 1, &nothing, 1);
        XSync(input.get(), False);
    }
}

std::unique_ptr<X11Platform> X11Platform::open()
{
    XInitThreads();
    auto desktop = std::make_unique<Desktop>();
    desktop->input = connectToDisplay();
    Display* display = desktop->input.get();
    if (!display)
        return nullptr;
    int event = 0, error = 0, major = 0, minor = 0, opcode = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        return nullptr;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return nullptr;
    desktop->root = DefaultRootWindow(display);
    desktop->screen = DefaultScreen(display);
    major = 1;
    minor = 5;
    desktop->hasMonitors = XRRQueryExtension(display, &event, &error) &&
                           XRRQueryVersion(display, &major, &minor) && (major > 1 || minor >= 5);
    // The core protocol tells the state of buttons 1 to 5 only; XInput2 that of all of them.
    major = 2;
    minor = 0;
    int deviceCount = 0;
    XIDeviceInfo* devices = nullptr;
    if (XQueryExtension(display, "XInputExtension", &opcode, &event, &error) &&
        XIQueryVersion(display, &major, &minor) == Success &&
        (devices = XIQueryDevice(display, XIAllMasterDevices, &deviceCount))) {
        for (int i = 0; i < deviceCount && desktop->pointer == 0; ++i) {
            if (devices[i].use == XIMasterPointer)
                desktop->pointer = devices[i].deviceid; // the virtual core pointer
        }
        XIFreeDeviceInfo(devices);
    }
    char capsLock[] = "Caps Lock", numLock[] = "Num Lock", scrollLock[] = "Scroll Lock";
    char* indicatorNames[] = {capsLock, numLock, scrollLock};
    XInternAtoms(display, indicatorNames, 3, False, desktop->lockIndicators.data());

    desktop->hotKeyConnection = connectToDisplay(&desktop->grabRefused);
    Display* hotKeys = desktop->hotKeyConnection.get();
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!hotKeys ||
        !XkbQueryExtension(hotKeys, &opcode, &desktop->xkbEventBase, &error, &major, &minor))
        return nullptr;
    const unsigned int keymapNews = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(hotKeys, XkbUseCoreKbd, keymapNews, keymapNews);
    if (XRRQueryExtension(hotKeys, &desktop->randrEventBase, &error)) {
        XRRSelectInput(hotKeys, DefaultRootWindow(hotKeys),
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask |
                           RROutputChangeNotifyMask);
    } else {
        desktop->randrEventBase = -1;
    }
    XSync(hotKeys, False);

    if (::pipe(desktop->wakePipe.data()) != 0)
        return nullptr;
    for (int descriptor : desktop->wakePipe) {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
        ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    }
    desktop->eventThread = std::thread([raw = desktop.get()] { raw->readEvents(); });
    return std::unique_ptr<X11Platform>(new X11Platform(std::move(desktop)));
}

X11Platform::X11Platform(std::unique_ptr<Desktop> desktop) : d(std::move(desktop)) {}

X11Platform::~X11Platform() = default;

// --- The calling thread's connection ------------------------------------------------------

void X11Platform::Desktop::refreshKeymap()
{
    const unsigned int changes = keymapChanges.load();
    if (changes != keymapRead && keymap.load(input.get()))
        keymapRead = changes;
}

const Screens& X11Platform::Desktop::currentScreens()
{
    // The server announces new modes and monitors plugged in, but not the monitors a
    // client defines (xrandr --setmonitor): those are seen by reading again after a while.
    const unsigned int changes = screenChanges.load();
    const auto now = std::chrono::steady_clock::now();
    if (changes == screensRead && now - screensReadAt < kScreensKeptFor)
        return screens;
    Display* display = input.get();
    Window rootReturn = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(display, root, &rootReturn, &x, &y, &width, &height, &border, &depth);
    Screens read;
    read.rootWidth = static_cast<LONG>(width);
    read.rootHeight = static_cast<LONG>(height);
    read.primaryWidth = read.rootWidth;
    read.primaryHeight = read.rootHeight;
    int count = 0;
    XRRMonitorInfo* monitors = hasMonitors ? XRRGetMonitors(display, root, True, &count) : nullptr;
    if (monitors && count > 0) {
        // The monitor marked primary, else the first.
        const XRRMonitorInfo* primary =
            std::find_if(monitors, monitors + count,
                         [](const XRRMonitorInfo& monitor) { return monitor.primary; });
        if (primary == monitors + count)
            primary = monitors;
        read.primaryLeft = primary->x;
        read.primaryTop = primary->y;
        read.primaryWidth = primary->width;
        read.primaryHeight = primary->height;
        read.monitors = count;
    }
    if (monitors)
        XRRFreeMonitors(monitors);
    screens = read;
    primaryLeft.store(read.primaryLeft);
    primaryTop.store(read.primaryTop);
    screensRead = changes;
    screensReadAt = now;
    return screens;
}

KeyCode X11Platform::Desktop::keycodeOfVirtualKey(int virtualKey)
{
    refreshKeymap();
    if (const KeySym keysym = X11Keys::keysymOfVirtualKey(virtualKey)) {
        if (const KeyCode keycode = keymap.keycodeOf(keysym))
            return keycode;
    }
    // A key the layouts have no symbol for (a Latin letter with only a Cyrillic layout):
    // the key at its place on a US keyboard.
    const int inputCode = X11Keys::inputCodeOfVirtualKey(virtualKey);
    return inputCode > 0 ? static_cast<KeyCode>(inputCode + X11Keys::kKeycodeOffset) : 0;
}

UINT X11Platform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    if (recordSize != static_cast<int>(sizeof(INPUT)) || inputs == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    std::lock_guard lock(d->inputMutex);
    UINT sent = 0;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& record = inputs[i];
        if ((record.type == INPUT_MOUSE && d->sendMouse(record.mi)) ||
            (record.type == INPUT_KEYBOARD && d->sendKeyboard(record.ki)))
            ++sent;
    }
    XFlush(d->input.get());
    return sent;
}

bool X11Platform::Desktop::sendMouse(const MOUSEINPUT& mouse)
{
    Display* display = input.get();
    const DWORD flags = mouse.dwFlags;
    if (flags & MOUSEEVENTF_MOVE) {
        if (flags & MOUSEEVENTF_ABSOLUTE) {
            // 0..65535 spans the primary screen or, with VIRTUALDESK, the whole root window.
            const Screens& area = currentScreens();
            const bool wholeDesktop = flags & MOUSEEVENTF_VIRTUALDESK;
            const LONG left = wholeDesktop ? 0 : area.primaryLeft;
            const LONG top = wholeDesktop ? 0 : area.primaryTop;
            const LONG width = wholeDesktop ? area.rootWidth : area.primaryWidth;
            const LONG height = wholeDesktop ? area.rootHeight : area.primaryHeight;
            XTestFakeMotionEvent(display, screen, left + toPixel(mouse.dx, width),
                                 top + toPixel(mouse.dy, height), CurrentTime);
        } else {
            // Relative XTEST motion is not accelerated: the pointer moves by exactly this.
            XTestFakeRelativeMotionEvent(display, mouse.dx, mouse.dy, CurrentTime);
        }
    }
    // The order in which Windows delivers the events of one record.
    constexpr std::pair<DWORD, std::pair<unsigned int, bool>> kButtonFlags[] = {
        {MOUSEEVENTF_LEFTDOWN, {1, true}},   {MOUSEEVENTF_LEFTUP, {1, false}},
        {MOUSEEVENTF_RIGHTDOWN, {3, true}},  {MOUSEEVENTF_RIGHTUP, {3, false}},
        {MOUSEEVENTF_MIDDLEDOWN, {2, true}}, {MOUSEEVENTF_MIDDLEUP, {2, false}},
    };
    for (const auto& [flag, button] : kButtonFlags) {
        if (flags & flag)
            sendButton(button.first, button.second);
    }
    for (const DWORD flag : {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP}) {
        if (!(flags & flag))
            continue;
        if (mouse.mouseData & XBUTTON1)
            sendButton(8, flag == MOUSEEVENTF_XDOWN);
        if (mouse.mouseData & XBUTTON2)
            sendButton(9, flag == MOUSEEVENTF_XDOWN);
    }
    // X turns the wheel in whole notches; a part of one waits for the rest.
    auto turn = [this](long long& rest, DWORD mouseData, unsigned int positive,
                       unsigned int negative) {
        rest += static_cast<LONG>(mouseData);
        const long long notches =
            std::clamp(rest / WHEEL_DELTA, -kMaxWheelNotches, kMaxWheelNotches);
        rest -= notches * WHEEL_DELTA;
        for (long long n = 0; n < (notches < 0 ? -notches : notches); ++n) {
            sendButton(notches > 0 ? positive : negative, true);
            sendButton(notches > 0 ? positive : negative, false);
        }
    };
    if (flags & MOUSEEVENTF_WHEEL)
        turn(wheelRest, mouse.mouseData, 4, 5);
    if (flags & MOUSEEVENTF_HWHEEL)
        turn(horizontalWheelRest, mouse.mouseData, 7, 6);
    return true;
}

void X11Platform::Desktop::sendButton(unsigned int button, bool press)
{
    {
        // Every hook will see this event come back and can tell it from the user's.
        std::lock_guard lock(hooksMutex);
        for (const std::unique_ptr<HookThread>& thread : hookThreads)
            ++thread->unseen[button][press ? 1 : 0];
    }
    XTestFakeButtonEvent(input.get(), button, press ? True : False, CurrentTime);
}

bool X11Platform::Desktop::sendKeyboard(const KEYBDINPUT& key)
{
    const bool press = !(key.dwFlags & KEYEVENTF_KEYUP);
    if (key.dwFlags & KEYEVENTF_UNICODE)
        return typeCharacter(static_cast<char16_t>(key.wScan), press);
    KeyCode keycode = 0;
    if (key.dwFlags & KEYEVENTF_SCANCODE) {
        const int inputCode =
            X11Keys::inputCodeOfScanCode(key.wScan, key.dwFlags & KEYEVENTF_EXTENDEDKEY);
        keycode = inputCode > 0 ? static_cast<KeyCode>(inputCode + X11Keys::kKeycodeOffset) : 0;
    } else {
        keycode = keycodeOfVirtualKey(key.wVk);
    }
    if (keycode == 0)
        return false;
    XTestFakeKeyEvent(input.get(), keycode, press ? True : False, CurrentTime);
    return true;
}

bool X11Platform::Desktop::typeCharacter(char16_t character, bool press)
{
    Display* display = input.get();
    if (const auto held = typed.find(character); held != typed.end()) {
        XTestFakeKeyEvent(display, held->second, press ? True : False, CurrentTime);
        if (!press)
            typed.erase(held);
        return true;
    }

    // A key that types the character in the keyboard's state now, or with Shift added.
    refreshKeymap();
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return false;
    const unsigned int keyState = XkbBuildCoreState(state.mods, state.group);
    KeyCode keycode = keymap.keyTyping(character, keyState);
    KeyCode shift = 0;
    if (keycode == 0 && !(state.mods & ShiftMask)) {
        shift = keymap.keycodeOf(XK_Shift_L);
        keycode = shift ? keymap.keyTyping(character, keyState | ShiftMask) : 0;
    }
    if (keycode == 0) {
        if (!press)
            return false; // no key of this backend holds the character
        keycode = loanKey(character);
        if (keycode == 0)
            return false;
    }
    // Shift is needed for the press only: the character is typed by then.
    if (press && shift)
        XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, press ? True : False, CurrentTime);
    if (press && shift)
        XTestFakeKeyEvent(display, shift, False, CurrentTime);
    if (press)
        typed[character] = keycode;
    return true;
}

KeyCode X11Platform::Desktop::loanKey(char16_t character)
{
    const KeySym keysym = X11Keys::keysymOfCharacter(character);
    if (keysym == NoSymbol)
        return 0;
    const unsigned int replacements = keyboardReplacements.load();
    if (replacements != keyboardsSeen) {
        loanedKeys.clear(); // the new keymap has none of them
        keyboardsSeen = replacements;
    }
    const auto carrying =
        std::find_if(loanedKeys.begin(), loanedKeys.end(),
                     [character](const auto& loan) { return loan.second.character == character; });
    if (carrying != loanedKeys.end()) {
        carrying->second.lastUse = ++loanCount;
        return carrying->first;
    }
    // A keycode without symbols, else the loaned one unused the longest that is not down.
    KeyCode keycode = 0;
    const std::vector<KeyCode> spare = keymap.spareKeycodes();
    const auto free = std::find_if(spare.begin(), spare.end(),
                                   [this](KeyCode key) { return !loanedKeys.contains(key); });
    if (free != spare.end()) {
        keycode = *free;
    } else {
        unsigned long long oldest = ~0ull;
        for (const auto& loaned : loanedKeys) {
            const KeyCode key = loaned.first;
            const bool down = std::any_of(typed.begin(), typed.end(),
                                          [key](const auto& held) { return held.second == key; });
            if (!down && loaned.second.lastUse < oldest) {
                oldest = loaned.second.lastUse;
                keycode = key;
            }
        }
    }
    if (keycode == 0)
        return 0;
    // The same symbol on both levels: a lone lower-case letter would get its capital as
    // the second level, and the key a type in which Caps Lock chooses it.
    KeySym symbols[2] = {keysym, keysym};
    XChangeKeyboardMapping(input.get(), keycode, 2, symbols, 1);
    loanedKeys[keycode] = {character, ++loanCount};
    return keycode;
}

bool X11Platform::getCursorPos(POINT& point)
{
    std::lock_guard lock(d->inputMutex);
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(d->input.get(), d->root, &rootReturn, &child, &rootX, &rootY, &windowX,
                       &windowY, &mask))
        return false;
    // Windows counts from the primary screen's top-left corner.
    const Screens& area = d->currentScreens();
    point = {rootX - area.primaryLeft, rootY - area.primaryTop};
    return true;
}

int X11Platform::getSystemMetrics(int index)
{
    std::lock_guard lock(d->inputMutex);
    const Screens& area = d->currentScreens();
    switch (index) {
    case SM_CXSCREEN:
        return area.primaryWidth;
    case SM_CYSCREEN:
        return area.primaryHeight;
    case SM_XVIRTUALSCREEN:
        return -area.primaryLeft;
    case SM_YVIRTUALSCREEN:
        return -area.primaryTop;
    case SM_CXVIRTUALSCREEN:
        return area.rootWidth;
    case SM_CYVIRTUALSCREEN:
        return area.rootHeight;
    case SM_CMONITORS:
        return area.monitors;
    default:
        return 0;
    }
}

SHORT X11Platform::Desktop::keyState(int virtualKey, bool withToggle)
{
    if (virtualKey <= 0 || virtualKey > 0xFF)
        return 0;
    Display* display = input.get();
    bool down = false;
    if (virtualKey == VK_LBUTTON || virtualKey == VK_MBUTTON || virtualKey == VK_RBUTTON) {
        Window rootReturn = 0, child = 0;
        int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
        unsigned int mask = 0;
        XQueryPointer(display, root, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                      &mask);
        const unsigned int button = virtualKey == VK_LBUTTON   ? Button1Mask
                                    : virtualKey == VK_MBUTTON ? Button2Mask
                                                               : Button3Mask;
        down = mask & button;
    } else if (virtualKey == VK_XBUTTON1 || virtualKey == VK_XBUTTON2) {
        down = pointerButtonDown(virtualKey == VK_XBUTTON1 ? 8 : 9);
    } else {
        // A generic modifier is down while its left or its right key is.
        std::array<KeyCode, 2> keycodes{};
        switch (virtualKey) {
        case VK_SHIFT:
            keycodes = {keycodeOfVirtualKey(VK_LSHIFT), keycodeOfVirtualKey(VK_RSHIFT)};
            break;
        case VK_CONTROL:
            keycodes = {keycodeOfVirtualKey(VK_LCONTROL), keycodeOfVirtualKey(VK_RCONTROL)};
            break;
        case VK_MENU:
            keycodes = {keycodeOfVirtualKey(VK_LMENU), keycodeOfVirtualKey(VK_RMENU)};
            break;
        default:
            keycodes = {keycodeOfVirtualKey(virtualKey), 0};
            break;
        }
        char keys[32] = {};
        XQueryKeymap(display, keys);
        for (const KeyCode keycode : keycodes) {
            down = down || (keycode != 0 && (keys[keycode / 8] & (1 << (keycode % 8))));
        }
    }
    bool toggled = false;
    const int indicator = virtualKey == VK_CAPITAL   ? 0
                          : virtualKey == VK_NUMLOCK ? 1
                          : virtualKey == VK_SCROLL  ? 2
                                                     : -1;
    if (withToggle && indicator >= 0 &&
        lockIndicators[static_cast<std::size_t>(indicator)] != None) {
        Bool on = False;
        XkbGetNamedIndicator(display, lockIndicators[static_cast<std::size_t>(indicator)], nullptr,
                             &on, nullptr, nullptr);
        toggled = on;
    }
    return static_cast<SHORT>((down ? 0x8000 : 0) | (toggled ? 1 : 0));
}

bool X11Platform::Desktop::pointerButtonDown(int button)
{
    if (pointer == 0)
        return false;
    Window rootReturn = 0, child = 0;
    double rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    XIButtonState buttons{};
    XIModifierState modifiers{};
    XIGroupState group{};
    if (!XIQueryPointer(input.get(), pointer, root, &rootReturn, &child, &rootX, &rootY,
                        &windowX, &windowY, &buttons, &modifiers, &group))
        return false;
    const bool down = button / 8 < buttons.mask_len && XIMaskIsSet(buttons.mask, button);
    XFree(buttons.mask);
    return down;
}

SHORT X11Platform::getAsyncKeyState(int virtualKey)
{
    std::lock_guard lock(d->inputMutex);
    return d->keyState(virtualKey, false);
}

SHORT X11Platform::getKeyState(int virtualKey)
{
    std::lock_guard lock(d->inputMutex);
    return d->keyState(virtualKey, true);
}

LONGLONG X11Platform::queryPerformanceCounter()
{
    return MonotonicClock::now();
}

LONGLONG X11Platform::queryPerformanceFrequency()
{
    return MonotonicClock::kTicksPerSecond;
}

void X11Platform::sleepUntil(LONGLONG counter)
{
    MonotonicClock::sleepUntil(counter);
}

int X11Platform::getKeyboardLayoutList(int count, HKL* layouts)
{
    std::lock_guard lock(d->inputMutex);
    d->refreshKeymap();
    const int groups = d->keymap.groupCount();
    if (count <= 0 || layouts == nullptr)
        return groups;
    const int copied = std::min(count, groups);
    for (int group = 0; group < copied; ++group)
        layouts[group] = reinterpret_cast<HKL>(kFirstLayout + static_cast<std::uintptr_t>(group));
    return copied;
}

HKL X11Platform::getKeyboardLayout(DWORD /*threadId*/)
{
    // One keyboard for the whole display: the group it types with now.
    std::lock_guard lock(d->inputMutex);
    XkbStateRec state{};
    if (XkbGetState(d->input.get(), XkbUseCoreKbd, &state) != Success)
        return nullptr;
    return reinterpret_cast<HKL>(kFirstLayout + static_cast<std::uintptr_t>(state.group));
}

SHORT X11Platform::vkKeyScanEx(WCHAR character, HKL layout)
{
    std::lock_guard lock(d->inputMutex);
    d->refreshKeymap();
    const std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(layout);
    if (handle < kFirstLayout ||
        handle >= kFirstLayout + static_cast<std::uintptr_t>(d->keymap.groupCount()))
        return -1;
    return d->keymap.scanCharacter(character, static_cast<int>(handle - kFirstLayout));
}

UINT X11Platform::virtualKeyOfKeyEvent(UINT nativeScanCode, UINT /*nativeVirtualKey*/)
{
    if (nativeScanCode < X11Keys::kKeycodeOffset)
        return 0;
    return static_cast<UINT>(
        X11Keys::virtualKeyOfInputCode(static_cast<int>(nativeScanCode) - X11Keys::kKeycodeOffset));
}

// --- Hotkeys ------------------------------------------------------------------------------

BOOL X11Platform::registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
{
    KeyCode keycode = 0;
    {
        std::lock_guard lock(d->inputMutex);
        keycode = d->keycodeOfVirtualKey(static_cast<int>(virtualKey));
    }
    if (keycode == 0)
        return fail(ERROR_INVALID_PARAMETER); // no key of this keyboard
    const unsigned int xModifiers = xModifiersOf(modifiers);
    bool refused = false;
    {
        std::lock_guard lock(d->hotKeyMutex);
        const bool taken =
            std::any_of(d->hotKeys.begin(), d->hotKeys.end(), [&](const HotKey& hotKey) {
                return (hotKey.window == window && hotKey.id == id) ||
                       (hotKey.keycode == keycode && hotKey.xModifiers == xModifiers);
            });
        if (taken)
            return fail(ERROR_HOTKEY_ALREADY_REGISTERED);
        Display* display = d->hotKeyConnection.get();
        const Window root = DefaultRootWindow(display);
        unsigned int numLockMask = XkbKeysymToModifiers(display, XK_Num_Lock);
        if (numLockMask == 0)
            numLockMask = Mod2Mask;
        // Without the lock modifiers' combinations the hotkey would not work while Caps Lock
        // or Num Lock is on. Another client's grab is refused with an error that arrives
        // later: the sync waits for it.
        d->grabRefused.store(false);
        takeErrorHandler();
        for (const unsigned int locks : lockCombinations(numLockMask))
            XGrabKey(display, keycode, xModifiers | locks, root, False, GrabModeAsync,
                     GrabModeAsync);
        XSync(display, False);
        refused = d->grabRefused.load();
        if (refused) {
            for (const unsigned int locks : lockCombinations(numLockMask))
                XUngrabKey(display, keycode, xModifiers | locks, root);
            XFlush(display);
        } else {
            d->hotKeys.push_back(
                {window, id, modifiers, virtualKey, keycode, xModifiers, numLockMask});
        }
    }
    // The sync may have read events the reading thread is not waiting for.
    d->wakeEventThread();
    return refused ? fail(ERROR_HOTKEY_ALREADY_REGISTERED) : 1;
}

BOOL X11Platform::unregisterHotKey(HWND window, int id)
{
    {
        std::lock_guard lock(d->hotKeyMutex);
        const auto found =
            std::find_if(d->hotKeys.begin(), d->hotKeys.end(), [&](const HotKey& hotKey) {
                return hotKey.window == window && hotKey.id == id;
            });
        if (found == d->hotKeys.end())
            return fail(ERROR_HOTKEY_NOT_REGISTERED);
        Display* display = d->hotKeyConnection.get();
        for (const unsigned int locks : lockCombinations(found->numLockMask))
            XUngrabKey(display, found->keycode, found->xModifiers | locks,
                       DefaultRootWindow(display));
        // Free for other clients once this returns, as on Windows.
        XSync(display, False);
        d->hotKeys.erase(found);
    }
    d->wakeEventThread();
    return 1;
}

DWORD X11Platform::getLastError()
{
    return lastError;
}

std::wstring X11Platform::formatMessage(DWORD messageId)
{
    return systemMessageText(messageId);
}

void X11Platform::Desktop::wakeEventThread() const
{
    const char wake = 1;
    [[maybe_unused]] const auto written = ::write(wakePipe[1], &wake, 1);
}

void X11Platform::Desktop::readEvents()
{
    Display* display = hotKeyConnection.get();
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    std::vector<MSG> presses;
    while (!stopping.load()) {
        {
            std::lock_guard lock(hotKeyMutex);
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                handleEvent(event, presses);
            }
        }
        for (const MSG& press : presses)
            X11Platform::postMessage(press);
        presses.clear();
        ::poll(watched, 2, -1);
        char drained[64];
        while (::read(wakePipe[0], drained, sizeof drained) > 0) {
        }
    }
}

void X11Platform::Desktop::handleEvent(XEvent& event, std::vector<MSG>& hotKeyPresses)
{
    if (event.type == KeyPress) {
        const XKeyEvent& key = event.xkey;
        for (const HotKey& hotKey : hotKeys) {
            if (hotKey.keycode != key.keycode ||
                hotKey.xModifiers != (key.state & kHotKeyModifiers))
                continue;
            MSG message{};
            message.hwnd = hotKey.window;
            message.message = WM_HOTKEY;
            message.wParam = static_cast<WPARAM>(hotKey.id);
            message.lParam = static_cast<LPARAM>((hotKey.virtualKey << 16) |
                                                 (hotKey.modifiers & ~MOD_NOREPEAT & 0xFFFF));
            message.time = static_cast<DWORD>(key.time);
            message.pt = {key.x_root - primaryLeft.load(), key.y_root - primaryTop.load()};
            hotKeyPresses.push_back(message);
            break;
        }
    } else if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        ++keymapChanges;
    } else if (event.type == xkbEventBase) {
        if (reinterpret_cast<const XkbAnyEvent&>(event).xkb_type == XkbNewKeyboardNotify)
            ++keyboardReplacements;
        ++keymapChanges;
    } else if (randrEventBase >= 0 && event.type >= randrEventBase &&
               event.type < randrEventBase + RRNumberEvents) {
        XRRUpdateConfiguration(&event);
        ++screenChanges;
    }
}

// --- The mouse hook -----------------------------------------------------------------------

HookThread* X11Platform::Desktop::hookThreadOfCaller()
{
    const auto self = std::this_thread::get_id();
    const auto found = std::find_if(hookThreads.begin(), hookThreads.end(),
                                    [self](const auto& thread) { return thread->owner == self; });
    return found == hookThreads.end() ? nullptr : found->get();
}

HHOOK X11Platform::setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE /*module*/,
                                    DWORD threadId)
{
    // Only the global low-level mouse hook exists here.
    if (hookId != WH_MOUSE_LL || procedure == nullptr || threadId != 0) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    {
        std::lock_guard lock(d->hooksMutex);
        if (HookThread* thread = d->hookThreadOfCaller()) {
            const auto handle = reinterpret_cast<HHOOK>(++d->lastHookHandle);
            thread->hooks.insert(thread->hooks.begin(), {handle, procedure});
            return handle;
        }
    }

    // The thread's own connection, on which the server reports every button event of the
    // master pointers, whichever client has grabbed them.
    auto thread = std::make_unique<HookThread>();
    thread->owner = std::this_thread::get_id();
    thread->connection = connectToDisplay();
    Display* display = thread->connection.get();
    int event = 0, error = 0, major = 2, minor = 2;
    if (!display ||
        !XQueryExtension(display, "XInputExtension", &thread->inputOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    int deviceCount = 0;
    if (XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &deviceCount)) {
        for (int i = 0; i < deviceCount; ++i) {
            if (devices[i].use == XISlavePointer && std::strstr(devices[i].name, "XTEST"))
                thread->syntheticDevices.push_back(devices[i].deviceid);
        }
        XIFreeDeviceInfo(devices);
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False); // the clicks sent from now on are counted and seen

    std::lock_guard lock(d->hooksMutex);
    const auto handle = reinterpret_cast<HHOOK>(++d->lastHookHandle);
    thread->hooks.emplace_back(handle, procedure);
    d->hookThreads.push_back(std::move(thread));
    return handle;
}

BOOL X11Platform::unhookWindowsHookEx(HHOOK hook)
{
    std::unique_ptr<HookThread> finished;
    {
        std::lock_guard lock(d->hooksMutex);
        for (auto thread = d->hookThreads.begin(); thread != d->hookThreads.end(); ++thread) {
            auto& hooks = (*thread)->hooks;
            const auto found = std::find_if(hooks.begin(), hooks.end(), [hook](const auto& entry) {
                return entry.first == hook;
            });
            if (found == hooks.end())
                continue;
            hooks.erase(found);
            if (hooks.empty()) {
                finished = std::move(*thread);
                d->hookThreads.erase(thread);
            }
            return 1; // a finished thread's connection closes here, outside the lock
        }
    }
    return fail(ERROR_INVALID_HOOK_HANDLE);
}

LRESULT X11Platform::callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    HOOKPROC next = nullptr;
    {
        std::lock_guard lock(d->hooksMutex);
        for (const std::unique_ptr<HookThread>& thread : d->hookThreads) {
            const auto& hooks = thread->hooks;
            const auto found = std::find_if(hooks.begin(), hooks.end(), [hook](const auto& entry) {
                return entry.first == hook;
            });
            if (found != hooks.end() && std::next(found) != hooks.end())
                next = std::next(found)->second;
        }
    }
    return next ? next(code, wParam, lParam) : 0;
}

int X11Platform::hookEventDescriptor()
{
    std::lock_guard lock(d->hooksMutex);
    const HookThread* thread = d->hookThreadOfCaller();
    return thread ? ConnectionNumber(thread->connection.get()) : -1;
}

void X11Platform::processHookEvents()
{
    HookThread* thread = nullptr;
    {
        std::lock_guard lock(d->hooksMutex);
        thread = d->hookThreadOfCaller();
    }
    if (!thread)
        return;
    Display* display = thread->connection.get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != thread->inputOpcode ||
            !XGetEventData(display, &cookie))
            continue;
        if (cookie.evtype == XI_RawButtonPress || cookie.evtype == XI_RawButtonRelease)
            d->deliverButton(*thread, *static_cast<const XIRawEvent*>(cookie.data),
                             cookie.evtype == XI_RawButtonPress);
        XFreeEventData(display, &cookie);
    }
}

void X11Platform::Desktop::deliverButton(HookThread& thread, const XIRawEvent& event, bool press)
{
    const int button = event.detail;
    if (button < 1 || button >= static_cast<int>(kButtonCount))
        return;
    bool injected = false;
    HOOKPROC newest = nullptr;
    {
        std::lock_guard lock(hooksMutex);
        const bool synthetic =
            std::find(thread.syntheticDevices.begin(), thread.syntheticDevices.end(),
                      event.sourceid) != thread.syntheticDevices.end();
        int& unseen = thread.unseen[static_cast<std::size_t>(button)][press ? 1 : 0];
        if (synthetic && unseen > 0) {
            --unseen;
            injected = true;
        }
        if (!thread.hooks.empty())
            newest = thread.hooks.front().second;
    }

    MSLLHOOKSTRUCT details{};
    UINT message = 0;
    const auto wheel = [](int delta) {
        return static_cast<DWORD>(static_cast<WORD>(delta)) << 16;
    };
    switch (button) {
    case 1:
        message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        break;
    case 2:
        message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        break;
    case 3:
        message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        break;
    case 4:
    case 5:
        message = press ? WM_MOUSEWHEEL : 0; // a notch is one press; its release is nothing
        details.mouseData = wheel(button == 4 ? WHEEL_DELTA : -WHEEL_DELTA);
        break;
    case 6:
    case 7:
        message = press ? WM_MOUSEHWHEEL : 0;
        details.mouseData = wheel(button == 7 ? WHEEL_DELTA : -WHEEL_DELTA);
        break;
    default:
        message = press ? WM_XBUTTONDOWN : WM_XBUTTONUP;
        details.mouseData = DWORD{button == 8 ? XBUTTON1 : XBUTTON2} << 16;
        break;
    }
    if (message == 0 || newest == nullptr)
        return;

    Display* display = thread.connection.get();
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &rootReturn, &child, &rootX, &rootY,
                  &windowX, &windowY, &mask);
    details.pt = {rootX - primaryLeft.load(), rootY - primaryTop.load()};
    details.flags = injected ? LLMHF_INJECTED : 0;
    details.time = static_cast<DWORD>(event.time);
    // The hook only observes: X has delivered the event already, whatever it returns.
    newest(HC_ACTION, message, reinterpret_cast<LPARAM>(&details));
}

} // namespace platform
