#include "RunElevatedChoice.h"

#include "app/DataDirectory.h"
#include "app/ElevatedRestart.h"
#include "app/SettingsFile.h"

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
