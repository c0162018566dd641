#pragma once

#include "profiles/AutoReplaceRule.h"
#include "profiles/ScenarioProfile.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one pass of an auto-replace table over a set of script files did.
struct AutoReplaceOutcome
{
    qsizetype replacements = 0; // in the scripts that were written
    int updatedScripts = 0;     // scripts written
    QStringList failedFiles; // file names of scripts that could not be read or written, once each
    QList<bool> rulesUsed;   // per rule: replaced something in a script that was written
};

// Applies an auto-replace table to script files on disk, without asking or telling anything.
class AutoReplaceRun
{
public:
    // The script files of a profile: its scenario files in list order, then every ".lua" file
    // (suffix in any case) in its directory and the directories below. Paths are absolute
    // (relative ones taken against the profile directory) and cleaned; a file reached twice,
    // by its canonical path, is listed once.
    static QStringList scriptFiles(const ScenarioProfile& profile);

    // Rewrites each file with the rules. A missing file is skipped; a file that cannot be read,
    // or is write-protected, or whose new text cannot be saved, is named in failedFiles and
    // left as it was. A changed file is replaced only once its new text is completely written.
    static AutoReplaceOutcome rewrite(const QStringList& files,
                                      const QList<AutoReplaceRule>& rules);
};
