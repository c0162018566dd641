// The settings file as the program finds it in its data directory: any bytes load without
// harm into a normalised record, and that record survives a save and a load unchanged.

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"

#include "core/DataDirectory.h"
#include "core/OverlaySnapshot.h"
#include "core/SettingsFile.h"

#include <QFile>

namespace {

QByteArray savedBytes(const AppSettings& settings)
{
    if (!saveSettings(settings))
        qFatal("the settings could not be saved");
    QFile file(dataFilePath(QStringLiteral("Settings")));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the saved settings cannot be read");
    return file.readAll();
}

// A new run of the program loading the file.
AppSettings loadAfterStart()
{
    OverlaySnapshot::clear();
    return loadSettings();
}

void checkNormalised(const AppSettings& s)
{
    FUZZ_CHECK(s.theme == u"default" || s.theme == u"light");
    FUZZ_CHECK(s.language == u"ru" || s.language == u"en");
    FUZZ_CHECK(s.controlMode <= 1);
    FUZZ_CHECK(s.scenarioSpeechRate >= 1.0 && s.scenarioSpeechRate <= 2.0);
    FUZZ_CHECK(!s.deactivationHotkey.trimmed().isEmpty());
    FUZZ_CHECK(!s.autoclickerToggleHotkey.trimmed().isEmpty());
    FUZZ_CHECK(!s.overlayHotkey.trimmed().isEmpty());
    // The first load of a run: the overlay hidden, at its default size.
    FUZZ_CHECK(!s.overlay.enabled && s.overlay.textSize == 9);
    FUZZ_CHECK(s.overlay.backgroundOpacity >= 0 && s.overlay.backgroundOpacity <= 255);
    FUZZ_CHECK(s.overlay.textOpacity >= 0 && s.overlay.textOpacity <= 255);
    FUZZ_CHECK(s.overlay.backgroundColor.isValid() && s.overlay.textColor.isValid());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzEnvironment& environment = FuzzEnvironment::instance();
    environment.clearDataDirectory();
    QFile file(dataFilePath(QStringLiteral("Settings")));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        qFatal("cannot write the settings file");
    file.close();

    const AppSettings loaded = loadAfterStart();
    checkNormalised(loaded);
    const QByteArray saved = savedBytes(loaded);
    const AppSettings reloaded = loadAfterStart();
    FUZZ_CHECK(savedBytes(reloaded) == saved);
    return 0;
}
