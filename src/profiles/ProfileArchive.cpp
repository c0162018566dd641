#include "ProfileArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

constexpr qint64 kBlockSize = 64 * 1024;

using ArchivePointer = std::unique_ptr<archive, int (*)(archive*)>;

struct TarSuffix
{
    const char* suffix;
    int (*addFilter)(archive*);
};

const TarSuffix kTarSuffixes[] = {
    {".tar.gz", archive_write_add_filter_gzip},   {".tgz", archive_write_add_filter_gzip},
    {".tar.bz2", archive_write_add_filter_bzip2}, {".tbz", archive_write_add_filter_bzip2},
    {".tbz2", archive_write_add_filter_bzip2},    {".tar.xz", archive_write_add_filter_xz},
    {".txz", archive_write_add_filter_xz},        {".tar.zst", archive_write_add_filter_zstd},
    {".tzst", archive_write_add_filter_zstd},     {".tar.lzma", archive_write_add_filter_lzma},
    {".tlz", archive_write_add_filter_lzma},      {".tar", archive_write_add_filter_none},
};

QString errorOf(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text)
                : QStringLiteral("libarchive error %1").arg(archive_errno(a));
}

// Chooses the format (and compression) by the archive's suffix.
bool setFormat(archive* a, const QString& archivePath)
{
    const QString name = archivePath.toLower();
    for (const TarSuffix& tar : kTarSuffixes) {
        if (name.endsWith(QLatin1String(tar.suffix))) {
            return archive_write_set_format_pax_restricted(a) == ARCHIVE_OK &&
                   archive_write_set_format_option(a, "pax", "hdrcharset", "UTF-8") == ARCHIVE_OK &&
                   tar.addFilter(a) == ARCHIVE_OK;
        }
    }
    return archive_write_set_format_zip(a) == ARCHIVE_OK &&
           archive_write_set_format_option(a, "zip", "hdrcharset", "UTF-8") == ARCHIVE_OK;
}

la_ssize_t writeToSaveFile(archive* a, void* target, const void* buffer, size_t length)
{
    auto* file = static_cast<QSaveFile*>(target);
    if (file->write(static_cast<const char*>(buffer), static_cast<qint64>(length)) !=
        static_cast<qint64>(length)) {
        archive_set_error(a, EIO, "%s", file->errorString().toLocal8Bit().constData());
        return -1;
    }
    return static_cast<la_ssize_t>(length);
}

// Adds one file of the staging folder as an entry.
bool addFile(archive* a, const QString& directory, const QString& relativePath, QString* error)
{
    QFile file(directory + QLatin1Char('/') + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.fileName()),
                                              file.errorString());
        return false;
    }
    const std::unique_ptr<archive_entry, void (*)(archive_entry*)> entry(archive_entry_new(),
                                                                         archive_entry_free);
    archive_entry_set_pathname_utf8(entry.get(), relativePath.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), file.size());
    archive_entry_set_mtime(entry.get(), QFileInfo(file).lastModified().toSecsSinceEpoch(), 0);
    if (archive_write_header(a, entry.get()) != ARCHIVE_OK) {
        *error = errorOf(a);
        return false;
    }
    QByteArray block(kBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(block.data(), block.size());
        if (read < 0) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.fileName()),
                                                  file.errorString());
            return false;
        }
        if (read == 0)
            break;
        if (archive_write_data(a, block.constData(), static_cast<size_t>(read)) != read) {
            *error = errorOf(a);
            return false;
        }
    }
    if (archive_write_finish_entry(a) != ARCHIVE_OK) {
        *error = errorOf(a);
        return false;
    }
    return true;
}

// The archive being read, from a file opened by the program (so that paths need no
// conversion for the library), seekable for ZIP's central directory.
struct ArchiveSource
{
    QFile file;
    QByteArray block = QByteArray(kBlockSize, Qt::Uninitialized);
};

la_ssize_t readFromSource(archive* a, void* data, const void** buffer)
{
    auto* source = static_cast<ArchiveSource*>(data);
    const qint64 read = source->file.read(source->block.data(), source->block.size());
    if (read < 0) {
        archive_set_error(a, EIO, "%s", source->file.errorString().toLocal8Bit().constData());
        return -1;
    }
    *buffer = source->block.constData();
    return static_cast<la_ssize_t>(read);
}

la_int64_t seekInSource(archive*, void* data, la_int64_t offset, int whence)
{
    auto* source = static_cast<ArchiveSource*>(data);
    qint64 position = offset;
    if (whence == SEEK_CUR)
        position += source->file.pos();
    else if (whence == SEEK_END)
        position += source->file.size();
    if (position < 0 || !source->file.seek(position))
        return ARCHIVE_FATAL;
    return position;
}

la_int64_t skipInSource(archive*, void* data, la_int64_t request)
{
    auto* source = static_cast<ArchiveSource*>(data);
    const qint64 position = source->file.pos();
    const qint64 skip = std::clamp<qint64>(request, 0, source->file.size() - position);
    return skip > 0 && source->file.seek(position + skip) ? skip : 0;
}

QString entryName(archive_entry* entry)
{
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char* local = archive_entry_pathname(entry);
    return local ? QFile::decodeName(local) : QString();
}

// Copies the data of the current entry into a new file at `path`, keeping to `budget`.
bool unpackFile(archive* a, const QString& path, ArchiveBudget& budget,
                ProfileArchive::Failure* failure)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) ||
        !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failure->error =
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    for (;;) {
        const void* data = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(a, &data, &size, &offset);
        if (status == ARCHIVE_EOF)
            return true;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            failure->error = errorOf(a);
            return false;
        }
        failure->bound = budget.addData(offset, static_cast<qint64>(size));
        if (failure->bound != ArchiveBudget::Bound::None)
            return false;
        // Sparse entries leave gaps: the file grows to the offset with zeros.
        if ((file.pos() != offset && !file.seek(offset)) ||
            file.write(static_cast<const char*>(data), static_cast<qint64>(size)) !=
                static_cast<qint64>(size)) {
            failure->error =
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
    }
}

// A reader of the archive in `source` from its start, for ZIP and tar with any of the
// compressions above. Null, with the reason in `error`, when it cannot be read as either.
ArchivePointer openForReading(ArchiveSource& source, QString* error)
{
    if (!source.file.seek(0)) {
        *error = source.file.errorString();
        return ArchivePointer(nullptr, archive_read_free);
    }
    ArchivePointer a(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(a.get());
    archive_read_support_format_tar(a.get());
    for (int (*support)(archive*) :
         {archive_read_support_filter_gzip, archive_read_support_filter_bzip2,
          archive_read_support_filter_xz, archive_read_support_filter_lzma,
          archive_read_support_filter_zstd})
        support(a.get());
    archive_read_set_read_callback(a.get(), readFromSource);
    archive_read_set_seek_callback(a.get(), seekInSource);
    archive_read_set_skip_callback(a.get(), skipInSource);
    archive_read_set_callback_data(a.get(), &source);
    if (archive_read_open1(a.get()) != ARCHIVE_OK) {
        *error = errorOf(a.get());
        return ArchivePointer(nullptr, archive_read_free);
    }
    return a;
}

// Goes through the entries of an archive opened for reading, keeping them to the bounds of a
// budget of their own. With `unpack`, writes them into `directory` and names those it refuses
// in `refused`; without, reads only their headers.
bool readEntries(archive* a, bool unpack, const QString& directory, QStringList* refused,
                 ProfileArchive::Failure* failure)
{
    ArchiveBudget budget;
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = archive_read_next_header(a, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
        const QString name = entryName(entry);
        failure->entry = name;
        failure->bound = budget.addEntry();
        if (failure->bound != ArchiveBudget::Bound::None)
            return false;
        const std::optional<QString> contained = ProfileArchive::containedPath(name);
        const auto type = archive_entry_filetype(entry);
        const bool link = archive_entry_hardlink(entry) || archive_entry_symlink(entry);
        if (contained && !link && type == AE_IFDIR) {
            if (unpack && !QDir().mkpath(directory + QLatin1Char('/') + *contained)) {
                failure->error =
                    QDir::toNativeSeparators(directory + QLatin1Char('/') + *contained);
                return false;
            }
            continue;
        }
        if (!contained || contained->isEmpty() || link || type != AE_IFREG) {
            if (unpack)
                refused->append(name);
            continue; // the next header skips the entry's data
        }
        failure->bound =
            budget.beginFile(archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1);
        if (failure->bound != ArchiveBudget::Bound::None)
            return false;
        if (unpack && !unpackFile(a, directory + QLatin1Char('/') + *contained, budget, failure))
            return false;
    }
    if (status != ARCHIVE_EOF) {
        failure->error = errorOf(a);
        return false;
    }
    return true;
}

} // namespace

std::optional<QString> ProfileArchive::containedPath(const QString& path)
{
    QString separated = path;
    separated.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (separated.startsWith(QLatin1Char('/')) || separated.contains(QLatin1Char(':')))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : separated.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..") || part.endsWith(QLatin1Char('.')) ||
            part.endsWith(QLatin1Char(' ')))
            return std::nullopt;
        parts.append(part);
    }
    return parts.join(QLatin1Char('/'));
}

bool ProfileArchive::write(const QString& archivePath, const QString& directory,
                           const QStringList& files, QString* error)
{
    QSaveFile target(archivePath);
    if (!target.open(QIODevice::WriteOnly)) {
        *error = target.errorString();
        return false;
    }
    const ArchivePointer a(archive_write_new(), archive_write_free);
    if (!setFormat(a.get(), archivePath) ||
        archive_write_open2(a.get(), &target, nullptr, writeToSaveFile, nullptr, nullptr) !=
            ARCHIVE_OK) {
        *error = errorOf(a.get());
        return false;
    }
    for (const QString& file : files) {
        if (!addFile(a.get(), directory, file, error))
            return false;
    }
    if (archive_write_close(a.get()) != ARCHIVE_OK) {
        *error = errorOf(a.get());
        return false;
    }
    if (!target.commit()) {
        *error = target.errorString();
        return false;
    }
    return true;
}

bool ProfileArchive::extract(const QString& archivePath, const QString& directory,
                             QStringList* refused, Failure* failure)
{
    *failure = {};
    ArchiveSource source;
    source.file.setFileName(archivePath);
    if (!source.file.open(QIODevice::ReadOnly)) {
        failure->error = source.file.errorString();
        return false;
    }
    for (const bool unpack : {false, true}) {
        const ArchivePointer a = openForReading(source, &failure->error);
        if (!a || !readEntries(a.get(), unpack, directory, refused, failure))
            return false;
    }
    return true;
}
