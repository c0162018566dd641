#pragma once

#include "ProfileArchive.h"
#include "ScenarioProfile.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

class ProfileNames;
class QWidget;

// The profile import command: adds the profiles of a profile archive to the profile list, each
// with its files in a folder of its own.
//
// The page's part:
//     ProfileImporter importer(this);
//     const qsizetype added = importer.run(m_profiles);
//     if (added > 0) {
//         // the last `added` profiles of the list are new: add their names to the combo box,
//         // take the current profile's description and auto-replace table, save the list;
//         importer.reportOutcome();
//     }
class ProfileImporter
{
    Q_DECLARE_TR_FUNCTIONS(ProfileImporter)

public:
    explicit ProfileImporter(QWidget* parent) : m_parent(parent) {}

    // Asks for an archive, unpacks it into a staging folder that is removed afterwards (an
    // archive that breaks a bound of ArchiveBudget is refused, naming the bound), reads
    // its "manifest.json" and appends each profile it describes to `profiles`, in order, with
    // its scenario files and every other unpacked file copied into the profile's new folder.
    // A profile whose name is taken (regardless of case), is "default", or cannot have a folder
    // of its own is added under a copy's name. Entries and scenario files that would lead out of
    // the staging or the profile folder are refused with a warning and never written; a missing
    // or failed scenario file is reported and the import goes on. Returns the number of profiles
    // appended; 0 when cancelled or when it failed before adding any (already reported).
    qsizetype run(QList<ScenarioProfile>& profiles);

    // The closing message of an import that added profiles: success, or "finished with errors"
    // when anything was reported on the way; with a line for every profile that was renamed.
    void reportOutcome() const;

private:
    static QString boundBroken(const ProfileArchive::Failure& failure, const QString& archiveName);
    ScenarioProfile importProfile(ScenarioProfile profile, const QString& staging,
                                  ProfileNames& names);
    QString freeName(const QString& wanted, const ProfileNames& names);
    void warn(const QString& text);
    // Tells the user that the archive was not imported, and logs it.
    void refuse(const QString& archive, const QString& headline, const QStringList& details);
    static void logRefusal(const QString& archive, const QString& reason);

    QWidget* m_parent;
    bool m_errors = false;
    QStringList m_renamed;
};
