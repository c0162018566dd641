#pragma once

#include "platform/WinApi.h"

#include <array>
#include <cstddef>

// How long before a deadline a wait stops sleeping and reads the clock instead. The system
// wakes a sleeping thread late, by an amount that varies with the system and its load; every
// sleep reports how late it woke. The margin is half as much again as nineteen in twenty of
// the recent sleeps were late, plus 50 µs. The rare wake-up that is later still (the thread
// preempted by a busy neighbour, milliseconds late) sets no rule: covering it would mean
// reading the clock for milliseconds on every wait, and a thread that does so for long is the
// one the scheduler preempts.
class OvershootMargin
{
public:
    // The margin before the first sleep has been measured.
    static constexpr LONGLONG kInitialNs = 2'000'000;
    // Wake-ups later than this count as this late: on a system whose timer wakes that late
    // the waits read the clock for most of their time anyway.
    static constexpr LONGLONG kLatestNs = 50'000'000;

    // The margin in ticks of a counter running at frequency ticks per second.
    LONGLONG ticks(LONGLONG frequency) const;
    // A sleep woke late by this many ticks (negative: early) of a counter at frequency.
    void record(LONGLONG lateTicks, LONGLONG frequency);

private:
    static constexpr std::size_t kSamples = 64;
    std::array<LONGLONG, kSamples> m_lateNs{};
    std::size_t m_count = 0;
    std::size_t m_next = 0;
    LONGLONG m_marginNs = kInitialNs;
};
