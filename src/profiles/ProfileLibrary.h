#pragma once

#include "ScenarioProfile.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The profile list of the scenario page with the folder work of its profile commands: names
// checked against the rules and the other profiles' folders, folders created, moved, copied
// and removed so that the list and the folders stay in step. Every command either succeeds
// whole or leaves list and folders as they were and says why. Saving is the caller's.
class ProfileLibrary
{
    Q_DECLARE_TR_FUNCTIONS(ProfileLibrary)

public:
    // The profiles of profiles.json, with the default profile first.
    void load();
    bool save() const;

    QList<ScenarioProfile>& profiles() { return m_profiles; }
    const QList<ScenarioProfile>& profiles() const { return m_profiles; }
    qsizetype size() const { return m_profiles.size(); }
    bool contains(qsizetype index) const { return index >= 0 && index < m_profiles.size(); }
    ScenarioProfile& operator[](qsizetype index) { return m_profiles[index]; }
    // The first profile named exactly so; -1 for none.
    qsizetype indexOf(const QString& name) const;

    // Why the (trimmed) name cannot be a profile's name, or empty when it can; the profile at
    // ignoredIndex (the one being renamed) does not count as another.
    QString nameProblem(const QString& name, qsizetype ignoredIndex = -1) const;

    // Appends an empty profile with default modifiers and creates its folder.
    bool add(const QString& name, QString* error);
    // Moves the profile's folder to the new name's folder and points its scenarios there.
    bool rename(qsizetype index, const QString& name, QString* error);
    // Appends a copy under the first free "… копия" name, with its scenario files copied into
    // the copy's folder.
    bool duplicate(qsizetype index, QString* error);
    // Removes the profile and its folder (never a folder another profile also uses).
    bool remove(qsizetype index, QString* error);

private:
    QList<ScenarioProfile> m_profiles;
};
