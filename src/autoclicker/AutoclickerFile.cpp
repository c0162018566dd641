#include "AutoclickerFile.h"

#include "core/DataDirectory.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSet>

Q_LOGGING_CATEGORY(lcAutoclicker, "clavitor.autoclicker")

namespace AutoclickerFile {

namespace {

// What the file on disk held, as far as it could be read.
struct FileContent
{
    bool exists = false;
    bool isObject = false;   // read and parsed as a JSON object
    bool replaceable = true; // nothing in it that a rewrite would lose
    QJsonObject root;
};

FileContent readFile(const QString& filePath)
{
    FileContent content;
    QFile file(filePath);
    content.exists = file.exists();
    if (!file.open(QIODevice::ReadOnly)) {
        content.replaceable = !content.exists;
        return content;
    }
    const QByteArray bytes = file.readAll();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    content.isObject = error.error == QJsonParseError::NoError && document.isObject();
    content.root = document.object();
    content.replaceable = content.isObject || bytes.trimmed().isEmpty();
    return content;
}

// Keeps the file beside itself as "<name>.<date-time>.bak"; one that cannot be read for a
// copy is moved aside instead.
void keepBackup(const QString& filePath, const QString& problem)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString backup = QStringLiteral("%1.%2.bak").arg(filePath, stamp);
    for (int n = 2; QFileInfo::exists(backup); ++n)
        backup = QStringLiteral("%1.%2-%3.bak").arg(filePath, stamp).arg(n);
    if (QFile::copy(filePath, backup) || QFile::rename(filePath, backup)) {
        qCWarning(lcAutoclicker).noquote()
            << QStringLiteral("Файл автокликера восстановлен (%1); прежний файл сохранён в %2")
                   .arg(problem, QDir::toNativeSeparators(backup));
    } else {
        qCWarning(lcAutoclicker).noquote()
            << QStringLiteral("Файл автокликера восстановлен (%1); сохранить прежний файл в %2 не "
                              "удалось")
                   .arg(problem, QDir::toNativeSeparators(backup));
    }
}

// The profiles of the "profiles" array, in order: elements that are not objects, without a
// name or with a name taken before (regardless of case, by case folding as the name rules
// compare: "ſet" is "Set") are dropped and counted.
QList<AutoclickerProfile> readProfiles(const QJsonArray& array, int& dropped)
{
    QList<AutoclickerProfile> profiles;
    QSet<QString> names;
    for (const QJsonValue& element : array) {
        const QJsonObject object = element.toObject();
        const QString name = object.value(QLatin1String("name")).toString().trimmed();
        if (!element.isObject() || name.isEmpty() || names.contains(name.toCaseFolded())) {
            ++dropped;
            continue;
        }
        names.insert(name.toCaseFolded());
        profiles.append({name, AutoclickerSettings::fromJson(
                                   object.value(QLatin1String("settings")).toObject())});
    }
    return profiles;
}

// The one "default" profile stands first: made when missing, moved when elsewhere.
void putDefaultFirst(QList<AutoclickerProfile>& profiles)
{
    for (int i = 0; i < profiles.size(); ++i) {
        if (AutoclickerProfiles::isReservedName(profiles[i].name)) {
            profiles.move(i, 0);
            return;
        }
    }
    profiles.prepend({QStringLiteral("default"), AutoclickerSettings()});
}

} // namespace

QString path()
{
    return dataFilePath(QStringLiteral("autoclicker.json"));
}

bool load(const QString& filePath, AutoclickerProfiles& profiles)
{
    const FileContent file = readFile(filePath);
    const QJsonObject& root = file.root;
    const QString activeName = root.value(QLatin1String("active")).toString();
    const bool fileHasEnabled = root.contains(QLatin1String("enabled"));
    const bool fileEnabled = root.value(QLatin1String("enabled")).toBool();

    int dropped = 0;
    QList<AutoclickerProfile>& list = profiles.list;
    const QJsonArray array = root.value(QLatin1String("profiles")).toArray();
    if (file.isObject && array.isEmpty()) {
        // The old form: the root itself is the one profile's settings object.
        list = {{QStringLiteral("default"), AutoclickerSettings::fromJson(root)}};
    } else {
        list = readProfiles(array, dropped);
    }
    putDefaultFirst(list);

    int enabledIndex = -1;
    for (int i = 0; i < list.size(); ++i) {
        if (!list[i].settings.enabled)
            continue;
        if (enabledIndex < 0)
            enabledIndex = i;
        else
            list[i].settings.enabled = false;
    }

    profiles.currentIndex = -1;
    if (!activeName.isEmpty()) {
        for (int i = 0; i < list.size() && profiles.currentIndex < 0; ++i) {
            if (list[i].name.compare(activeName, Qt::CaseInsensitive) == 0)
                profiles.currentIndex = i;
        }
    }
    if (profiles.currentIndex < 0)
        profiles.currentIndex = enabledIndex >= 0 ? enabledIndex : 0;

    const bool enabled =
        fileHasEnabled ? fileEnabled : list[profiles.currentIndex].settings.enabled;
    profiles.setEnabled(enabled);

    if (!file.replaceable)
        keepBackup(filePath, QStringLiteral("файл не читается как объект JSON"));
    else if (dropped > 0)
        keepBackup(filePath, QStringLiteral("пропущено профилей: %1").arg(dropped));
    return enabled;
}

bool save(const QString& filePath, const AutoclickerProfiles& profiles, bool enabled)
{
    if (profiles.list.isEmpty())
        return false;
    QJsonArray array;
    for (const AutoclickerProfile& profile : profiles.list) {
        QJsonObject settings = profile.settings.toJson();
        settings.insert(QLatin1String("enabled"), enabled);
        array.append(QJsonObject{{QLatin1String("name"), profile.name},
                                 {QLatin1String("settings"), settings}});
    }
    QJsonObject root{{QLatin1String("enabled"), enabled}, {QLatin1String("profiles"), array}};
    if (const AutoclickerProfile* current = profiles.current())
        root.insert(QLatin1String("active"), current->name);

    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcAutoclicker).noquote()
            << QStringLiteral("Не удалось сохранить файл автокликера %1: %2")
                   .arg(QDir::toNativeSeparators(filePath), file.errorString());
        return false;
    }
    return true;
}

QByteArray exportDocument(const AutoclickerProfile& profile, bool enabled)
{
    QJsonObject settings = profile.settings.toJson();
    settings.insert(QLatin1String("enabled"), enabled);
    return QJsonDocument(QJsonObject{{QLatin1String("name"), profile.name},
                                     {QLatin1String("settings"), settings}})
        .toJson(QJsonDocument::Indented);
}

AutoclickerProfile importedProfile(const QJsonObject& root, const QString& fallbackName)
{
    QString name = root.value(QLatin1String("name")).toString().trimmed();
    if (name.isEmpty())
        name = fallbackName;
    QJsonObject settings = root;
    for (const QLatin1String key : {QLatin1String("settings"), QLatin1String("clicker")}) {
        if (root.contains(key)) {
            settings = root.value(key).toObject();
            break;
        }
    }
    return {name, AutoclickerSettings::fromJson(settings)};
}

} // namespace AutoclickerFile
