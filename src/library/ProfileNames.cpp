#include "ProfileNames.h"

#include "ProfileStore.h"

#include <QObject>

ProfileNames::ProfileNames(const QList<ScenarioProfile>& profiles)
{
    for (const ScenarioProfile& profile : profiles)
        add(profile.name);
}

void ProfileNames::add(const QString& name)
{
    m_names.insert(name.toCaseFolded());
    m_folders.insert(profileFolderName(name).toCaseFolded());
}

bool ProfileNames::isFree(const QString& name) const
{
    return !m_names.contains(name.toCaseFolded()) &&
           checkProfileDirectoryName(name, {}) == ProfileDirectoryName::Usable &&
           !m_folders.contains(sanitizeProfileName(name).toCaseFolded());
}

QString ProfileNames::copyName(const QString& name) const
{
    QString candidate = QObject::tr("%1 копия").arg(name);
    for (int copy = 2; !isFree(candidate); ++copy)
        candidate = QObject::tr("%1 копия (%2)").arg(name).arg(copy);
    return candidate;
}
