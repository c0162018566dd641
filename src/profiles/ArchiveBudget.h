#pragma once

#include <QtGlobal>

// The bounds an imported archive must keep, and one archive's account against them: how many
// entries it has and how many bytes its unpacked files take. Sizes an entry's header declares
// are counted when the file begins, so that a pass over the headers alone can refuse an archive
// before anything is written; the bytes read are counted as they come, so that a header that
// declares less than its data holds is caught at its bound whatever it says.
class ArchiveBudget
{
public:
    static constexpr qsizetype kMaxEntries = 2000;
    static constexpr qint64 kMaxTotalSize = 64 * 1024 * 1024;
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    enum class Bound
    {
        None,
        Entries,      // more than kMaxEntries entries
        TotalSize,    // more than kMaxTotalSize bytes in all
        FileSize,     // one file over kMaxFileSize bytes
        DeclaredSize, // a file's data longer than its header declares
    };

    // Counts one more entry of any kind.
    Bound addEntry();
    // Begins a file that will be unpacked, of the size its header declares (negative when the
    // header declares none); the bound that size already breaks.
    Bound beginFile(qint64 declaredSize);
    // The current file has `length` bytes of data at `offset`; the bound that breaks. Called
    // before they are written, so that nothing beyond a bound is.
    Bound addData(qint64 offset, qint64 length);

private:
    // Sizes past every bound count as just past it, so that no sum overflows.
    static constexpr qint64 kBeyond = kMaxTotalSize + 1;

    qint64 total() const;

    qsizetype m_entries = 0;
    qint64 m_finished = 0; // the files before the current one
    qint64 m_declared = -1;
    qint64 m_extent = 0; // the current file's data so far
};
