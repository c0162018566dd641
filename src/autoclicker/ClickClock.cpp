#include "ClickClock.h"

#include <QThread>

#include <chrono>

namespace {

class SystemClickClock : public ClickClock
{
public:
    qint64 nowNs() override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void sleepUs(qint64 microseconds) override
    {
        QThread::usleep(static_cast<unsigned long>(microseconds));
    }
    void yield() override { QThread::yieldCurrentThread(); }
};

} // namespace

void ClickClock::waitPrecisely(qint64 microseconds)
{
    if (microseconds <= 0)
        return;
    const qint64 start = nowNs();
    if (microseconds > 2000)
        sleepUs(microseconds - 1500);
    const qint64 total = microseconds * 1000;
    // The sleep may end late or early; the spin only ever ends on time or after.
    for (qint64 remaining = total - (nowNs() - start); remaining > 0;
         remaining = total - (nowNs() - start)) {
        if (remaining > 500'000)
            yield();
    }
}

ClickClock& ClickClock::system()
{
    static SystemClickClock clock;
    return clock;
}
