#include "ProfileStore.h"

#include "ProfileNames.h"
#include "core/DataDirectory.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

Q_LOGGING_CATEGORY(lcProfiles, "clavitor.profiles")

namespace {

const QString kDefaultProfileName = QStringLiteral("default");

// Whether every platform of the program (Windows is the strictest, but for the next rule)
// accepts the sanitised name as a directory of its own inside the profiles folder.
bool isUsableDirectoryName(const QString& name)
{
    // "", "." and ".." would be the profiles folder or its parent; Windows drops a trailing dot
    // or blank, so "a." would silently be the directory of "a". A half of a surrogate pair
    // becomes U+FFFD in a file name on Linux, so that "\ud800" and "\udc00" would share one.
    if (name.isEmpty() || name.size() > 255 || name.endsWith(QLatin1Char('.')) ||
        name.endsWith(QLatin1Char(' ')) || !name.isValidUtf16())
        return false;
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x20; }))
        return false;
    // Device names stay devices whatever extension follows them ("NUL.txt", "com1 .x").
    static const QRegularExpression deviceName(
        QStringLiteral("^(CON|PRN|AUX|NUL|CONIN\\$|CONOUT\\$|COM[0-9\\x{B9}\\x{B2}\\x{B3}]|"
                       "LPT[0-9\\x{B9}\\x{B2}\\x{B3}]) *$"),
        QRegularExpression::CaseInsensitiveOption);
    return !deviceName.match(name.section(QLatin1Char('.'), 0, 0)).hasMatch();
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The stored form of a scenario path for the cleaned profile directory `directory`.
QString storedPathIn(const QString& directory, const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString absolute =
        QDir::cleanPath(QDir::isRelativePath(path) ? directory + QLatin1Char('/') + path : path);
    const QString relative = QDir::cleanPath(QDir(directory).relativeFilePath(absolute));
    // Outside the directory, or on another drive: the file is looked for in the directory.
    if (relative.startsWith(QLatin1String("..")) || relative.contains(QLatin1Char(':')))
        return QFileInfo(absolute).fileName();
    return QDir::fromNativeSeparators(relative);
}

QString resolvedPathIn(const QString& directory, const QString& storedPath)
{
    const QString contained = storedPathIn(directory, storedPath);
    if (contained.isEmpty()) {
        QDir().mkpath(directory);
        return directory;
    }
    const QString path = QDir::cleanPath(directory + QLatin1Char('/') + contained);
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

QString cleanProfileDirectory(const ScenarioProfile& profile)
{
    return QDir::cleanPath(profileDirectory(profile.name));
}

// --- reading --------------------------------------------------------------------------------

MovementModifiers modifiersFromJson(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    MovementModifiers m;
    m.xy = object.value(QLatin1String("xy")).toDouble(m.xy);
    m.x = object.value(QLatin1String("x")).toDouble(m.x);
    m.y = object.value(QLatin1String("y")).toDouble(m.y);
    m.rand = object.value(QLatin1String("rand")).toInt(m.rand);
    return m;
}

ProfileScenario scenarioFromJson(const QJsonObject& object)
{
    ProfileScenario scenario;
    scenario.file = object.value(QLatin1String("file")).toString();
    scenario.hotkey = object.value(QLatin1String("hotkey")).toString();
    scenario.modifier = modifiersFromJson(object.value(QLatin1String("modifier")));
    return scenario;
}

struct Assignment
{
    QString key;
    QString value;
};

// "speed = 10" gives speed and 10; a text without "=" is all value.
Assignment splitAssignment(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {QString(), trimmed};
    return {trimmed.left(equals).trimmed(), trimmed.mid(equals + 1).trimmed()};
}

// A value missing from the current keys is taken from the older "parameter=value" key.
QString valueOrLegacy(const QString& value, const QString& legacyText, const Assignment& legacy)
{
    if (!value.trimmed().isEmpty())
        return value;
    if (!legacy.value.isEmpty())
        return legacy.value;
    return legacy.key.isEmpty() ? legacyText.trimmed() : QString();
}

// The older "parameter=value" form, kept for readers that know only "from" and "to".
QString legacyAssignment(const QString& parameter, const QString& value)
{
    const QString key = parameter.trimmed();
    return key.isEmpty() ? value : key + QLatin1Char('=') + value;
}

// Reads the current keys and, where they are missing, the older "from"/"to" keys.
AutoReplaceRule ruleFromJson(const QJsonObject& object)
{
    auto text = [&](const char* key) { return object.value(QLatin1String(key)).toString(); };
    const QString fromText = text("from");
    const QString toText = text("to");
    const Assignment from = splitAssignment(fromText);
    const Assignment to = splitAssignment(toText);
    const QString storedParameter = text("parameter");
    const QString fromValue = text("fromValue");
    const QString toValue = text("toValue");
    // Older keys that only repeat the current ones, as a save writes them, add nothing; read
    // again they would take a "=" inside a value without parameter ("a=1") for one.
    const bool repeated = fromText == legacyAssignment(storedParameter, fromValue) &&
                          toText == legacyAssignment(storedParameter, toValue);

    QString parameter = storedParameter.trimmed();
    if (parameter.isEmpty() && !repeated)
        parameter = !from.key.isEmpty() ? from.key : to.key;

    AutoReplaceRule rule;
    rule.name = text("name").trimmed();
    rule.description = text("description");
    rule.parameter = parameter;
    rule.fromValue = (repeated ? fromValue : valueOrLegacy(fromValue, fromText, from)).trimmed();
    rule.toValue = (repeated ? toValue : valueOrLegacy(toValue, toText, to)).trimmed();
    // Trimmed like a stored name, so that the name reads back the same after a save.
    for (const QString* fallback : {&rule.parameter, &rule.description, &rule.fromValue}) {
        if (!rule.name.isEmpty())
            break;
        rule.name = fallback->trimmed();
    }
    return rule;
}

// The object elements of a JSON array, converted; other elements are skipped.
template <typename T, typename Convert> QList<T> objectsOf(const QJsonValue& array, Convert convert)
{
    QList<T> items;
    for (const QJsonValue& element : array.toArray()) {
        if (element.isObject())
            items.append(convert(element.toObject()));
    }
    return items;
}

ScenarioProfile profileFromJson(const QJsonObject& object)
{
    ScenarioProfile profile;
    profile.name = object.value(QLatin1String("name")).toString();
    profile.description = object.value(QLatin1String("description")).toString();
    profile.modifier = modifiersFromJson(object.value(QLatin1String("modifier")));
    profile.autoReplaceLockFromColumn =
        object.value(QLatin1String("autoReplaceLockFromColumn")).toBool(true);
    profile.scenarios =
        objectsOf<ProfileScenario>(object.value(QLatin1String("scenarios")), scenarioFromJson);
    profile.autoReplacements =
        objectsOf<AutoReplaceRule>(object.value(QLatin1String("autoReplacements")), ruleFromJson);
    for (const QJsonValue& program : object.value(QLatin1String("programs")).toArray()) {
        const QString name = program.toString().trimmed();
        if (!name.isEmpty())
            profile.programs.append(name);
    }
    profile.trusted = object.value(QLatin1String("trusted")).toBool(false);
    return profile;
}

// --- writing --------------------------------------------------------------------------------

QJsonObject modifiersToJson(const MovementModifiers& m)
{
    return {{QLatin1String("xy"), m.xy},
            {QLatin1String("x"), m.x},
            {QLatin1String("y"), m.y},
            {QLatin1String("rand"), m.rand}};
}

QJsonObject ruleToJson(const AutoReplaceRule& rule)
{
    return {{QLatin1String("name"), rule.name},
            {QLatin1String("description"), rule.description},
            {QLatin1String("parameter"), rule.parameter},
            {QLatin1String("fromValue"), rule.fromValue},
            {QLatin1String("toValue"), rule.toValue},
            {QLatin1String("from"), legacyAssignment(rule.parameter, rule.fromValue)},
            {QLatin1String("to"), legacyAssignment(rule.parameter, rule.toValue)}};
}

QJsonObject profileToJson(const ScenarioProfile& profile)
{
    const QString directory = cleanProfileDirectory(profile);
    QJsonArray scenarios;
    for (const ProfileScenario& scenario : profile.scenarios) {
        scenarios.append(QJsonObject{
            {QLatin1String("file"), storedPathIn(directory, scenario.file)},
            {QLatin1String("hotkey"), scenario.hotkey},
            {QLatin1String("modifier"), modifiersToJson(scenario.modifier)}});
    }
    QJsonArray rules;
    for (const AutoReplaceRule& rule : profile.autoReplacements)
        rules.append(ruleToJson(rule));
    QJsonObject object{
        {QLatin1String("name"), profile.name},
        {QLatin1String("description"), profile.description},
        {QLatin1String("modifier"), modifiersToJson(profile.modifier)},
        {QLatin1String("autoReplaceLockFromColumn"), profile.autoReplaceLockFromColumn},
        {QLatin1String("scenarios"), scenarios},
        {QLatin1String("autoReplacements"), rules},
        {QLatin1String("programs"), QJsonArray::fromStringList(profile.programs)}};
    // Written only when set: an untrusted profile's entry stays as older versions wrote it.
    if (profile.trusted)
        object.insert(QLatin1String("trusted"), true);
    return object;
}

// --- start-up -------------------------------------------------------------------------------

// A name beside `path` that no file has yet: "<path>.<date-time>.bak".
QString freeBackupPath(const QString& path)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = QStringLiteral("%1.%2.bak").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = QStringLiteral("%1.%2-%3.bak").arg(path, stamp, QString::number(n));
    return candidate;
}

// A backup copy of `path` made earlier that holds the same bytes as it does now, if any: one
// copy of each content is enough, however often start-up meets it.
QString existingBackupOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QFileInfo info(path);
    QByteArray content;
    bool read = false;
    const QFileInfoList backups = info.dir().entryInfoList(
        {info.fileName() + QStringLiteral(".*.bak")}, QDir::Files, QDir::Name);
    for (const QFileInfo& backup : backups) {
        if (backup.size() != info.size())
            continue;
        if (!read) {
            content = file.readAll();
            read = true;
        }
        QFile candidate(backup.filePath());
        if (candidate.open(QIODevice::ReadOnly) && candidate.readAll() == content)
            return backup.filePath();
    }
    return {};
}

// The folder Windows made for a directory name ending in dots or blanks: it drops them.
QString windowsTrimmed(QString name)
{
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

// Copies the files of `from` with its sub-folders into `to`; symbolic links are left out.
bool copyFolder(const QString& from, const QString& to)
{
    bool copied = QDir().mkpath(to);
    const QDir source(from);
    const QFileInfoList entries =
        source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isSymLink())
            continue;
        copied = (entry.isDir() ? copyFolder(entry.filePath(), target)
                                : QFile::copy(entry.filePath(), target)) &&
                 copied;
    }
    return copied;
}

// A profile whose name ends in dots or blanks kept its files, on Windows, in the folder
// without them. Such a name has a stand-in folder here; the first time, it gets a copy of
// that folder, so the profile keeps its scenarios (the folder itself may be another
// profile's too, so it is copied, not moved).
void adoptWindowsFolder(const ScenarioProfile& profile, const QString& windowsFolder)
{
    const QString standIn = cleanProfileDirectory(profile);
    const QString original = dataFilePath(QStringLiteral("profiles/") + windowsFolder);
    if (QFileInfo(standIn).isDir() || !QFileInfo(original).isDir())
        return;
    const bool copied = copyFolder(original, standIn);
    qCWarning(lcProfiles).noquote()
        << QStringLiteral("Профиль %1: файлы папки %2 %3 в %4")
               .arg(profile.name, nativePath(original),
                    copied ? QStringLiteral("скопированы") : QStringLiteral("скопированы не все"),
                    nativePath(standIn));
}

// Keeps a copy of `path` beside it, unless an earlier copy holds the same bytes; with
// `orMove`, a file that cannot be copied is moved aside instead. Returns where the copy is,
// or empty when there is none.
QString keepBackup(const QString& path, bool orMove)
{
    if (const QString earlier = existingBackupOf(path); !earlier.isEmpty())
        return earlier;
    const QString backup = freeBackupPath(path);
    if (QFile::copy(path, backup) || (orMove && QFile::rename(path, backup)))
        return backup;
    return {};
}

// Keeps an unusable profiles.json beside itself before the start-up rule replaces it.
void keepUnusableFile(const QString& path, const QString& problem)
{
    if (const QString backup = keepBackup(path, true); !backup.isEmpty()) {
        qCWarning(lcProfiles).noquote()
            << QStringLiteral("Файл профилей не используется (%1); его копия сохранена в %2")
                   .arg(problem, nativePath(backup));
    } else {
        qCWarning(lcProfiles).noquote()
            << QStringLiteral("Файл профилей не используется (%1); сохранить его копию не "
                              "удалось")
                   .arg(problem);
    }
}

// Keeps a copy of profiles.json when start-up leaves profiles out because their names cannot
// name a folder: the next save writes the list without them, and the copy keeps them.
void keepCopyWithSkippedProfiles(const QString& path)
{
    if (const QString backup = keepBackup(path, false); !backup.isEmpty()) {
        qCWarning(lcProfiles).noquote()
            << QStringLiteral("Пропущенные профили остаются в копии файла профилей %1")
                   .arg(nativePath(backup));
    } else {
        qCWarning(lcProfiles).noquote()
            << QStringLiteral("Не удалось сохранить копию файла профилей %1").arg(nativePath(path));
    }
}

} // namespace

QString profilesFilePath()
{
    return dataFilePath(QStringLiteral("profiles.json"));
}

QString sanitizeProfileName(const QString& name)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|]"));
    return QString(name).remove(forbidden);
}

QString profileFolderName(const QString& profileName)
{
    const QString sanitized = sanitizeProfileName(profileName);
    if (isUsableDirectoryName(sanitized))
        return sanitized;
    // A fixed stand-in derived from the name, so that the profiles folder itself, its parent
    // or a device is never taken for a profile directory.
    const QByteArray digest =
        QCryptographicHash::hash(sanitized.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QLatin1Char('_') + QString::fromLatin1(digest);
}

QString profileDirectory(const QString& profileName)
{
    return dataFilePath(QStringLiteral("profiles/") + profileFolderName(profileName));
}

ProfileDirectoryName checkProfileDirectoryName(const QString& name,
                                               const QList<ScenarioProfile>& profiles,
                                               qsizetype ignoredIndex, QString* message)
{
    const QString directory = sanitizeProfileName(name);
    if (!isUsableDirectoryName(directory)) {
        if (message)
            *message = QObject::tr("Имя \"%1\" нельзя использовать для папки профиля.").arg(name);
        return ProfileDirectoryName::Unusable;
    }
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        if (i == ignoredIndex ||
            profileFolderName(profiles[i].name).compare(directory, Qt::CaseInsensitive) != 0)
            continue;
        if (message) {
            *message = QObject::tr("Профиль \"%1\" хранился бы в той же папке, что и профиль "
                                   "\"%2\".")
                           .arg(name, profiles[i].name);
        }
        return ProfileDirectoryName::Collides;
    }
    return ProfileDirectoryName::Usable;
}

QString duplicateProfileName(const QString& name, const QList<ScenarioProfile>& profiles)
{
    return ProfileNames(profiles).copyName(name);
}

QList<ScenarioProfile> readProfiles(const QString& filePath, QString* errorMessage)
{
    const QString shownPath = nativePath(filePath);
    auto fail = [errorMessage](const QString& message) {
        if (errorMessage)
            *errorMessage = message;
        return QList<ScenarioProfile>();
    };

    if (!QFileInfo::exists(filePath))
        return fail(QObject::tr("Файл \"%1\" не найден.").arg(shownPath));

    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcProfiles).noquote() << "Не удалось открыть файл профилей" << shownPath;
        return fail(
            QObject::tr("Не удалось открыть файл \"%1\": %2").arg(shownPath, file.errorString()));
    }
    const QByteArray data = file.readAll();
    file.close();

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (document.isNull() && parseError.error != QJsonParseError::NoError) {
        return fail(QObject::tr("Ошибка разбора JSON в файле \"%1\": %2 (позиция %3)")
                        .arg(shownPath, parseError.errorString(),
                             QString::number(parseError.offset)));
    }
    if (!document.isArray()) {
        return fail(
            QObject::tr("Файл \"%1\" имеет неверный формат: ожидался массив профилей.")
                .arg(shownPath));
    }

    const QList<ScenarioProfile> profiles =
        objectsOf<ScenarioProfile>(QJsonValue(document.array()), profileFromJson);
    if (profiles.isEmpty())
        return fail(QObject::tr("Файл \"%1\" не содержит ни одного профиля.").arg(shownPath));
    return profiles;
}

QList<ScenarioProfile> loadProfiles()
{
    const QString path = profilesFilePath();
    QString problem;
    const QList<ScenarioProfile> stored = readProfiles(path, &problem);
    if (stored.isEmpty() && QFileInfo::exists(path))
        keepUnusableFile(path, problem);

    QList<ScenarioProfile> profiles;
    bool skippedForName = false;
    for (ScenarioProfile profile : stored) {
        const QString folder = sanitizeProfileName(profile.name);
        if (const QString trimmed = windowsTrimmed(folder);
            trimmed != folder && isUsableDirectoryName(trimmed)) {
            adoptWindowsFolder(profile, trimmed);
        } else if (!isUsableDirectoryName(folder)) {
            qCWarning(lcProfiles).noquote()
                << QStringLiteral("Пропущен профиль %1: имя не годится для директории")
                       .arg(profile.name);
            skippedForName = true;
            continue;
        }
        const QString directory = cleanProfileDirectory(profile);
        if (!QFileInfo(directory).isDir()) {
            qCWarning(lcProfiles).noquote()
                << QStringLiteral("Пропущен профиль %1: директория не найдена").arg(profile.name);
            continue;
        }
        QList<ProfileScenario> scenarios;
        for (ProfileScenario scenario : profile.scenarios) {
            // A scenario still without a file stays as it was saved: without a file.
            if (!scenario.file.isEmpty()) {
                scenario.file = resolvedPathIn(directory, scenario.file);
                if (!QFileInfo(scenario.file).isFile()) {
                    qCWarning(lcProfiles).noquote()
                        << QStringLiteral("Пропущен сценарий %1: файл не найден")
                               .arg(nativePath(scenario.file));
                    continue;
                }
            }
            scenarios.append(scenario);
        }
        profile.scenarios = scenarios;
        profiles.append(profile);
    }
    if (skippedForName)
        keepCopyWithSkippedProfiles(path);
    return profiles;
}

bool writeProfiles(const QList<ScenarioProfile>& profiles, const QString& filePath,
                   QString* errorMessage)
{
    QJsonArray array;
    for (const ScenarioProfile& profile : profiles)
        array.append(profileToJson(profile));
    const QByteArray bytes = QJsonDocument(array).toJson(QJsonDocument::Indented);

    const QString shownPath = nativePath(filePath);
    auto fail = [&](const QString& message) {
        qCWarning(lcProfiles).noquote() << "Не удалось сохранить файл профилей" << shownPath;
        if (errorMessage)
            *errorMessage = message;
        return false;
    };

    // Written beside the target and renamed over it only once complete.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(QObject::tr("Не удалось открыть файл \"%1\" для записи: %2")
                        .arg(shownPath, file.errorString()));
    }
    if (file.write(bytes) != bytes.size()) {
        return fail(
            QObject::tr("Ошибка записи в файл \"%1\": %2").arg(shownPath, file.errorString()));
    }
    if (!file.commit()) {
        return fail(
            QObject::tr("Не удалось сохранить файл \"%1\": %2").arg(shownPath, file.errorString()));
    }
    return true;
}

bool saveProfiles(const QList<ScenarioProfile>& profiles)
{
    return writeProfiles(profiles, profilesFilePath());
}

QString storedScenarioPath(const ScenarioProfile& profile, const QString& absolutePath)
{
    return storedPathIn(cleanProfileDirectory(profile), absolutePath);
}

QString resolveScenarioPath(const ScenarioProfile& profile, const QString& storedPath)
{
    return resolvedPathIn(cleanProfileDirectory(profile), storedPath);
}

bool isDefaultProfileName(const QString& name)
{
    return name.compare(kDefaultProfileName, Qt::CaseInsensitive) == 0;
}

void ensureDefaultProfile(QList<ScenarioProfile>& profiles)
{
    const auto found = std::find_if(profiles.cbegin(), profiles.cend(), [](const auto& profile) {
        return isDefaultProfileName(profile.name);
    });
    const bool alreadyFirst = found == profiles.cbegin() && found != profiles.cend();
    if (found == profiles.cend()) {
        ScenarioProfile created;
        created.name = kDefaultProfileName;
        profiles.prepend(created);
    } else if (!alreadyFirst) {
        profiles.move(found - profiles.cbegin(), 0);
    }
    QDir().mkpath(profileDirectory(profiles.first().name));
    if (!alreadyFirst)
        saveProfiles(profiles);
}
