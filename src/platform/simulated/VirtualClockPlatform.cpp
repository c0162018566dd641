#include "VirtualClockPlatform.h"

#include <algorithm>
#include <utility>

namespace platform {

VirtualClockPlatform::VirtualClockPlatform(std::vector<ButtonChange> buttons)
    : m_buttons(std::move(buttons))
{
    std::stable_sort(m_buttons.begin(), m_buttons.end(),
                     [](const ButtonChange& a, const ButtonChange& b) { return a.atTick < b.atTick; });
}

LONGLONG VirtualClockPlatform::queryPerformanceCounter()
{
    return m_counter++;
}

LONGLONG VirtualClockPlatform::queryPerformanceFrequency()
{
    return kTicksPerSecond;
}

void VirtualClockPlatform::sleepUntil(LONGLONG counter)
{
    m_counter = std::max(m_counter, counter);
}

bool VirtualClockPlatform::sleepsPrecisely()
{
    return true;
}

void VirtualClockPlatform::catchUp()
{
    while (m_nextButton < m_buttons.size() && m_buttons[m_nextButton].atTick <= m_counter) {
        const ButtonChange& change = m_buttons[m_nextButton++];
        setKeyDown(change.virtualKey, change.down);
    }
}

SHORT VirtualClockPlatform::getAsyncKeyState(int virtualKey)
{
    catchUp();
    return SimulatedPlatform::getAsyncKeyState(virtualKey);
}

SHORT VirtualClockPlatform::getKeyState(int virtualKey)
{
    catchUp();
    return SimulatedPlatform::getKeyState(virtualKey);
}

UINT VirtualClockPlatform::sendInput(UINT count, const INPUT* inputs, int recordSize)
{
    // A button the script presses after a physical change must not be undone by it later.
    catchUp();
    const UINT sent = SimulatedPlatform::sendInput(count, inputs, recordSize);
    for (UINT i = 0; i < sent; ++i) {
        if (m_sent.size() < m_recordLimit)
            m_sent.push_back({m_counter, inputs[i]});
        else
            ++m_dropped;
    }
    return sent;
}

} // namespace platform
