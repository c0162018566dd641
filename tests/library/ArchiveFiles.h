#pragma once

// Archives for the tests, made and read with libarchive itself: hostile ones included, which
// the program never writes.

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>

#include <archive.h>
#include <archive_entry.h>

struct ArchiveEntry
{
    enum Type
    {
        File,
        Directory,
        SymbolicLink,
        HardLink
    };

    QByteArray name;
    QByteArray data; // a file's content, or a link's target
    Type type = File;
};
Q_DECLARE_METATYPE(ArchiveEntry)

// A ZIP archive, or a gzip-compressed tar archive, holding the entries exactly as given.
inline bool writeTestArchive(const QString& path, const QList<ArchiveEntry>& entries, bool zip)
{
    archive* a = archive_write_new();
    if (zip) {
        archive_write_set_format_zip(a);
    } else {
        archive_write_set_format_pax_restricted(a);
        archive_write_add_filter_gzip(a);
    }
    bool ok = archive_write_open_filename(a, path.toLocal8Bit().constData()) == ARCHIVE_OK;
    for (const ArchiveEntry& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.constData());
        archive_entry_set_perm(entry, 0644);
        switch (item.type) {
        case ArchiveEntry::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, item.data.size());
            break;
        case ArchiveEntry::Directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            break;
        case ArchiveEntry::SymbolicLink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, item.data.constData());
            break;
        case ArchiveEntry::HardLink:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_hardlink(entry, item.data.constData());
            break;
        }
        ok = ok && archive_write_header(a, entry) == ARCHIVE_OK;
        if (item.type == ArchiveEntry::File)
            ok = ok &&
                 archive_write_data(a, item.data.constData(), item.data.size()) == item.data.size();
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

// The names of an archive's entries, in order, as UTF-8.
inline QList<QByteArray> testArchiveEntries(const QString& path)
{
    QList<QByteArray> names;
    archive* a = archive_read_new();
    archive_read_support_format_all(a);
    archive_read_support_filter_all(a);
    if (archive_read_open_filename(a, path.toLocal8Bit().constData(), 16384) == ARCHIVE_OK) {
        archive_entry* entry = nullptr;
        while (archive_read_next_header(a, &entry) == ARCHIVE_OK)
            names.append(archive_entry_pathname_utf8(entry));
    }
    archive_read_free(a);
    return names;
}
