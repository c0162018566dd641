#pragma once

#include <QtGlobal>

// The ideal timeline of a run of the click engine: tick n is due at the run's start plus the
// intervals drawn for the ticks before it, whenever the ticks before it actually ran. Each
// tick's interval is drawn once, when the tick before it is done, so a randomised run keeps
// its draws and no tick's own work or lateness moves the ticks after it.
class TickTimeline
{
public:
    // A run starts at nowNs: its first tick is due then, the second intervalNs later.
    void start(qint64 nowNs, qint64 intervalNs)
    {
        m_dueNs = nowNs;
        m_intervalNs = intervalNs;
    }
    // The tick that was due is done (run or skipped); the next one is due its interval after
    // it, and the one after that nextIntervalNs later.
    void advance(qint64 nextIntervalNs)
    {
        m_dueNs += m_intervalNs;
        m_intervalNs = nextIntervalNs;
    }
    qint64 dueNs() const { return m_dueNs; }
    // More than one whole interval late at nowNs: the tick after it is due already, so this
    // one is skipped rather than crowded in. Ticks without an interval are never skipped.
    bool isOverdue(qint64 nowNs) const
    {
        return m_intervalNs > 0 && nowNs - m_dueNs > m_intervalNs;
    }

private:
    qint64 m_dueNs = 0;
    qint64 m_intervalNs = 0;
};
