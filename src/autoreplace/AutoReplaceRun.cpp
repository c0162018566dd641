#include "AutoReplaceRun.h"

#include "AutoReplacer.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace {

// The canonical path of a file, or its absolute path when it has none (it does not exist).
QString identityOf(const QString& path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

bool readWhole(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// Writes through a file beside it that replaces it only once complete.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

QStringList AutoReplaceRun::scriptFiles(const ScenarioProfile& profile)
{
    const QString directory = QDir::cleanPath(profileDirectory(profile.name));
    QStringList files;
    QSet<QString> seen;
    const auto add = [&](const QString& path) {
        const QString absolute = QDir::cleanPath(
            QDir::isRelativePath(path) ? directory + QLatin1Char('/') + path : path);
        const QString identity = identityOf(absolute);
        if (!seen.contains(identity)) {
            seen.insert(identity);
            files.append(absolute);
        }
    };
    for (const ProfileScenario& scenario : profile.scenarios) {
        if (!scenario.file.isEmpty())
            add(scenario.file);
    }
    QDirIterator walk(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        walk.next();
        if (walk.fileInfo().suffix().compare(QLatin1String("lua"), Qt::CaseInsensitive) == 0)
            add(walk.filePath());
    }
    return files;
}

AutoReplaceOutcome AutoReplaceRun::rewrite(const QStringList& files,
                                           const QList<AutoReplaceRule>& rules)
{
    const AutoReplacer replacer(rules);
    AutoReplaceOutcome outcome;
    outcome.rulesUsed.fill(false, rules.size());
    const auto fail = [&outcome](const QString& path) {
        const QString name = QFileInfo(path).fileName();
        if (!outcome.failedFiles.contains(name))
            outcome.failedFiles.append(name);
    };

    QList<qsizetype> perRule;
    for (const QString& path : files) {
        const QFileInfo file(path);
        if (!file.exists())
            continue;
        QByteArray text;
        if (!readWhole(path, text)) {
            fail(path);
            continue;
        }
        perRule.fill(0, rules.size());
        const qsizetype count = replacer.apply(text, &perRule);
        if (count == 0)
            continue;
        // A symbolic link stays a link: its target is what gets rewritten.
        const QString target = identityOf(path);
        if (!QFileInfo(target).isWritable() || !writeWhole(target, text)) {
            fail(path);
            continue;
        }
        ++outcome.updatedScripts;
        outcome.replacements += count;
        for (qsizetype i = 0; i < rules.size(); ++i)
            outcome.rulesUsed[i] = outcome.rulesUsed[i] || perRule[i] > 0;
    }
    return outcome;
}
