#include "ProfileExporter.h"

#include "ProfileArchive.h"
#include "ProfileStore.h"
#include "ProfileTransfer.h"
#include "ui/shell/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

namespace {
const QString kManifestName = QStringLiteral("manifest.json");
} // namespace

bool ProfileExporter::run(const ScenarioProfile& profile, QWidget* parent)
{
    const QString title = QStringLiteral("Clavitor");
    QString target = Prompter::saveFileName(parent, title,
                                            sanitizeProfileName(profile.name) + QLatin1String(".zip"));
    if (target.isEmpty())
        return false;
    target = QFileInfo(target).absoluteFilePath();

    const std::unique_ptr<QTemporaryDir> staging = ProfileTransfer::createStagingDirectory(parent);
    if (!staging)
        return false;

    ScenarioProfile exported = profile;
    QStringList entries = {kManifestName};
    QSet<QString> staged = {kManifestName};
    QString error;
    for (ProfileScenario& scenario : exported.scenarios) {
        if (scenario.file.isEmpty()) // no file chosen yet
            continue;
        const QString relative = storedScenarioPath(profile, scenario.file);
        if (!ProfileTransfer::copyReplacing(scenario.file, staging->filePath(relative), &error)) {
            Prompter::message(Prompt::Kind::Warning, parent, title,
                              tr("Не удалось скопировать сценарий %1\n%2")
                                  .arg(QDir::toNativeSeparators(scenario.file), error));
            return false;
        }
        scenario.file = relative;
        if (!staged.contains(relative)) {
            staged.insert(relative);
            entries.append(relative);
        }
    }

    const QString directory = profileDirectory(profile.name);
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
        staged.insert(relative);
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
