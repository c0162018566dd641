#include "FuzzPlatform.h"

#include <limits>

LONGLONG FuzzPlatform::queryPerformanceCounter()
{
    constexpr LONGLONG kLast = std::numeric_limits<LONGLONG>::max();
    const LONGLONG now = m_now;
    m_now = m_now > kLast - m_step ? kLast : m_now + m_step;
    m_step = m_step > kLast / 2 ? kLast : m_step * 2;
    return now;
}

LONGLONG FuzzPlatform::queryPerformanceFrequency()
{
    return 1000;
}

void FuzzPlatform::startAfresh()
{
    m_now = 0;
    m_step = 1;
    for (int key = 1; key <= 0xFF; ++key) {
        if (getAsyncKeyState(key) & 0x8000) {
            // Released as injected input, which the mouse hook leaves unreported.
            INPUT release{};
            release.type = INPUT_KEYBOARD;
            release.ki.wVk = static_cast<WORD>(key);
            release.ki.dwFlags = KEYEVENTF_KEYUP;
            sendInput(1, &release, sizeof release);
        }
        setKeyToggled(key, false);
    }
    setCursorPos({0, 0});
    takeSentRecords();
}
