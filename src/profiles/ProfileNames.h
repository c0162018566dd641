#pragma once

#include "ScenarioProfile.h"

#include <QList>
#include <QSet>
#include <QString>

// The names and directory names a profile list uses, regardless of case, gathered once so
// that many candidate names can be tried against a long list (an archive that adds many
// profiles of one name tries as many copy names as the list has copies).
class ProfileNames
{
public:
    explicit ProfileNames(const QList<ScenarioProfile>& profiles);

    // A profile of this name joins the list.
    void add(const QString& name);
    // Whether a new profile may take the name: no profile has it, in any case, and it names a
    // usable directory that no profile has (see checkProfileDirectoryName).
    bool isFree(const QString& name) const;
    // The name for a copy of the profile `name`: "%1 копия", then "%1 копия (2)",
    // "%1 копия (3)"…, the first that is free; of a name that cannot name a folder, its
    // usable form (see the definition).
    QString copyName(const QString& name) const;

private:
    QSet<QString> m_names;   // case-folded
    QSet<QString> m_folders; // case-folded
};
