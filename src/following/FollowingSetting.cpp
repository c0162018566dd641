#include "FollowingSetting.h"

#include "core/DataDirectory.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const QLatin1String kKey("followForeground");

QJsonObject readSettingFile()
{
    QFile file(followingSettingPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

QString followingSettingPath()
{
    return dataFilePath(QStringLiteral("following.json"));
}

bool loadFollowingEnabled()
{
    return readSettingFile().value(kKey).toBool(true);
}

bool saveFollowingEnabled(bool enabled)
{
    QJsonObject root = readSettingFile();
    root.insert(kKey, enabled);
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    QSaveFile file(followingSettingPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcProfiles).noquote()
            << QStringLiteral("Не удалось сохранить файл %1: %2")
                   .arg(QDir::toNativeSeparators(followingSettingPath()), file.errorString());
        return false;
    }
    return true;
}
