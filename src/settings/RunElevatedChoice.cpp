#include "RunElevatedChoice.h"

#include "core/DataDirectory.h"
#include "core/ElevatedRestart.h"
#include "core/SettingsFile.h"

#include <QCoreApplication>

bool RunElevatedChoice::isOffered()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

bool RunElevatedChoice::load()
{
    return loadSettings().runElevated;
}

bool RunElevatedChoice::apply(bool runElevated)
{
    AppSettings settings = loadSettings();
    settings.runElevated = runElevated;
    saveSettings(settings);
    return ElevatedRestart::isWanted(runElevated, QCoreApplication::arguments()) &&
           ElevatedRestart::start(dataDirectoryPath());
}
