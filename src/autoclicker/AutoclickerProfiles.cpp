#include "AutoclickerProfiles.h"

AutoclickerProfile* AutoclickerProfiles::current()
{
    return currentIndex >= 0 && currentIndex < list.size() ? &list[currentIndex] : nullptr;
}

const AutoclickerProfile* AutoclickerProfiles::current() const
{
    return currentIndex >= 0 && currentIndex < list.size() ? &list[currentIndex] : nullptr;
}

bool AutoclickerProfiles::isCurrentDefault() const
{
    const AutoclickerProfile* profile = current();
    return profile && isReservedName(profile->name);
}

void AutoclickerProfiles::setEnabled(bool enabled)
{
    for (AutoclickerProfile& profile : list)
        profile.settings.enabled = enabled;
}

bool AutoclickerProfiles::isReservedName(const QString& name)
{
    return name.trimmed().compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

bool AutoclickerProfiles::isTaken(const QString& name, int excludedIndex) const
{
    const QString trimmed = name.trimmed();
    for (int i = 0; i < list.size(); ++i) {
        if (i != excludedIndex && list[i].name.compare(trimmed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool AutoclickerProfiles::isFree(const QString& name) const
{
    return !name.trimmed().isEmpty() && !isReservedName(name) && !isTaken(name);
}

QString AutoclickerProfiles::copyName(const QString& name) const
{
    QString candidate = tr("%1 копия").arg(name);
    for (int copy = 2; !isFree(candidate); ++copy)
        candidate = tr("%1 копия (%2)").arg(name).arg(copy);
    return candidate;
}
