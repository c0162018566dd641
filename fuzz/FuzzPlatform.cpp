#include "FuzzPlatform.h"

#include <algorithm>
#include <limits>

LONGLONG FuzzPlatform::queryPerformanceCounter()
{
    // The step stops growing at about 35 years: the counter then needs millions of reads to
    // come near the end of its range, which no input makes before it is stopped.
    constexpr LONGLONG kLongestStep = LONGLONG{1} << 40;
    constexpr LONGLONG kLast = std::numeric_limits<LONGLONG>::max();
    const LONGLONG now = m_now;
    m_now = m_now > kLast - m_step ? kLast : m_now + m_step;
    m_step = std::min(m_step * 2, kLongestStep);
    return now;
}

LONGLONG FuzzPlatform::queryPerformanceFrequency()
{
    return 1000;
}

void FuzzPlatform::sleepUntil(LONGLONG /*counter*/) {}

SHORT FuzzPlatform::getAsyncKeyState(int virtualKey)
{
    if (m_altXFrom && std::chrono::steady_clock::now() >= *m_altXFrom) {
        switch (virtualKey) {
        case VK_MENU:
        case 'X':
            return static_cast<SHORT>(0x8000);
        case VK_CONTROL:
        case VK_SHIFT:
        case VK_LWIN:
        case VK_RWIN:
            return 0;
        default:
            break;
        }
    }
    return SimulatedPlatform::getAsyncKeyState(virtualKey);
}

void FuzzPlatform::startAfresh()
{
    m_now = 0;
    m_step = 1;
    m_altXFrom.reset();
    for (int key = 1; key <= 0xFF; ++key) {
        if (SimulatedPlatform::getAsyncKeyState(key) & 0x8000) {
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

void FuzzPlatform::holdAltXAfter(std::chrono::milliseconds delay)
{
    m_altXFrom = std::chrono::steady_clock::now() + delay;
}
