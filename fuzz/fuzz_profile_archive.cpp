// A profile archive someone sent, through the import: whatever the archive holds, the import
// writes nothing outside the folders of the profiles it adds (no existing file changes or
// goes, no link appears, the staging folder is gone afterwards), and every imported
// scenario points into its profile's folder.
//
// An input starting with "#" describes the entries of an archive, which is then made with
// libarchive, so that the fuzzer reaches odd names and entry types without having to find
// valid archives: "#z" (ZIP) or "#t" (tar), then entries separated by byte 1, each a type
// byte (d directory, l symbolic link, h hard link, anything else a file), the name up to
// the first line break and the content (a link's target). Any other input is the archive
// itself.

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"

#include "ScriptedPrompter.h"
#include "profiles/ProfileImporter.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <archive.h>
#include <archive_entry.h>

#include <cstdio>

namespace {

la_ssize_t appendToBytes(archive*, void* target, const void* buffer, size_t length)
{
    static_cast<QByteArray*>(target)->append(static_cast<const char*>(buffer),
                                             static_cast<qsizetype>(length));
    return static_cast<la_ssize_t>(length);
}

QByteArray describedArchive(const QByteArray& description)
{
    QByteArray bytes;
    archive* a = archive_write_new();
    if (description.startsWith("#z"))
        archive_write_set_format_zip(a);
    else
        archive_write_set_format_pax_restricted(a);
    archive_write_open2(a, &bytes, nullptr, appendToBytes, nullptr, nullptr);
    for (const QByteArray& item : description.mid(2).split('\x01')) {
        if (item.isEmpty())
            continue;
        const char type = item[0];
        const qsizetype newline = item.indexOf('\n');
        const QByteArray name = item.mid(1, newline < 0 ? -1 : newline - 1);
        const QByteArray content = newline < 0 ? QByteArray() : item.mid(newline + 1);
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.constData());
        archive_entry_set_perm(entry, 0644);
        if (type == 'd') {
            archive_entry_set_filetype(entry, AE_IFDIR);
        } else if (type == 'l') {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, content.constData());
        } else if (type == 'h') {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_hardlink(entry, content.constData());
        } else {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, content.size());
        }
        if (archive_write_header(a, entry) == ARCHIVE_OK && type != 'd' && type != 'l' &&
            type != 'h')
            archive_write_data(a, content.constData(), static_cast<size_t>(content.size()));
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    return bytes;
}

struct Item
{
    bool directory = false;
    QByteArray content;
    friend bool operator==(const Item&, const Item&) = default;
};

// Every file and folder below the root (links are not followed), with the files' contents.
QMap<QString, Item> tree(const QString& root)
{
    QMap<QString, Item> items;
    QDirIterator walk(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        const QFileInfo info = walk.fileInfo();
        Item item;
        item.directory = info.isDir() && !info.isSymLink();
        if (info.isFile() && !info.isSymLink()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                item.content = file.readAll();
        }
        items.insert(path, item);
    }
    return items;
}

bool isInside(const QString& path, const QStringList& folders)
{
    for (const QString& folder : folders) {
        if (path == folder || path.startsWith(folder + QLatin1Char('/')))
            return true;
    }
    return false;
}

QList<ScenarioProfile> existingProfiles()
{
    ScenarioProfile standard;
    standard.name = QStringLiteral("default");
    ScenarioProfile work;
    work.name = QStringLiteral("Work");
    const QString folder = profileDirectory(work.name);
    QDir().mkpath(folder);
    QDir().mkpath(profileDirectory(standard.name));
    QFile kept(folder + QStringLiteral("/main.lua"));
    if (!kept.open(QIODevice::WriteOnly) || kept.write("Sleep(1)\n") != 9)
        qFatal("cannot write the existing profile");
    work.scenarios.append({kept.fileName(), QStringLiteral("Alt+W"), {}});
    return {standard, work};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzEnvironment& environment = FuzzEnvironment::instance();
    environment.clearDataDirectory();
    QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (input.startsWith('#'))
        input = describedArchive(input);
    const QString archivePath = environment.writeFile(
        QStringLiteral("import.zip"), reinterpret_cast<const std::uint8_t*>(input.constData()),
        static_cast<std::size_t>(input.size()));

    QList<ScenarioProfile> profiles = existingProfiles();
    const qsizetype existing = profiles.size();
    const QMap<QString, Item> before = tree(environment.root());

    environment.prompter().queueValue(archivePath);
    ProfileImporter importer(nullptr);
    const qsizetype added = importer.run(profiles);
    FUZZ_CHECK(profiles.size() == existing + added);
    if (added > 0)
        importer.reportOutcome();

    QStringList newFolders;
    for (qsizetype i = existing; i < profiles.size(); ++i) {
        const QString folder = QDir::cleanPath(profileDirectory(profiles[i].name));
        FUZZ_CHECK(!newFolders.contains(folder, Qt::CaseInsensitive));
        for (qsizetype j = 0; j < existing; ++j)
            FUZZ_CHECK(QDir::cleanPath(profileDirectory(profiles[j].name)).compare(folder, Qt::CaseInsensitive) != 0);
        for (const ProfileScenario& scenario : profiles[i].scenarios)
            FUZZ_CHECK(scenario.file.isEmpty() || scenario.file.startsWith(folder + QLatin1Char('/')));
        newFolders.append(folder);
    }
    const QMap<QString, Item> after = tree(environment.root());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        FUZZ_CHECK(after.value(it.key()) == it.value() && after.contains(it.key()));
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.contains(it.key()))
            continue;
        const QFileInfo info(it.key());
        const bool allowed =
            isInside(it.key(), newFolders) && !info.isSymLink() && (info.isFile() || info.isDir());
        if (!allowed)
            std::fprintf(stderr, "written outside: %s\n", qPrintable(it.key()));
        FUZZ_CHECK(allowed);
    }
    return 0;
}
