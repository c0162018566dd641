#include "ArchiveBudget.h"

#include <algorithm>

ArchiveBudget::Bound ArchiveBudget::addEntry()
{
    return ++m_entries > kMaxEntries ? Bound::Entries : Bound::None;
}

ArchiveBudget::Bound ArchiveBudget::beginFile(qint64 declaredSize)
{
    m_finished = total();
    m_declared = std::min(declaredSize, kBeyond);
    m_extent = 0;
    if (m_declared > kMaxFileSize)
        return Bound::FileSize;
    return total() > kMaxTotalSize ? Bound::TotalSize : Bound::None;
}

ArchiveBudget::Bound ArchiveBudget::addData(qint64 offset, qint64 length)
{
    const qint64 end =
        std::clamp<qint64>(offset, 0, kBeyond) + std::clamp<qint64>(length, 0, kBeyond);
    m_extent = std::max(m_extent, std::min(end, kBeyond));
    if (m_declared >= 0 && m_extent > m_declared)
        return Bound::DeclaredSize;
    if (m_extent > kMaxFileSize)
        return Bound::FileSize;
    return total() > kMaxTotalSize ? Bound::TotalSize : Bound::None;
}

// A file counts with the larger of its declared size and its data so far.
qint64 ArchiveBudget::total() const
{
    return m_finished + std::max({m_declared, m_extent, qint64(0)});
}
