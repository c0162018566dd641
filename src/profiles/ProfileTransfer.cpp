#include "ProfileTransfer.h"

#include "ui/prompts/Prompter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

std::unique_ptr<QTemporaryDir> ProfileTransfer::createStagingDirectory(QWidget* parent)
{
    auto staging = std::make_unique<QTemporaryDir>();
    if (staging->isValid())
        return staging;
    warn(parent, tr("Не удалось создать временную директорию"), {staging->errorString()});
    return nullptr;
}

bool ProfileTransfer::copyReplacing(const QString& source, const QString& target, QString* error)
{
    QDir().mkpath(QFileInfo(target).path());
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        QFile existing(target);
        if (!existing.remove()) {
            *error = existing.errorString();
            return false;
        }
    }
    QFile file(source);
    if (!file.copy(target)) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QStringList ProfileTransfer::filesBelow(const QString& directory)
{
    const QDir root(directory);
    QStringList files;
    QDirIterator walk(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext())
        files.append(root.relativeFilePath(walk.next()));
    return files;
}

void ProfileTransfer::warn(QWidget* parent, const QString& headline, const QStringList& details)
{
    QStringList lines = {headline};
    for (const QString& detail : details) {
        if (!detail.isEmpty())
            lines.append(detail);
    }
    Prompter::message(Prompt::Kind::Warning, parent, QStringLiteral("Clavitor"),
                      lines.join(QLatin1Char('\n')));
}
