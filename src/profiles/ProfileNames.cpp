#include "ProfileNames.h"

#include "ProfileStore.h"

#include <QObject>

namespace {

// The name without the characters no folder name may hold: control characters and halves of
// surrogate pairs.
QString withoutUnstorableCharacters(const QString& name)
{
    QString kept;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            kept.append(c).append(name.at(++i));
        } else if (!c.isSurrogate() && c.unicode() >= 0x20) {
            kept.append(c);
        }
    }
    return kept;
}

} // namespace

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
    // Every candidate must be able to name a folder, or none would ever be free: characters
    // no folder name holds are left out, a long name leaves room for the number (without
    // splitting a character in two), and one that is a device name before a dot ("nul.txt")
    // gets a "_" in front.
    constexpr qsizetype kLongestBase = 200;
    QString base = withoutUnstorableCharacters(name);
    if (base.size() > kLongestBase)
        base.truncate(base.at(kLongestBase - 1).isHighSurrogate() ? kLongestBase - 1 : kLongestBase);
    if (checkProfileDirectoryName(QObject::tr("%1 копия").arg(base), {}) ==
        ProfileDirectoryName::Unusable)
        base.prepend(QLatin1Char('_'));

    QString candidate = QObject::tr("%1 копия").arg(base);
    for (int copy = 2; !isFree(candidate); ++copy)
        candidate = QObject::tr("%1 копия (%2)").arg(base).arg(copy);
    return candidate;
}
