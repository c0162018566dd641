#include "ProfileImporter.h"

#include "ProfileArchive.h"
#include "ProfileNames.h"
#include "ProfileStore.h"
#include "ProfileTransfer.h"
#include "ProgramMatch.h"
#include "ui/prompts/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

Q_LOGGING_CATEGORY(lcImport, "clavitor.import")

namespace {

const QString kTitle = QStringLiteral("Clavitor");
const QString kManifestName = QStringLiteral("manifest.json");
constexpr qsizetype kRefusedShown = 10;
constexpr qint64 kMiB = 1024 * 1024;

const QString kArchiveFilter = QStringLiteral(
    "*.zip *.tar *.tar.gz *.tgz *.tar.bz2 *.tbz *.tbz2 *.tar.xz *.txz *.tar.zst *.tzst "
    "*.tar.lzma *.tlz");

} // namespace

qsizetype ProfileImporter::run(QList<ScenarioProfile>& profiles)
{
    const QString archive = Prompter::openFileName(m_parent, kTitle, {}, kArchiveFilter);
    if (archive.isEmpty())
        return 0;
    const std::unique_ptr<QTemporaryDir> staging =
        ProfileTransfer::createStagingDirectory(m_parent);
    if (!staging)
        return 0;

    QStringList refused;
    ProfileArchive::Failure failure;
    if (!ProfileArchive::extract(archive, staging->path(), &refused, &failure)) {
        if (failure.bound != ArchiveBudget::Bound::None) {
            refuse(archive, tr("Не удалось импортировать профиль"),
                   {boundBroken(failure, QFileInfo(archive).fileName())});
            return 0;
        }
        refuse(archive, tr("Не удалось распаковать профиль"),
               {tr("Архив: %1").arg(QDir::toNativeSeparators(archive)),
                tr("Ошибка при чтении архива: %1").arg(failure.error)});
        return 0;
    }
    if (!refused.isEmpty()) {
        QStringList shown = refused.first(std::min(refused.size(), kRefusedShown));
        if (refused.size() > kRefusedShown)
            shown.append(QStringLiteral("…"));
        warn(tr("Архив содержит элементы, которые ведут за пределы папки профиля или не являются "
                "файлами; они пропущены:\n%1")
                 .arg(shown.join(QLatin1Char('\n'))));
    }

    const QString manifest = staging->filePath(kManifestName);
    if (!QFileInfo::exists(manifest)) {
        logRefusal(archive, QStringLiteral("манифест не найден"));
        Prompter::message(Prompt::Kind::Warning, m_parent, kTitle,
                          tr("Не удалось импортировать профиль\nМанифест %1 не найден")
                              .arg(QDir::toNativeSeparators(manifest)));
        return 0;
    }
    QString error;
    const QList<ScenarioProfile> described = readProfiles(manifest, &error);
    if (described.isEmpty()) {
        refuse(archive, tr("Не удалось импортировать профиль"),
               {tr("Файл манифеста: %1").arg(QDir::toNativeSeparators(manifest)), error});
        return 0;
    }

    ProfileNames names(profiles);
    for (ScenarioProfile profile : described) {
        // A program is listed by one profile only: the profiles already here keep theirs.
        profile.programs.removeIf([&profiles](const QString& name) {
            return profileListingProgram(profiles, name) >= 0;
        });
        profile.trusted = false; // whatever the archive says: only the user trusts a profile
        profiles.append(importProfile(profile, staging->path(), names));
        qCInfo(lcImport).noquote() << QStringLiteral("Импортирован профиль «%1» из архива %2")
                                          .arg(profiles.last().name,
                                               QDir::toNativeSeparators(archive));
    }
    return described.size();
}

void ProfileImporter::reportOutcome() const
{
    const QString headline =
        m_errors ? tr("Импорт профиля завершен с ошибками") : tr("Импорт профиля успешно завершен");
    Prompter::message(m_errors ? Prompt::Kind::Warning : Prompt::Kind::Information, m_parent,
                      kTitle, (QStringList{headline} + m_renamed).join(QLatin1Char('\n')));
}

// Which bound of ArchiveBudget the archive `archiveName` breaks, and with which file.
QString ProfileImporter::boundBroken(const ProfileArchive::Failure& failure,
                                     const QString& archiveName)
{
    switch (failure.bound) {
    case ArchiveBudget::Bound::Entries:
        return tr("Архив %1 содержит больше %2 элементов.")
            .arg(archiveName)
            .arg(ArchiveBudget::kMaxEntries);
    case ArchiveBudget::Bound::TotalSize:
        return tr("Архив %1 распаковывается больше чем в %2 МиБ.")
            .arg(archiveName)
            .arg(ArchiveBudget::kMaxTotalSize / kMiB);
    case ArchiveBudget::Bound::FileSize:
        return tr("Файл %1 в архиве %2 больше %3 МиБ.")
            .arg(failure.entry, archiveName)
            .arg(ArchiveBudget::kMaxFileSize / kMiB);
    case ArchiveBudget::Bound::DeclaredSize:
        return tr("Файл %1 в архиве %2 больше размера, указанного в архиве: архив повреждён или "
                  "подделан.")
            .arg(failure.entry, archiveName);
    case ArchiveBudget::Bound::None:
        break;
    }
    return {};
}

// The profile as it joins the list: under a free name, its files in its new folder, its
// scenarios pointing at them.
ScenarioProfile ProfileImporter::importProfile(ScenarioProfile profile, const QString& staging,
                                               ProfileNames& names)
{
    profile.name = freeName(profile.name, names);
    names.add(profile.name);
    const QString directory = QDir::cleanPath(profileDirectory(profile.name));
    QDir().mkpath(directory);

    QSet<QString> copied;
    QString error;
    for (ProfileScenario& scenario : profile.scenarios) {
        const QString stored = scenario.file;
        if (stored.isEmpty()) // saved before a file was chosen
            continue;
        // Where the file would be inside the new folder, also when it is not imported, so that
        // the scenario never points at a file elsewhere.
        scenario.file =
            QDir::cleanPath(directory + QLatin1Char('/') + storedScenarioPath(profile, stored));
        const std::optional<QString> contained = ProfileArchive::containedPath(stored);
        if (!contained || contained->isEmpty()) {
            warn(tr("Сценарий %1 не импортирован: его путь ведёт за пределы папки профиля.")
                     .arg(stored));
            continue;
        }
        const QString source = staging + QLatin1Char('/') + *contained;
        if (!QFileInfo(source).isFile()) {
            warn(tr("Не найден сценарий %1\nОжидался файл: %2")
                     .arg(stored, QDir::toNativeSeparators(source)));
            continue;
        }
        const QString destination = resolveScenarioPath(profile, *contained);
        scenario.file = destination;
        if (!ProfileTransfer::copyReplacing(source, destination, &error)) {
            warn(tr("Не удалось скопировать сценарий %1\n%2").arg(stored, error));
            continue;
        }
        copied.insert(*contained);
    }

    for (const QString& relative : ProfileTransfer::filesBelow(staging)) {
        if (relative.compare(kManifestName, Qt::CaseInsensitive) == 0 || copied.contains(relative))
            continue;
        if (!ProfileTransfer::copyReplacing(staging + QLatin1Char('/') + relative,
                                            directory + QLatin1Char('/') + relative, &error))
            warn(tr("Не удалось скопировать сценарий %1\n%2").arg(relative, error));
    }
    return profile;
}

// The profile's own name when no profile has it (regardless of case), it is not "default" and
// it can name a folder of its own; otherwise the first free copy's name.
QString ProfileImporter::freeName(const QString& wanted, const ProfileNames& names)
{
    if (!isDefaultProfileName(wanted) && names.isFree(wanted))
        return wanted;
    const QString base = wanted.trimmed().isEmpty() ? tr("Профиль") : wanted.trimmed();
    const QString name = names.copyName(base);
    m_renamed.append(tr("Профиль \"%1\" добавлен под именем \"%2\".").arg(wanted, name));
    return name;
}

void ProfileImporter::refuse(const QString& archive, const QString& headline,
                             const QStringList& details)
{
    logRefusal(archive, (QStringList{headline} + details).join(QStringLiteral("; ")));
    ProfileTransfer::warn(m_parent, headline, details);
}

void ProfileImporter::logRefusal(const QString& archive, const QString& reason)
{
    qCWarning(lcImport).noquote() << QStringLiteral("Архив %1 не импортирован: %2")
                                         .arg(QDir::toNativeSeparators(archive), reason);
}

void ProfileImporter::warn(const QString& text)
{
    qCWarning(lcImport).noquote() << text;
    m_errors = true;
    Prompter::message(Prompt::Kind::Warning, m_parent, kTitle, text);
}
