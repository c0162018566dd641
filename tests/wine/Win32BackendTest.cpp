// Exercises the Windows backend against the real Windows API, as far as Wine provides it.
// Usage: win32_backend_test <screen width> <screen height>. Ends with "N passed, N failed".
#include "platform/win32/Win32Platform.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

int g_passed = 0;
int g_failed = 0;

void check(bool ok, const char* what)
{
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
    (ok ? g_passed : g_failed)++;
}

platform::Win32Platform g_os;

struct HookSeen
{
    std::atomic<bool> installed{false};
    std::atomic<DWORD> threadId{0};
    std::atomic<int> leftDown{0};
    std::atomic<int> leftUp{0};
    std::atomic<DWORD> sideDown{0}; // the high word of mouseData of the last side-button press
    std::atomic<DWORD> sideUp{0};
    std::atomic<bool> allInjected{true};
};
HookSeen g_hook;
HHOOK g_hookHandle = nullptr;

struct KeysSeen
{
    std::atomic<int> downs{0};
    std::atomic<int> ups{0};
    std::atomic<DWORD> scanCode{0};
    std::atomic<DWORD> virtualKey{0};
    std::atomic<bool> allInjected{true};
};
KeysSeen g_keys;
HHOOK g_keyboardHandle = nullptr;
std::atomic<bool> g_rawRegistered{false};
std::atomic<int> g_rawMoves{0};
std::atomic<bool> g_rawAllInjected{true};

LRESULT CALLBACK keyboardHook(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && data) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        if (key->vkCode == 'A' || key->scanCode == 0x1E) {
            (message == WM_KEYDOWN ? g_keys.downs : g_keys.ups)++;
            g_keys.scanCode = key->scanCode;
            g_keys.virtualKey = key->vkCode;
            g_keys.allInjected = g_keys.allInjected && (key->flags & LLKHF_INJECTED);
        }
    }
    return g_os.callNextHookEx(g_keyboardHandle, code, message, data);
}

void rawMouse(const RAWMOUSE& mouse, bool injected)
{
    if (!(mouse.usFlags & MOUSE_MOVE_ABSOLUTE) && (mouse.lLastX != 0 || mouse.lLastY != 0)) {
        g_rawMoves++;
        g_rawAllInjected = g_rawAllInjected && injected;
    }
}

LRESULT CALLBACK mouseHook(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && data) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const bool injected = event->flags & LLMHF_INJECTED;
        if (message == WM_LBUTTONDOWN) {
            g_hook.leftDown++;
            g_hook.allInjected = g_hook.allInjected && injected;
        } else if (message == WM_LBUTTONUP) {
            g_hook.leftUp++;
            g_hook.allInjected = g_hook.allInjected && injected;
        } else if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) {
            (message == WM_XBUTTONDOWN ? g_hook.sideDown : g_hook.sideUp) = event->mouseData >> 16;
            g_hook.allInjected = g_hook.allInjected && injected;
        }
    }
    return g_os.callNextHookEx(g_hookHandle, code, message, data);
}

// The hook thread: installs the hook and runs a message loop until told to quit.
void runHookThread()
{
    g_hook.threadId = ::GetCurrentThreadId();
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // give the thread its queue
    g_hookHandle = g_os.setWindowsHookEx(WH_MOUSE_LL, mouseHook, nullptr, 0);
    g_keyboardHandle = g_os.setWindowsHookEx(WH_KEYBOARD_LL, keyboardHook, nullptr, 0);
    g_rawRegistered = g_os.registerRawMouseInput(&rawMouse);
    g_hook.installed = true;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message); // WM_INPUT goes to the raw input window
    g_os.registerRawMouseInput(nullptr);
    g_os.unhookWindowsHookEx(g_keyboardHandle);
    g_os.unhookWindowsHookEx(g_hookHandle);
}

template <typename Condition>
bool waitFor(Condition condition, std::chrono::seconds limit = std::chrono::seconds(3))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

INPUT mouseRecord(LONG dx, LONG dy, DWORD flags, DWORD mouseData = 0)
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = dx;
    record.mi.dy = dy;
    record.mi.mouseData = mouseData;
    record.mi.dwFlags = flags;
    return record;
}

LONG normalised(LONG pixel, int extent)
{
    const LONG w = extent >= 2 ? extent - 1 : 1;
    return static_cast<LONG>((static_cast<long long>(pixel) * 65535 + w / 2) / w);
}

void timingAndScreens(int width, int height)
{
    check(g_os.queryPerformanceFrequency() > 0, "the performance counter has a frequency");
    const LONGLONG start = g_os.queryPerformanceCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    check(g_os.queryPerformanceCounter() > start, "the performance counter advances");
    check(g_os.getSystemMetrics(SM_CXSCREEN) == width &&
              g_os.getSystemMetrics(SM_CYSCREEN) == height,
          "the primary screen has the size of the X screen");
    check(g_os.getSystemMetrics(SM_CXVIRTUALSCREEN) >= width &&
              g_os.getSystemMetrics(SM_CYVIRTUALSCREEN) >= height,
          "the virtual desktop spans the primary screen");
}

void sleeps()
{
    const LONGLONG frequency = g_os.queryPerformanceFrequency();
    LONGLONG latest = 0;
    bool neverEarly = true;
    for (int i = 0; i < 20; ++i) {
        const LONGLONG target = g_os.queryPerformanceCounter() + frequency / 100; // 10 ms
        g_os.sleepUntil(target);
        const LONGLONG late = g_os.queryPerformanceCounter() - target;
        neverEarly = neverEarly && late > -frequency / 1000;
        latest = late > latest ? late : latest;
    }
    std::printf("sleeps of 10 ms wake at most %.3f ms late\n",
                static_cast<double>(latest) * 1000.0 / static_cast<double>(frequency));
    check(neverEarly, "a sleep on the waitable timer wakes at most 1 ms before its time");
    check(latest < frequency / 20, "and within 50 ms after it");

    const LONGLONG before = g_os.queryPerformanceCounter();
    g_os.sleepUntil(before - frequency);
    check(g_os.queryPerformanceCounter() - before < frequency / 100,
          "a sleep until a moment already past returns at once");
}

void hotkeys()
{
    const BOOL first = g_os.registerHotKey(nullptr, 0x0101, MOD_CONTROL | MOD_ALT, VK_F9);
    const BOOL second = g_os.registerHotKey(nullptr, 0x0102, MOD_CONTROL | MOD_ALT, VK_F9);
    const DWORD error = g_os.getLastError();
    check(first && !second, "a combination registers once only");
    check(error == ERROR_HOTKEY_ALREADY_REGISTERED, "the refusal is error 1409");
    check(g_os.unregisterHotKey(nullptr, 0x0101) != FALSE, "a registered id unregisters");
    check(g_os.registerHotKey(nullptr, 0x0102, MOD_CONTROL | MOD_ALT, VK_F9) != FALSE,
          "a freed combination registers again");
    g_os.unregisterHotKey(nullptr, 0x0102);
    check(!g_os.formatMessage(ERROR_ACCESS_DENIED).empty(), "system errors have a text");

    HKL layouts[16];
    const int count = g_os.getKeyboardLayoutList(16, layouts);
    check(count >= 1, "at least one keyboard layout is installed");
    check(count >= 1 && (g_os.vkKeyScanEx(L'a', layouts[0]) & 0xFF) == 'A',
          "the first layout types a with the A key");
}

bool cursorReaches(POINT target)
{
    POINT cursor{-1, -1};
    return waitFor([&] {
        g_os.getCursorPos(cursor);
        return cursor.x == target.x && cursor.y == target.y;
    });
}

void moves(int width, int height)
{
    for (const POINT target : {POINT{100, 200}, POINT{width - 1, height - 1}, POINT{0, 0}}) {
        const INPUT record = mouseRecord(normalised(target.x, width), normalised(target.y, height),
                                         MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
        g_os.sendInput(1, &record, sizeof(INPUT));
        const bool landed = cursorReaches(target);
        const std::string what = "an absolute move lands exactly on (" + std::to_string(target.x) +
                                 ", " + std::to_string(target.y) + ")";
        check(landed, what.c_str());
    }

    // Relative moves are counted in pixels once pointer acceleration is off.
    int noAcceleration[3] = {0, 0, 0};
    ::SystemParametersInfoW(SPI_SETMOUSE, 0, noAcceleration, 0);
    const INPUT relative = mouseRecord(40, 25, MOUSEEVENTF_MOVE);
    g_os.sendInput(1, &relative, sizeof(INPUT));
    check(cursorReaches(POINT{40, 25}), "a relative move of (40, 25) moves by exactly that");
}

void mouseHookSeesInjectedButtons()
{
    std::thread hookThread(runHookThread);
    waitFor([] { return g_hook.installed.load(); });
    check(g_hookHandle != nullptr, "a low-level mouse hook installs on its own thread");

    const INPUT down = mouseRecord(0, 0, MOUSEEVENTF_LEFTDOWN);
    check(g_os.sendInput(1, &down, sizeof(INPUT)) == 1, "SendInput takes the record");
    check(waitFor([] { return g_hook.leftDown > 0; }), "the hook sees the button going down");
    check((g_os.getAsyncKeyState(VK_LBUTTON) & 0x8000) != 0, "the button reads down");

    const INPUT up = mouseRecord(0, 0, MOUSEEVENTF_LEFTUP);
    g_os.sendInput(1, &up, sizeof(INPUT));
    check(waitFor([] { return g_hook.leftUp > 0; }), "the hook sees the button going up");
    check((g_os.getAsyncKeyState(VK_LBUTTON) & 0x8000) == 0, "the button reads up again");

    // The side buttons: which one is in the high word of the hook's mouseData.
    const INPUT sideDown = mouseRecord(0, 0, MOUSEEVENTF_XDOWN, XBUTTON2);
    g_os.sendInput(1, &sideDown, sizeof(INPUT));
    check(waitFor([] { return g_hook.sideDown == XBUTTON2; }),
          "the hook sees the forward button going down, XBUTTON2 in the high word");
    check((g_os.getAsyncKeyState(VK_XBUTTON2) & 0x8000) != 0 &&
              (g_os.getAsyncKeyState(VK_XBUTTON1) & 0x8000) == 0,
          "the forward button reads down, the back button up");
    const INPUT sideUp = mouseRecord(0, 0, MOUSEEVENTF_XUP, XBUTTON2);
    g_os.sendInput(1, &sideUp, sizeof(INPUT));
    check(waitFor([] { return g_hook.sideUp == XBUTTON2; }),
          "the hook sees the forward button going up");
    check((g_os.getAsyncKeyState(VK_XBUTTON2) & 0x8000) == 0, "the forward button reads up again");
    check(g_hook.allInjected, "injected events carry LLMHF_INJECTED");

    check(g_keyboardHandle != nullptr, "a low-level keyboard hook installs beside it");
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wScan = 0x1E; // the A key
    key.ki.dwFlags = KEYEVENTF_SCANCODE;
    g_os.sendInput(1, &key, sizeof(INPUT));
    key.ki.dwFlags = KEYEVENTF_SCANCODE | KEYEVENTF_KEYUP;
    g_os.sendInput(1, &key, sizeof(INPUT));
    check(waitFor([] { return g_keys.downs > 0 && g_keys.ups > 0; }),
          "the keyboard hook sees a key going down and up");
    check(g_keys.scanCode == 0x1E, "with its scan code");
    check(g_keys.allInjected, "injected keys carry LLKHF_INJECTED");

    check(g_rawRegistered, "raw mouse input registers on a message-only window");
    const INPUT nudge = mouseRecord(3, 2, MOUSEEVENTF_MOVE);
    g_os.sendInput(1, &nudge, sizeof(INPUT));
    // Windows reports SendInput's raw input without a device, which marks it as injected. Wine
    // delivers it only now and then (not at all while none of its windows has the input), and
    // with a device of its own: what arrives is checked, its absence only said.
    if (!waitFor([] { return g_rawMoves > 0; }))
        std::printf("SKIP: Wine delivered no raw input for SendInput's movement\n");
    else if (!g_rawAllInjected)
        std::printf("SKIP: Wine's raw input of SendInput has a device: not told apart\n");

    ::PostThreadMessageW(g_hook.threadId, WM_QUIT, 0, 0);
    hookThread.join();
}

HWND plainWindow(const wchar_t* title)
{
    static const wchar_t* const className = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ClavitorForegroundTest";
        ::RegisterClassW(&windowClass);
        return windowClass.lpszClassName;
    }();
    HWND window =
        ::CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                          nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::UpdateWindow(window);
    return window;
}

// Runs this thread's message loop until the condition holds or 3 s pass: the watcher's
// reports arrive through it.
template <typename Condition> bool pumpUntil(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    MSG message;
    while (!condition()) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs this thread's message loop for a while.
void pumpFor(std::chrono::milliseconds span)
{
    const auto end = std::chrono::steady_clock::now() + span;
    pumpUntil([end] { return std::chrono::steady_clock::now() >= end; });
}

void foregroundChanges()
{
    std::vector<platform::ForegroundProgram> seen;
    check(g_os.watchForeground(
              [&seen](const platform::ForegroundProgram& program) { seen.push_back(program); }),
          "the foreground watcher installs");
    check(seen.size() == 1, "it reports the program in front at once");

    // Wine 8 sends no EVENT_SYSTEM_FOREGROUND at all: there the watcher's poll of the window in
    // front reports the changes, and within a poll's interval or two.
    const auto settle = std::chrono::milliseconds(3 * platform::Win32Foreground::kPollMs);
    HWND first = plainWindow(L"first");
    HWND second = plainWindow(L"second");
    ::SetForegroundWindow(first);
    pumpUntil([&] { return ::GetForegroundWindow() == first; });
    pumpFor(settle);
    const std::size_t before = seen.size();
    check(before >= 2, "a window coming to the front is reported");
    ::SetForegroundWindow(second);
    const bool reported = pumpUntil([&] { return seen.size() > before; });
    check(reported, "the next window in front is reported");
    check(::GetForegroundWindow() == second, "SetForegroundWindow brings a window to the front");
    check(reported && seen.back().processId == ::GetCurrentProcessId() &&
              seen.back().names == std::vector<std::wstring>{L"win32_backend_test.exe"} &&
              seen.back().namesIgnoreCase,
          "a window coming to the front is named by its executable's file name");
    pumpFor(settle);
    check(seen.size() == before + 1, "a change of the window in front is reported once");
    const platform::ForegroundProgram named = platform::Win32Foreground::programOf(second);
    check(named.names == std::vector<std::wstring>{L"win32_backend_test.exe"},
          "a window's program is its executable's file name");
    check(named.elevated == g_os.isElevated(), "a window's program is elevated as its process is");
    check(g_os.programInFront().processId == ::GetCurrentProcessId(),
          "the program in front is the one of the window in front");

    g_os.watchForeground({});
    const std::size_t stopped = seen.size();
    ::SetForegroundWindow(first);
    pumpUntil([] { return false; });
    check(seen.size() == stopped, "a stopped watcher reports nothing more");
    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

} // namespace

// The process marks itself as running under a name the installer can open.
void runningMark()
{
    const wchar_t* const name = L"Local\\ClavitorBackendTest.Running";
    check(::OpenMutexW(SYNCHRONIZE, FALSE, name) == nullptr, "no mark before the process sets it");
    g_os.markRunning(name);
    const HANDLE seen = ::OpenMutexW(SYNCHRONIZE, FALSE, name);
    check(seen != nullptr, "another program finds the running mark");
    if (seen)
        ::CloseHandle(seen);
}

// The process started with the administrator's rights tells its end through the receiver,
// on a thread of its own, with its exit code; a start that cannot be made says why.
void elevatedStart()
{
    // Wine takes a while to start a process.
    constexpr std::chrono::seconds kChildLimit(20);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::atomic<DWORD> exitCode{STILL_ACTIVE};
    std::atomic<DWORD> receiverThread{0};
    const DWORD started = g_os.startElevated(self, L"--exit 7", [&](DWORD code) {
        receiverThread = ::GetCurrentThreadId();
        exitCode = code;
    });
    check(started == ERROR_SUCCESS, "a program starts with the administrator's rights");
    check(waitFor([&] { return exitCode != STILL_ACTIVE; }, kChildLimit) && exitCode == 7,
          "its exit code is told when it ends");
    check(receiverThread != 0 && receiverThread != ::GetCurrentThreadId(),
          "on a thread other than the starting one");

    std::atomic<DWORD> elevatedChild{STILL_ACTIVE};
    g_os.startElevated(self, L"--elevation", [&](DWORD code) { elevatedChild = code; });
    check(waitFor([&] { return elevatedChild != STILL_ACTIVE; }, kChildLimit) && elevatedChild == 1,
          "the program started so runs elevated");
    check(g_os.startElevated(L"C:\\no such folder\\none.exe", L"", nullptr) != ERROR_SUCCESS,
          "a program that is not there is not started, and says so");
}

int main(int argc, char** argv)
{
    // The helper modes of elevatedStart: end with a given code, or tell whether elevated.
    if (argc == 3 && std::string(argv[1]) == "--exit")
        return std::atoi(argv[2]);
    if (argc == 2 && std::string(argv[1]) == "--elevation")
        return g_os.isElevated() ? 1 : 0;
    if (argc != 3) {
        std::fprintf(stderr, "usage: win32_backend_test <width> <height>\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);

    timingAndScreens(width, height);
    sleeps();
    hotkeys();
    moves(width, height);
    mouseHookSeesInjectedButtons();
    foregroundChanges();
    runningMark();
    elevatedStart();

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
