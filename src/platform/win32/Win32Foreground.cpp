#include "Win32Foreground.h"

#include "Win32Elevation.h"

#include <cwctype>
#include <string>
#include <utility>

namespace platform {

namespace {

// The receiver of the one watcher and the window it last heard of: neither a WinEvent
// callback nor a timer procedure carries context of its own. Both run on the watching thread.
Platform::ForegroundReceiver g_receiver;
HWND g_lastWindow = nullptr;

// The file name of the process's executable; empty when the process may not be opened.
std::wstring imageNameOf(DWORD processId)
{
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return {};
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    const bool named = ::QueryFullProcessImageNameW(process, 0, path.data(), &size) != FALSE;
    ::CloseHandle(process);
    if (!named)
        return {};
    path.resize(size);
    return path.substr(path.find_last_of(L"\\/") + 1);
}

bool sameName(const std::wstring& a, const wchar_t* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return i == a.size() && !b[i];
}

struct FramedApp
{
    DWORD frameProcess;
    DWORD appProcess;
};

// The first child window that belongs to another process than the frame.
BOOL CALLBACK findFramedApp(HWND child, LPARAM context)
{
    auto* app = reinterpret_cast<FramedApp*>(context);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(child, &processId);
    if (processId == 0 || processId == app->frameProcess)
        return TRUE;
    app->appProcess = processId;
    return FALSE;
}

} // namespace

Win32Foreground::~Win32Foreground()
{
    stop();
}

bool Win32Foreground::watch(Platform::ForegroundReceiver receiver)
{
    stop();
    if (!receiver)
        return true;
    m_hook = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                               &Win32Foreground::onForeground, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (!m_hook)
        return false;
    // A thread timer: its WM_TIMER goes to this thread's queue, whose loop calls onPoll.
    m_timer = ::SetTimer(nullptr, 0, kPollMs, &Win32Foreground::onPoll);
    if (!m_timer) {
        stop();
        return false;
    }
    g_receiver = std::move(receiver);
    const HWND front = ::GetForegroundWindow();
    g_lastWindow = front;
    g_receiver(front ? programOf(front) : ForegroundProgram{});
    return true;
}

void Win32Foreground::stop()
{
    if (m_hook)
        ::UnhookWinEvent(m_hook);
    m_hook = nullptr;
    if (m_timer)
        ::KillTimer(nullptr, m_timer);
    m_timer = 0;
    g_receiver = nullptr;
    g_lastWindow = nullptr;
}

void Win32Foreground::report(HWND window)
{
    if (!window || window == g_lastWindow || !g_receiver)
        return;
    g_lastWindow = window;
    g_receiver(programOf(window));
}

ForegroundProgram Win32Foreground::programOf(HWND window)
{
    ForegroundProgram program;
    program.namesIgnoreCase = true;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    std::wstring name = imageNameOf(processId);
    if (sameName(name, L"ApplicationFrameHost.exe")) {
        FramedApp app{processId, 0};
        ::EnumChildWindows(window, &findFramedApp, reinterpret_cast<LPARAM>(&app));
        if (app.appProcess != 0) {
            processId = app.appProcess;
            name = imageNameOf(processId);
        }
    }
    if (name.empty()) {
        wchar_t className[256] = {};
        const int length = ::GetClassNameW(window, className, 256);
        name.assign(className, length > 0 ? static_cast<std::size_t>(length) : 0);
    }
    program.processId = processId;
    program.names = {name};
    program.elevated = Win32Elevation::isProcessElevated(processId);
    return program;
}

void CALLBACK Win32Foreground::onForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG,
                                            DWORD, DWORD)
{
    if (object == OBJID_WINDOW)
        report(window);
}

void CALLBACK Win32Foreground::onPoll(HWND, UINT, UINT_PTR, DWORD)
{
    // No window in front, as for a moment while the front changes, is no change to report.
    report(::GetForegroundWindow());
}

} // namespace platform
