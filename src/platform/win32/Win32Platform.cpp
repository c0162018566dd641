#include "Win32Platform.h"

#include "Win32ElevatedStart.h"
#include "Win32Elevation.h"

#include <algorithm>
#include <utility>

// Windows 10 1803 and later; older headers lack the name.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace platform {

namespace {

// A waitable timer of the calling thread: high-resolution where the system has them (it
// wakes within a fraction of a millisecond), else the standard kind, which wakes on the
// system's timer tick.
class ThreadTimer
{
public:
    ThreadTimer()
        : m_handle(::CreateWaitableTimerExW(nullptr, nullptr,
                                            CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                            TIMER_ALL_ACCESS)),
          m_highResolution(m_handle != nullptr)
    {
        if (!m_handle)
            m_handle = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
    ~ThreadTimer()
    {
        if (m_handle)
            ::CloseHandle(m_handle);
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    HANDLE handle() const { return m_handle; }
    bool isHighResolution() const { return m_highResolution; }

    // The calling thread's timer, made on its first use.
    static ThreadTimer& current()
    {
        thread_local ThreadTimer timer;
        return timer;
    }

private:
    HANDLE m_handle;
    bool m_highResolution;
};

// The longest single wait, in 100 ns units (an hour): longer ones end early, which the
// callers allow for, and the conversion below cannot overflow.
constexpr LONGLONG kLongestWait = 36'000'000'000;

} // namespace

UINT Win32Platform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    return ::SendInput(count, const_cast<INPUT*>(inputs), recordSize);
}

bool Win32Platform::getCursorPos(POINT& point)
{
    return ::GetCursorPos(&point) != FALSE;
}

int Win32Platform::getSystemMetrics(int index)
{
    return ::GetSystemMetrics(index);
}

SHORT Win32Platform::getAsyncKeyState(int virtualKey)
{
    return ::GetAsyncKeyState(virtualKey);
}

SHORT Win32Platform::getKeyState(int virtualKey)
{
    return ::GetKeyState(virtualKey);
}

LONGLONG Win32Platform::queryPerformanceCounter()
{
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

LONGLONG Win32Platform::queryPerformanceFrequency()
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

void Win32Platform::sleepUntil(LONGLONG counter)
{
    const LONGLONG remaining = counter - queryPerformanceCounter();
    if (remaining <= 0)
        return;
    const LONGLONG frequency = queryPerformanceFrequency();
    const LONGLONG seconds = std::min(remaining / frequency, kLongestWait / 10'000'000);
    const LONGLONG units = std::min(
        seconds * 10'000'000 + (remaining % frequency) * 10'000'000 / frequency, kLongestWait);
    const ThreadTimer& timer = ThreadTimer::current();
    LARGE_INTEGER due;
    due.QuadPart = -std::max<LONGLONG>(units, 1); // negative: relative to now
    if (timer.handle() && ::SetWaitableTimer(timer.handle(), &due, 0, nullptr, nullptr, FALSE))
        ::WaitForSingleObject(timer.handle(), INFINITE);
    else
        ::Sleep(static_cast<DWORD>(units / 10'000)); // whole milliseconds, rounded down
}

bool Win32Platform::sleepsPrecisely()
{
    return ThreadTimer::current().isHighResolution();
}

BOOL Win32Platform::registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
{
    // Without a window, WM_HOTKEY is posted to the calling (GUI) thread's queue, where Qt's
    // event dispatcher hands it to the native event filters.
    return ::RegisterHotKey(window, id, modifiers, virtualKey);
}

BOOL Win32Platform::unregisterHotKey(HWND window, int id)
{
    return ::UnregisterHotKey(window, id);
}

DWORD Win32Platform::getLastError()
{
    return ::GetLastError();
}

std::wstring Win32Platform::formatMessage(DWORD messageId)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, messageId, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    return text;
}

int Win32Platform::getKeyboardLayoutList(int count, HKL* layouts)
{
    return ::GetKeyboardLayoutList(count, layouts);
}

HKL Win32Platform::getKeyboardLayout(DWORD threadId)
{
    return ::GetKeyboardLayout(threadId);
}

SHORT Win32Platform::vkKeyScanEx(WCHAR character, HKL layout)
{
    return ::VkKeyScanExW(character, layout);
}

HHOOK Win32Platform::setWindowsHookEx(int hookId, HOOKPROC procedure, HINSTANCE module,
                                      DWORD threadId)
{
    return ::SetWindowsHookExW(hookId, procedure, module, threadId);
}

BOOL Win32Platform::unhookWindowsHookEx(HHOOK hook)
{
    return ::UnhookWindowsHookEx(hook);
}

LRESULT Win32Platform::callNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

bool Win32Platform::registerRawMouseInput(RawMouseProc procedure)
{
    return m_rawMouse.registerProcedure(procedure);
}

bool Win32Platform::watchForeground(ForegroundReceiver receiver)
{
    return m_foreground.watch(std::move(receiver));
}

ForegroundProgram Win32Platform::programInFront()
{
    const HWND front = ::GetForegroundWindow();
    return front ? Win32Foreground::programOf(front) : ForegroundProgram{};
}

bool Win32Platform::isElevated()
{
    return Win32Elevation::isCurrentProcessElevated();
}

DWORD Win32Platform::startElevated(const std::wstring& program, const std::wstring& parameters,
                                   ExitReceiver finished)
{
    return Win32ElevatedStart::start(program, parameters, std::move(finished));
}

void Win32Platform::markRunning(const std::wstring& name)
{
    // Never closed: the system lets go of it when the process ends, however it ends.
    ::CreateMutexW(nullptr, FALSE, name.c_str());
}

} // namespace platform
