#include "ButtonEchoes.h"

#include "platform/MonotonicClock.h"

ButtonEchoes& ButtonEchoes::instance()
{
    static ButtonEchoes echoes(&platform::MonotonicClock::now);
    return echoes;
}

ButtonEchoes::ButtonEchoes(Clock clock) : m_clock(clock) {}

int ButtonEchoes::kindOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return 0;
    case WM_LBUTTONUP:
        return 1;
    case WM_RBUTTONDOWN:
        return 2;
    case WM_RBUTTONUP:
        return 3;
    case WM_MBUTTONDOWN:
        return 4;
    case WM_MBUTTONUP:
        return 5;
    default:
        return -1;
    }
}

int ButtonEchoes::expect(UINT message)
{
    const int kind = kindOf(message);
    if (kind < 0)
        return -1;
    const LONGLONG now = m_clock();
    auto& slots = m_deadlines[static_cast<std::size_t>(kind)];
    for (int slot = 0; slot < kSlots; ++slot) {
        // A free slot, or one whose event is forgotten by now.
        LONGLONG deadline = slots[static_cast<std::size_t>(slot)].load(std::memory_order_relaxed);
        if (deadline < now && slots[static_cast<std::size_t>(slot)].compare_exchange_strong(
                                  deadline, now + kTimeLimitNs, std::memory_order_relaxed))
            return kind * kSlots + slot;
    }
    return -1;
}

void ButtonEchoes::withdraw(int ticket)
{
    if (ticket >= 0 && ticket < kKinds * kSlots)
        m_deadlines[static_cast<std::size_t>(ticket / kSlots)]
                   [static_cast<std::size_t>(ticket % kSlots)]
                       .store(0, std::memory_order_relaxed);
}

bool ButtonEchoes::take(UINT message)
{
    const int kind = kindOf(message);
    if (kind < 0)
        return false;
    const LONGLONG now = m_clock();
    for (std::atomic<LONGLONG>& slot : m_deadlines[static_cast<std::size_t>(kind)]) {
        LONGLONG deadline = slot.load(std::memory_order_relaxed);
        if (deadline != 0 && deadline >= now &&
            slot.compare_exchange_strong(deadline, 0, std::memory_order_relaxed))
            return true;
    }
    return false;
}
