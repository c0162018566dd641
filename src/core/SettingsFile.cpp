#include "SettingsFile.h"

#include "DataDirectory.h"
#include "OverlaySnapshot.h"
#include "SettingsNormalization.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcSettings, "clavitor.settings")

namespace {

const QString kSettingsFileName = QStringLiteral("Settings");

// Reads the fields of the file one after another. Once the data ends (or a field is cut
// short) every further field keeps the value it had, so a shorter file stays readable.
class FieldReader
{
public:
    explicit FieldReader(QDataStream& stream) : m_stream(stream) {}

    template <typename T> void read(T& field)
    {
        if (m_stream.atEnd() || m_stream.status() != QDataStream::Ok)
            return;
        T value{};
        m_stream >> value;
        if (m_stream.status() == QDataStream::Ok)
            field = value;
    }

    // A colour as the stream writes it: its colour model, then alpha, three components and
    // padding. Only the known models are taken (the toolkit would take any byte for a model);
    // an invalid or unknown one keeps the colour as it was. The alpha is always 255.
    void readColor(QColor& color)
    {
        if (m_stream.atEnd() || m_stream.status() != QDataStream::Ok)
            return;
        qint8 model = 0;
        quint16 values[5] = {};
        m_stream >> model;
        for (quint16& value : values)
            m_stream >> value;
        if (m_stream.status() != QDataStream::Ok || model < QColor::Rgb ||
            model > QColor::ExtendedRgb)
            return;
        QByteArray known;
        QDataStream out(&known, QIODevice::WriteOnly);
        out << model;
        for (quint16 value : values)
            out << value;
        QColor stored;
        QDataStream in(known);
        in >> stored;
        stored.setAlpha(255);
        color = stored;
    }

private:
    QDataStream& m_stream;
};

void readFields(QDataStream& in, AppSettings& s)
{
    FieldReader reader(in);
    reader.read(s.isSound);
    bool driverMode = s.controlMode != 0;
    reader.read(driverMode);
    s.controlMode = driverMode ? 1 : 0;
    reader.read(s.systemApiXY);
    reader.read(s.systemApiX);
    reader.read(s.systemApiY);
    reader.read(s.driverXY);
    reader.read(s.driverX);
    reader.read(s.driverY);
    reader.read(s.lastProfile);
    reader.read(s.lastPage);
    reader.read(s.theme);
    reader.read(s.reservedText);

    OverlaySettings& o = s.overlay;
    reader.read(o.enabled);
    qint32 positionMode = o.positionMode;
    reader.read(positionMode);
    o.positionMode = static_cast<quint8>(positionMode);
    reader.read(o.customPosition);
    reader.readColor(o.backgroundColor);
    reader.readColor(o.textColor);
    reader.read(o.backgroundOpacity);
    reader.read(o.textOpacity);
    reader.read(o.textSize);
    o.backgroundOpacity = std::clamp(o.backgroundOpacity, 0, 255);
    o.textOpacity = std::clamp(o.textOpacity, 0, 255);
    o.textSize = std::clamp(o.textSize, 6, 24);
    reader.read(o.showScenarios);
    reader.read(o.showAutoclickerStatus);
    reader.read(o.highlightActiveScenario);

    reader.read(s.scenarioSpeechEnabled);
    reader.read(s.scenarioSpeechVoice);
    reader.read(s.scenarioSpeechRate);
    reader.read(s.deactivationHotkey);
    reader.read(s.autoclickerToggleHotkey);
    reader.read(s.overlayHotkey);
    reader.read(s.language);
    // Added after the fields above: a file from before it ends there and keeps the default.
    reader.read(s.runElevated);
    reader.read(s.scriptMemoryLimitMiB);
}

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(std::clamp(alpha, 0, 255));
    return color;
}

void writeFields(QDataStream& out, const AppSettings& s)
{
    const OverlaySettings& o = s.overlay;
    out << s.isSound << static_cast<quint8>(s.controlMode) << s.systemApiXY << s.systemApiX
        << s.systemApiY << s.driverXY << s.driverX << s.driverY << s.lastProfile << s.lastPage
        << normalizeTheme(s.theme) << s.reservedText;
    out << o.enabled << static_cast<qint32>(o.positionMode) << o.customPosition
        << withAlpha(o.backgroundColor, o.backgroundOpacity)
        << withAlpha(o.textColor, o.textOpacity) << static_cast<qint32>(o.backgroundOpacity)
        << static_cast<qint32>(o.textOpacity) << static_cast<qint32>(o.textSize) << o.showScenarios
        << o.showAutoclickerStatus << o.highlightActiveScenario;
    out << s.scenarioSpeechEnabled << s.scenarioSpeechVoice << clampSpeechRate(s.scenarioSpeechRate)
        << s.deactivationHotkey << s.autoclickerToggleHotkey << s.overlayHotkey
        << normalizeLanguage(s.language);
    out << s.runElevated << static_cast<qint32>(clampScriptMemoryLimit(s.scriptMemoryLimitMiB));
}

// An empty (after trimming) hotkey gets its default; returns whether it did.
bool defaultIfBlank(QString& hotkey, const char* defaultText)
{
    if (!hotkey.trimmed().isEmpty())
        return false;
    hotkey = QString::fromLatin1(defaultText);
    return true;
}

} // namespace

AppSettings loadSettings()
{
    AppSettings settings;
    const QString path = dataFilePath(kSettingsFileName);
    bool dirty = !QFile::exists(path);

    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() > 0) {
        QDataStream in(&file);
        readFields(in, settings);
    }
    file.close();

    settings.scenarioSpeechRate = clampSpeechRate(settings.scenarioSpeechRate);
    settings.scriptMemoryLimitMiB = clampScriptMemoryLimit(settings.scriptMemoryLimitMiB);

    const QString theme = normalizeTheme(settings.theme);
    if (theme != settings.theme) {
        settings.theme = theme;
        dirty = true;
    }

    QString language = normalizeLanguage(settings.language);
    if (language.isEmpty())
        language = systemLanguage();
    if (language != settings.language) {
        settings.language = language;
        dirty = true;
    }

    dirty |= defaultIfBlank(settings.deactivationHotkey, "Alt+X");
    dirty |= defaultIfBlank(settings.autoclickerToggleHotkey, "Alt+A");

    if (defaultIfBlank(settings.overlayHotkey, "Alt+O")) {
        if (const auto& snapshot = OverlaySnapshot::current()) {
            settings.overlay = *snapshot;
            saveSettings(settings);
            return settings;
        }
        dirty = true;
    }
    if (!OverlaySnapshot::current()) {
        // The first load of the run: the overlay always starts hidden, at the default size.
        OverlaySettings first = settings.overlay;
        first.enabled = false;
        first.textSize = 9;
        OverlaySnapshot::take(first);
    }
    settings.overlay = *OverlaySnapshot::current();

    if (dirty)
        saveSettings(settings);
    return settings;
}

bool saveSettings(const AppSettings& settings)
{
    const QString path = dataFilePath(kSettingsFileName);
    // A file that is there but cannot be read (its permissions, another program's lock) holds
    // settings this run never saw: writing would replace them with defaults.
    if (QFile existing(path); existing.exists() && !existing.open(QIODevice::ReadOnly)) {
        static bool told = false;
        if (!std::exchange(told, true)) {
            qCWarning(lcSettings).noquote()
                << QStringLiteral("Файл настроек %1 не читается (%2): он не перезаписывается, "
                                  "пока его нельзя прочитать")
                       .arg(QDir::toNativeSeparators(path), existing.errorString());
        }
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    OverlaySnapshot::take(settings.overlay);
    QDataStream out(&file);
    writeFields(out, settings);
    return out.status() == QDataStream::Ok && file.commit();
}
