#pragma once

#include "ArchiveBudget.h"

#include <QString>
#include <QStringList>

#include <optional>

// Profile archives on disk, written and read in-process: ZIP, or tar with the compression its
// suffix names (".tar", ".tar.gz"/".tgz", ".tar.bz2"/".tbz"/".tbz2", ".tar.xz"/".txz",
// ".tar.zst"/".tzst", ".tar.lzma"/".tlz"). Entry names are UTF-8 with "/" separators.
class ProfileArchive
{
public:
    // A path from an archive or a manifest as a path inside the folder it belongs to: "/"
    // separators (a backslash counts as one), no "." or empty parts; "" for the folder itself.
    // Nothing when it could lead anywhere else: absolute, naming a drive or a stream (a ":"
    // anywhere), a ".." part, or a part that Windows would shorten (a trailing dot or blank).
    static std::optional<QString> containedPath(const QString& path);

    // Writes the files of `directory` named by `files` (relative paths, "/" separators) in
    // that order into the archive at `archivePath`: tar for the tar suffixes above (in any
    // case), ZIP for any other. The archive is written beside the target and replaces it only
    // once complete, so a failure leaves an existing file as it was. On failure `error` gets
    // the reason.
    static bool write(const QString& archivePath, const QString& directory,
                      const QStringList& files, QString* error);

    // Why an archive was not unpacked: the bound of ArchiveBudget it breaks, with the entry that
    // breaks it, or else the reason it could not be read or a file not written.
    struct Failure
    {
        ArchiveBudget::Bound bound = ArchiveBudget::Bound::None;
        QString entry;
        QString error;
    };

    // Unpacks a ZIP or tar archive (any of the compressions above, whatever its name) into
    // `directory`. Only files and folders are unpacked, each at its contained path; entries
    // with any other path, links and special files are named in `refused` and never written.
    // An archive that breaks a bound of ArchiveBudget is refused: a first pass over its headers
    // refuses it by their count and the sizes they declare before anything is written, and
    // while unpacking, a file is stopped at its bound whatever its header said. False, with
    // `failure` told why, when the archive breaks a bound, cannot be read or a file cannot be
    // written; what was unpacked until then stays.
    static bool extract(const QString& archivePath, const QString& directory, QStringList* refused,
                        Failure* failure);
};
