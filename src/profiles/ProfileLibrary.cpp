#include "ProfileLibrary.h"

#include "ProfileStore.h"
#include "ScenarioFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString cleanDirectory(const QString& profileName)
{
    return QDir::cleanPath(profileDirectory(profileName));
}

// Whether the two folders are one, as the system sees it (a change of case only is the same
// folder on Windows).
bool sameFolder(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

void ProfileLibrary::load()
{
    m_profiles = loadProfiles();
    ensureDefaultProfile(m_profiles);
}

bool ProfileLibrary::save() const
{
    return saveProfiles(m_profiles);
}

qsizetype ProfileLibrary::indexOf(const QString& name) const
{
    for (qsizetype i = 0; i < m_profiles.size(); ++i) {
        if (m_profiles[i].name == name)
            return i;
    }
    return -1;
}

QString ProfileLibrary::nameProblem(const QString& name, qsizetype ignoredIndex) const
{
    if (name.isEmpty())
        return tr("Название профиля не может быть пустым.");
    if (isDefaultProfileName(name))
        return tr("Название \"%1\" зарезервировано.").arg(QStringLiteral("default"));
    for (qsizetype i = 0; i < m_profiles.size(); ++i) {
        if (i != ignoredIndex && m_profiles[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return tr("Профиль с таким именем уже существует.");
    }
    QString message;
    if (checkProfileDirectoryName(name, m_profiles, ignoredIndex, &message) !=
        ProfileDirectoryName::Usable)
        return message;
    return {};
}

bool ProfileLibrary::add(const QString& name, QString* error)
{
    const QString directory = cleanDirectory(name);
    if (!QDir().mkpath(directory)) {
        *error = tr("Не удалось создать папку профиля \"%1\".").arg(shown(directory));
        return false;
    }
    ScenarioProfile profile;
    profile.name = name;
    m_profiles.append(profile);
    return true;
}

bool ProfileLibrary::rename(qsizetype index, const QString& name, QString* error)
{
    ScenarioProfile& profile = m_profiles[index];
    const ScenarioProfile before = profile;
    const QString from = cleanDirectory(before.name);
    const QString to = cleanDirectory(name);

    if (from != to) {
        const bool moving = QFileInfo::exists(from);
        if (moving && QFileInfo::exists(to) && !sameFolder(from, to)) {
            *error = tr("Папка \"%1\" уже существует.").arg(shown(to));
            return false;
        }
        const bool moved = moving ? QDir().mkpath(QFileInfo(to).path()) && QDir().rename(from, to)
                                  : QDir().mkpath(to);
        if (!moved) {
            *error = tr("Не удалось переместить папку профиля в \"%1\". Возможно, её файлы "
                        "открыты в другой программе.")
                         .arg(shown(to));
            return false;
        }
    }

    profile.name = name;
    for (ProfileScenario& scenario : profile.scenarios) {
        if (!scenario.file.isEmpty())
            scenario.file = resolveScenarioPath(profile, storedScenarioPath(before, scenario.file));
    }
    return true;
}

bool ProfileLibrary::duplicate(qsizetype index, QString* error)
{
    const ScenarioProfile& source = m_profiles[index];
    ScenarioProfile copy = source;
    copy.name = duplicateProfileName(source.name, m_profiles);
    copy.programs.clear(); // a program is listed by one profile only
    copy.trusted = false;  // until the user marks the copy too
    const QString directory = cleanDirectory(copy.name);
    const bool existed = QFileInfo::exists(directory);
    if (!QDir().mkpath(directory)) {
        *error = tr("Не удалось создать папку профиля \"%1\".").arg(shown(directory));
        return false;
    }
    for (ProfileScenario& scenario : copy.scenarios) {
        if (scenario.file.isEmpty())
            continue;
        const QString target = resolveScenarioPath(copy, storedScenarioPath(source, scenario.file));
        QString reason;
        if (!ScenarioFiles::copyReplacing(scenario.file, target, &reason)) {
            if (!existed)
                QDir(directory).removeRecursively(); // the folder this command made
            *error = tr("Не удалось скопировать файл \"%1\": %2").arg(shown(scenario.file), reason);
            return false;
        }
        scenario.file = target;
    }
    m_profiles.append(copy);
    return true;
}

bool ProfileLibrary::remove(qsizetype index, QString* error)
{
    const QString directory = cleanDirectory(m_profiles[index].name);
    bool shared = false;
    for (qsizetype i = 0; i < m_profiles.size(); ++i) {
        if (i != index &&
            cleanDirectory(m_profiles[i].name).compare(directory, Qt::CaseInsensitive) == 0)
            shared = true;
    }
    if (!shared && !ScenarioFiles::removeDirectory(directory)) {
        *error = tr("Не удалось удалить папку профиля \"%1\". Возможно, её файлы открыты в "
                    "другой программе.")
                     .arg(shown(directory));
        return false;
    }
    m_profiles.removeAt(index);
    return true;
}
