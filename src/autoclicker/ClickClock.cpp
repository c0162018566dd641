#include "ClickClock.h"

#include "engine/DeadlineWait.h"
#include "platform/Platform.h"

#include <QThread>

namespace {

constexpr qint64 kNsPerSecond = 1'000'000'000;

class SystemClickClock : public ClickClock
{
public:
    // Split at whole seconds, so that neither conversion overflows for any counter reading.
    qint64 nowNs() override
    {
        platform::Platform& os = platform::Platform::current();
        const LONGLONG frequency = os.queryPerformanceFrequency();
        if (frequency <= 0)
            return 0;
        const LONGLONG counter = os.queryPerformanceCounter();
        return counter / frequency * kNsPerSecond + counter % frequency * kNsPerSecond / frequency;
    }
    void sleepUs(qint64 microseconds) override
    {
        QThread::usleep(static_cast<unsigned long>(microseconds));
    }
    void sleepUntil(qint64 ns) override
    {
        platform::Platform& os = platform::Platform::current();
        const LONGLONG end = counterAt(ns);
        // The system may wake the thread a little early: it then sleeps the rest again.
        while (os.queryPerformanceCounter() < end)
            os.sleepUntil(end);
    }
    // Where the system's sleep wakes within a fraction of a millisecond, one sleep to the
    // moment is as precise as reading the counter for the last stretch and costs nothing
    // meanwhile; where it wakes on the timer tick, the deadline wait reads the counter for
    // the rest.
    void waitUntil(qint64 ns) override
    {
        if (platform::Platform::current().sleepsPrecisely())
            sleepUntil(ns);
        else
            DeadlineWait::until(counterAt(ns));
    }

private:
    // The first counter reading at or past ns.
    static LONGLONG counterAt(qint64 ns)
    {
        const LONGLONG frequency = platform::Platform::current().queryPerformanceFrequency();
        return ns / kNsPerSecond * frequency +
               (ns % kNsPerSecond * frequency + kNsPerSecond - 1) / kNsPerSecond;
    }
};

} // namespace

ClickClock& ClickClock::system()
{
    static SystemClickClock clock;
    return clock;
}
