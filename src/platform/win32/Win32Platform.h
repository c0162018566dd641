#pragma once

#include "../Platform.h"
#include "Win32Foreground.h"
#include "Win32RawMouse.h"

namespace platform {

// The real Windows calls.
class Win32Platform : public Platform
{
public:
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

    // Reports on the calling thread's message loop.
    bool watchForeground(ForegroundReceiver receiver) override;
    ForegroundProgram programInFront() override;
    bool isElevated() override;
    DWORD startElevated(const std::wstring& program, const std::wstring& parameters,
                        ExitReceiver finished) override;

    // The mutex is held until the process ends.
    void markRunning(const std::wstring& name) override;

private:
    Win32Foreground m_foreground;
    Win32RawMouse m_rawMouse;
};

} // namespace platform
