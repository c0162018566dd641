#pragma once

#include "SimulatedPlatform.h"

#include <cstddef>
#include <vector>

namespace platform {

// The simulated desktop on a virtual clock, for running a script ahead of time: nothing
// waits for real. The performance counter runs at 1 MHz and moves only when it is read or
// slept on: sleepUntil(x) sets it to x at once, and every reading returns the counter and
// then moves it on by one tick (a reading "takes" 1 µs). A wait that sleeps to shortly
// before its deadline and reads the counter for the rest therefore ends at its deadline to
// the microsecond, after a bounded number of readings, instead of spinning on a counter that
// never moves.
//
// The physical mouse buttons follow a timeline of presses and releases by virtual time:
// each change takes effect once the counter has reached its moment (looked at whenever a
// key or button state is asked for). Every record sent is kept with the virtual time at
// which it was sent.
class VirtualClockPlatform : public SimulatedPlatform
{
public:
    static constexpr LONGLONG kTicksPerSecond = 1'000'000;

    // A physical press or release of a mouse button (VK_LBUTTON, ...) at a virtual time.
    struct ButtonChange
    {
        LONGLONG atTick;
        int virtualKey;
        bool down;
    };
    // A record sent, and when.
    struct SentRecord
    {
        LONGLONG atTick;
        INPUT record;
    };

    // The changes in the order of their moments.
    explicit VirtualClockPlatform(std::vector<ButtonChange> buttons = {});

    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;
    void sleepUntil(LONGLONG counter) override;
    bool sleepsPrecisely() override;
    SHORT getAsyncKeyState(int virtualKey) override;
    SHORT getKeyState(int virtualKey) override;
    UINT sendInput(UINT count, const INPUT* inputs, int recordSize) override;

    // The counter, without moving it.
    LONGLONG now() const { return m_counter; }
    // Keeps at most this many records; the ones sent beyond it are only counted.
    void setRecordLimit(std::size_t limit) { m_recordLimit = limit; }
    const std::vector<SentRecord>& sentRecords() const { return m_sent; }
    std::size_t droppedRecords() const { return m_dropped; }

private:
    // Applies the button changes whose moment has come.
    void catchUp();

    LONGLONG m_counter = 0;
    std::vector<ButtonChange> m_buttons;
    std::size_t m_nextButton = 0;
    std::vector<SentRecord> m_sent;
    std::size_t m_recordLimit = static_cast<std::size_t>(-1);
    std::size_t m_dropped = 0;
};

} // namespace platform
