#include "AppProperties.h"

#include "SettingsNormalization.h"

#include <QCoreApplication>
#include <QVariant>

void applySettings(const AppSettings& s)
{
    QCoreApplication* app = QCoreApplication::instance();
    app->setProperty(AppProperty::isSound, s.isSound);
    app->setProperty(AppProperty::scenarioSpeechEnabled, s.scenarioSpeechEnabled);
    app->setProperty(AppProperty::scenarioSpeechVoice, s.scenarioSpeechVoice);
    app->setProperty(AppProperty::scenarioSpeechRate, clampSpeechRate(s.scenarioSpeechRate));
    app->setProperty(AppProperty::controlMode, static_cast<int>(s.controlMode));
    app->setProperty(AppProperty::systemApiXY, s.systemApiXY);
    app->setProperty(AppProperty::systemApiX, s.systemApiX);
    app->setProperty(AppProperty::systemApiY, s.systemApiY);
    app->setProperty(AppProperty::driverXY, s.driverXY);
    app->setProperty(AppProperty::driverX, s.driverX);
    app->setProperty(AppProperty::driverY, s.driverY);
    app->setProperty(AppProperty::theme, normalizeTheme(s.theme));
    app->setProperty(AppProperty::language, normalizeLanguage(s.language));
    app->setProperty(AppProperty::scriptMemoryLimitMiB,
                     clampScriptMemoryLimit(s.scriptMemoryLimitMiB));
}

void publishModifierDefaults()
{
    QCoreApplication* app = QCoreApplication::instance();
    for (const char* factor :
         {AppProperty::profileXY, AppProperty::profileX, AppProperty::profileY,
          AppProperty::scenarioXY, AppProperty::scenarioX, AppProperty::scenarioY})
        app->setProperty(factor, 1.0);
    app->setProperty(AppProperty::profileRand, 0.0);
    app->setProperty(AppProperty::scenarioRand, 0.0);
}
