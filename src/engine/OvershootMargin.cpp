#include "OvershootMargin.h"

#include <algorithm>

namespace {

constexpr LONGLONG kNsPerSecond = 1'000'000'000;

} // namespace

LONGLONG OvershootMargin::ticks(LONGLONG frequency) const
{
    // kLatestNs and a margin derived from it stay far below a second: no overflow.
    return m_marginNs * frequency / kNsPerSecond;
}

void OvershootMargin::record(LONGLONG lateTicks, LONGLONG frequency)
{
    if (frequency <= 0)
        return;
    const LONGLONG limit = kLatestNs * frequency / kNsPerSecond;
    const LONGLONG late = std::clamp<LONGLONG>(lateTicks, 0, limit) * kNsPerSecond / frequency;
    m_lateNs[m_next] = late;
    m_next = (m_next + 1) % kSamples;
    m_count = std::min(m_count + 1, kSamples);

    std::array<LONGLONG, kSamples> sorted = m_lateNs;
    const auto last = sorted.begin() + static_cast<std::ptrdiff_t>(m_count);
    const auto covered = sorted.begin() + static_cast<std::ptrdiff_t>(m_count * 19 / 20);
    std::nth_element(sorted.begin(), covered, last);
    m_marginNs = *covered + *covered / 2 + 50'000;
}
