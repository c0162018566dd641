#include "ActivationFeedback.h"

#include "core/AppProperties.h"
#include "hotkeys/SwitchSound.h"
#include "log/ScenarioScope.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QTextToSpeech>
#include <QVariant>
#include <QVoice>

Q_LOGGING_CATEGORY(lcScenario, "clavitor.scenario")

namespace ActivationFeedback {

namespace {

QVariant appProperty(const char* name)
{
    return QCoreApplication::instance()->property(name);
}

} // namespace

void playSwitchSound()
{
    if (appProperty(AppProperty::isSound).toBool())
        switchSound()->play();
}

SwitchSound* switchSound()
{
    static QPointer<SwitchSound> sound;
    if (!sound)
        sound = new SwitchSound(QCoreApplication::instance());
    return sound;
}

QTextToSpeech* speechEngine()
{
    if (!appProperty(AppProperty::scenarioSpeechEnabled).toBool())
        return nullptr;
    static QPointer<QTextToSpeech> engine;
    if (!engine)
        engine = new QTextToSpeech(QCoreApplication::instance());

    const QString key = appProperty(AppProperty::scenarioSpeechVoice).toString();
    if (!key.isEmpty() && key != voiceKey(engine->voice())) {
        const QList<QVoice> voices = engine->availableVoices();
        for (const QVoice& voice : voices) {
            if (voiceKey(voice) == key) {
                engine->setVoice(voice);
                break;
            }
        }
    }
    engine->setRate(speechRate(appProperty(AppProperty::scenarioSpeechRate)));
    return engine;
}

void speak(const QString& text)
{
    const QString sentence = text.trimmed();
    if (sentence.isEmpty())
        return;
    QTextToSpeech* engine = speechEngine();
    if (!engine)
        return;
    engine->stop();
    engine->say(sentence);
}

QString voiceKey(const QVoice& voice)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(voice.locale().name(), voice.name(), QString::number(static_cast<int>(voice.gender())),
             QString::number(static_cast<int>(voice.age())));
}

double speechRate(const QVariant& setting)
{
    const double speed = setting.isValid() ? setting.toDouble() : 1.5;
    if (speed > 2)
        return 1.0;
    if (speed > 1)
        return (speed - 1) * 0.7 + 0.3;
    return 0.3;
}

void announceActivation(const QString& path)
{
    speak(QFileInfo(path).completeBaseName());
}

void announceDeactivation(const QString& name)
{
    speak(name.isEmpty()
              ? QCoreApplication::translate("ScriptsModel", "Сценарий отключён")
              : QCoreApplication::translate("ScriptsModel", "Сценарий \"%1\" отключён").arg(name));
}

void logActivation(const QString& path, const QString& profile)
{
    const QString name = QFileInfo(path).completeBaseName();
    const ScenarioScope scope(name);
    qCInfo(lcScenario).noquote()
        << QStringLiteral("Активирован сценарий «%1» профиля «%2»").arg(name, profile);
}

void logDeactivation(const QString& path, const QString& profile)
{
    const QString name = QFileInfo(path).completeBaseName();
    const ScenarioScope scope(name);
    qCInfo(lcScenario).noquote()
        << QStringLiteral("Деактивирован сценарий «%1» профиля «%2»").arg(name, profile);
}

} // namespace ActivationFeedback
