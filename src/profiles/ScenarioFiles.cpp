#include "ScenarioFiles.h"

#include "ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ScenarioFiles {

bool isInsideDirectory(const QString& path, const QString& directory)
{
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString folder = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return file.startsWith(folder, Qt::CaseSensitive);
}

QString freeFileName(const QString& path, const std::function<bool(const QString&)>& taken)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    return firstFreeName(
        2,
        [&](int n) {
            return file.dir().filePath(
                QStringLiteral("%1 (%2)%3").arg(file.completeBaseName()).arg(n).arg(suffix));
        },
        taken);
}

QString firstFreeName(int first, const std::function<QString(int)>& nameOf,
                      const std::function<bool(const QString&)>& taken)
{
    for (int n = first;; ++n) {
        const QString candidate = nameOf(n);
        if (!taken(candidate))
            return candidate;
    }
}

bool copyReplacing(const QString& source, const QString& target, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;

    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return fail(input.errorString());
    const QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return fail(input.errorString());

    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() ||
        !output.commit())
        return fail(output.errorString());
    return true;
}

bool removeDirectory(const QString& directory)
{
    const QFileInfo info(directory);
    if (!info.exists())
        return true;
    const QString parent = info.absolutePath();
    QString aside;
    for (int n = 1;; ++n) {
        aside =
            QStringLiteral("%1/.removed-%2-%3").arg(parent, info.fileName(), QString::number(n));
        if (!QFileInfo::exists(aside))
            break;
    }
    if (!QDir().rename(info.absoluteFilePath(), aside))
        return false;
    if (!QDir(aside).removeRecursively()) {
        qCWarning(lcProfiles).noquote() << QStringLiteral("Не удалось удалить всё содержимое %1")
                                               .arg(QDir::toNativeSeparators(aside));
    }
    return true;
}

} // namespace ScenarioFiles
