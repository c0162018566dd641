#pragma once

#include "platform/WinApi.h"

#include <array>
#include <atomic>

// The mouse-button events the program sends through the virtual HID mouse, until they come
// back. The system takes the device for hardware, so its clicks reach the mouse hook without
// the injected flag, like the user's own. The virtual mouse notes each press and release
// before it sends it; for every event the hook sees without the flag, it takes one noted event
// of the same kind if there is one, and then drops the event as the program's own. A noted
// event that has not come back within kTimeLimitNs is forgotten, so that a report the system
// lost cannot swallow one of the user's clicks later.
//
// The virtual mouse runs on the GUI thread and the hook on its own thread: every noted event
// is one atomic slot, without locks or allocation.
class ButtonEchoes
{
public:
    // Nanoseconds on a monotonic clock.
    using Clock = LONGLONG (*)();

    static constexpr LONGLONG kTimeLimitNs = 250'000'000;
    // Events of one kind that can be noted at once; further ones are not noted, and heard.
    static constexpr int kSlots = 32;

    // The one record between the virtual mouse and the hook.
    static ButtonEchoes& instance();

    explicit ButtonEchoes(Clock clock);

    // Notes that the event (WM_LBUTTONDOWN, WM_LBUTTONUP, ... WM_MBUTTONUP) is being sent.
    // Returns a ticket for withdraw(), -1 when nothing was noted.
    int expect(UINT message);
    // Forgets a noted event that was not sent after all.
    void withdraw(int ticket);
    // True when the event is the echo of one sent, which it then takes.
    bool take(UINT message);

private:
    static constexpr int kKinds = 6;
    static int kindOf(UINT message); // -1 for any other message

    Clock m_clock;
    // Per kind, when each noted event is forgotten; 0 marks a free slot.
    std::array<std::array<std::atomic<LONGLONG>, kSlots>, kKinds> m_deadlines{};
};
