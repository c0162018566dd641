#pragma once

// Archives for the tests, made and read with libarchive itself: hostile ones included, which
// the program never writes.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QtEndian>

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

// A file of zeros for writeZerosArchive.
struct ZeroFile
{
    QByteArray name;
    qint64 size = 0;
};

// A ZIP archive of a manifest and then the files, in order (a name may come again); large files
// are deflated, so that zeros take little room. The zeros are written a block at a time.
inline bool writeZerosArchive(const QString& path, const QByteArray& manifest,
                              const QList<ZeroFile>& files)
{
    static const QByteArray zeros(64 * 1024, '\0');
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_set_format_option(a, "zip", "compression-level", "1");
    bool ok = archive_write_open_filename(a, path.toLocal8Bit().constData()) == ARCHIVE_OK;
    for (qsizetype i = -1; ok && i < files.size(); ++i) {
        const ZeroFile file = i < 0 ? ZeroFile{"manifest.json", manifest.size()} : files[i];
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, file.name.constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, file.size);
        // Small files are stored: setting up compression for each costs more than writing it.
        if (file.size < zeros.size())
            archive_write_zip_set_compression_store(a);
        else
            archive_write_zip_set_compression_deflate(a);
        ok = archive_write_header(a, entry) == ARCHIVE_OK;
        if (i < 0)
            ok = ok &&
                 archive_write_data(a, manifest.constData(), manifest.size()) == manifest.size();
        for (qint64 left = i < 0 ? 0 : file.size; ok && left > 0; left -= zeros.size()) {
            const qint64 block = std::min<qint64>(left, zeros.size());
            ok = archive_write_data(a, zeros.constData(), block) == block;
        }
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

// A ZIP archive of one stored file whose headers declare `declaredSize` bytes while `data`
// follows them: what libarchive never writes.
inline bool writeLyingZip(const QString& path, const QByteArray& name, const QByteArray& data,
                          quint32 declaredSize)
{
    const auto le16 = [](QByteArray& out, quint16 value) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        out.append(bytes, 2);
    };
    const auto le32 = [](QByteArray& out, quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        out.append(bytes, 4);
    };
    // Version 2.0, no flags, stored, 1980-01-01, no checksum, the sizes, the name's length.
    const auto common = [&](QByteArray& out) {
        le16(out, 20);
        le16(out, 0);
        le16(out, 0);
        le16(out, 0);
        le16(out, 0x21);
        le32(out, 0);
        le32(out, static_cast<quint32>(data.size()));
        le32(out, declaredSize);
        le16(out, static_cast<quint16>(name.size()));
        le16(out, 0); // no extra field
    };
    QByteArray zip;
    le32(zip, 0x04034b50); // local file header
    common(zip);
    zip += name + data;
    const auto directoryOffset = static_cast<quint32>(zip.size());
    le32(zip, 0x02014b50); // central directory entry
    le16(zip, 20);         // made by
    common(zip);
    le16(zip, 0); // comment
    le16(zip, 0); // disk
    le16(zip, 0); // internal attributes
    le32(zip, 0); // external attributes
    le32(zip, 0); // local header's offset
    zip += name;
    const auto directorySize = static_cast<quint32>(zip.size()) - directoryOffset;
    le32(zip, 0x06054b50); // end of central directory
    le16(zip, 0);
    le16(zip, 0);
    le16(zip, 1);
    le16(zip, 1);
    le32(zip, directorySize);
    le32(zip, directoryOffset);
    le16(zip, 0);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(zip) == zip.size();
}
