#include "ProfileExporter.h"

#include "ProfileArchive.h"
#include "ProfileStore.h"
#include "ProfileTransfer.h"
#include "ui/prompts/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

namespace {

const QString kManifestName = QStringLiteral("manifest.json");

// The canonical path of a file, or its absolute path when it has none.
QString identityOf(const QString& path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

// The archive paths staged so far, each with the file it came from.
class StagedFiles
{
public:
    bool contains(const QString& relative) const { return m_sources.contains(relative); }
    void add(const QString& relative, const QString& identity)
    {
        m_sources.insert(relative, identity);
    }

    // Whether `relative` (compared without regard to case, as Windows does) already stands
    // for another file than `identity`.
    bool takenByOther(const QString& relative, const QString& identity) const
    {
        for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it) {
            if (it.key().compare(relative, Qt::CaseInsensitive) == 0 && it.value() != identity)
                return true;
        }
        return false;
    }

private:
    QHash<QString, QString> m_sources;
};

// The archive path of a scenario file: its stored form. A file from outside the profile folder
// lies at the archive's root under its name; when that name already stands for another file
// (of the folder, or from elsewhere), it gets the first free "name (n).suffix" instead, so
// that no file of the profile is lost from the archive.
QString archivePathOf(const ScenarioProfile& profile, const QString& directory, const QString& file,
                      const StagedFiles& staged)
{
    const QString stored = storedScenarioPath(profile, file);
    const QString identity = identityOf(file);
    if (identityOf(directory + QLatin1Char('/') + stored) == identity)
        return stored; // inside the profile folder
    const QFileInfo name(stored);
    QString candidate = stored;
    for (int n = 2; staged.takenByOther(candidate, identity) ||
                    QFileInfo::exists(directory + QLatin1Char('/') + candidate);
         ++n) {
        candidate = name.suffix().isEmpty() ? QStringLiteral("%1 (%2)").arg(stored).arg(n)
                                            : QStringLiteral("%1 (%2).%3")
                                                  .arg(name.completeBaseName())
                                                  .arg(n)
                                                  .arg(name.suffix());
    }
    return candidate;
}

} // namespace

bool ProfileExporter::run(const ScenarioProfile& profile, QWidget* parent)
{
    const QString title = QStringLiteral("Clavitor");
    QString target = Prompter::saveFileName(
        parent, title, sanitizeProfileName(profile.name) + QLatin1String(".zip"));
    if (target.isEmpty())
        return false;
    target = QFileInfo(target).absoluteFilePath();

    const std::unique_ptr<QTemporaryDir> staging = ProfileTransfer::createStagingDirectory(parent);
    if (!staging)
        return false;

    const QString directory = QDir::cleanPath(profileDirectory(profile.name));
    ScenarioProfile exported = profile;
    QStringList entries = {kManifestName};
    StagedFiles staged;
    staged.add(kManifestName, QString());
    QString error;
    for (ProfileScenario& scenario : exported.scenarios) {
        if (scenario.file.isEmpty()) // no file chosen yet
            continue;
        const QString identity = identityOf(scenario.file);
        const QString relative = archivePathOf(profile, directory, scenario.file, staged);
        if (!ProfileTransfer::copyReplacing(scenario.file, staging->filePath(relative), &error)) {
            Prompter::message(Prompt::Kind::Warning, parent, title,
                              tr("Не удалось скопировать сценарий %1\n%2")
                                  .arg(QDir::toNativeSeparators(scenario.file), error));
            return false;
        }
        scenario.file = relative;
        if (!staged.contains(relative)) {
            staged.add(relative, identity);
            entries.append(relative);
        }
    }

    for (const QString& relative : ProfileTransfer::filesBelow(directory)) {
        // A file named like the manifest would only be overwritten by it.
        if (staged.contains(relative) || relative.compare(kManifestName, Qt::CaseInsensitive) == 0)
            continue;
        const QString source = directory + QLatin1Char('/') + relative;
        if (!ProfileTransfer::copyReplacing(source, staging->filePath(relative), &error)) {
            Prompter::message(Prompt::Kind::Warning, parent, title,
                              tr("Не удалось скопировать файл %1\n%2")
                                  .arg(QDir::toNativeSeparators(source), error));
            return false;
        }
        staged.add(relative, identityOf(source));
        entries.append(relative);
    }

    const QString manifest = staging->filePath(kManifestName);
    if (!writeProfiles({exported}, manifest, &error)) {
        ProfileTransfer::warn(parent, tr("Не удалось создать манифест"),
                              {tr("Файл: %1").arg(QDir::toNativeSeparators(manifest)), error});
        return false;
    }

    if (!ProfileArchive::write(target, staging->path(), entries, &error)) {
        ProfileTransfer::warn(parent, tr("Не удалось экспортировать профиль"),
                              {tr("Целевой файл: %1").arg(QDir::toNativeSeparators(target)),
                               tr("Ошибка при записи архива: %1").arg(error)});
        return false;
    }
    Prompter::message(Prompt::Kind::Information, parent, title,
                      tr("Профиль успешно экспортирован"));
    return true;
}
