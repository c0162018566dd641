#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/ActivationFeedback.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/SwitchSound.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextToSpeech>
#include <QVoice>

class ActivationFeedbackTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, true);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
        qApp->setProperty(AppProperty::scenarioSpeechVoice, QVariant());
        qApp->setProperty(AppProperty::scenarioSpeechRate, QVariant());
    }

    void cleanup()
    {
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
    }

    void speechRateFollowsTheSpeedSetting_data()
    {
        QTest::addColumn<QVariant>("setting");
        QTest::addColumn<double>("rate");
        QTest::newRow("not set") << QVariant() << 0.6499999999999999;
        QTest::newRow("1.5") << QVariant(1.5) << 0.65;
        QTest::newRow("2.0") << QVariant(2.0) << 1.0;
        QTest::newRow("1.2") << QVariant(1.2) << 0.44;
        QTest::newRow("1.0") << QVariant(1.0) << 0.3;
        QTest::newRow("0.5") << QVariant(0.5) << 0.3;
        QTest::newRow("3") << QVariant(3) << 1.0;
    }

    void speechRateFollowsTheSpeedSetting()
    {
        QFETCH(QVariant, setting);
        QFETCH(double, rate);
        QCOMPARE(ActivationFeedback::speechRate(setting), rate);
    }

    void configuredVoiceAndRateAreApplied()
    {
        QCOMPARE(ActivationFeedback::speechEngine(), nullptr); // speech off
        ActivationFeedback::speak(QStringLiteral("nothing to hear"));

        qApp->setProperty(AppProperty::scenarioSpeechEnabled, true);
        QTextToSpeech* engine = ActivationFeedback::speechEngine();
        QVERIFY(engine);
        QCOMPARE(ActivationFeedback::speechEngine(), engine); // created once
        QCOMPARE(engine->rate(), 0.6499999999999999);
        const QList<QVoice> voices = engine->availableVoices();
        if (voices.size() < 2)
            QSKIP("the speech engine here offers fewer than two voices");

        // The flite engine reports its voices as male adults of en_US.
        QVERIFY(ActivationFeedback::voiceKey(voices.last())
                    .startsWith(QStringLiteral("en_US|%1|").arg(voices.last().name())));
        QCOMPARE(ActivationFeedback::voiceKey(voices.last()).section(u'|', 2),
                 QStringLiteral("%1|%2").arg(int(QVoice::Male)).arg(int(QVoice::Adult)));

        const QVoice wanted =
            voices.last().name() == engine->voice().name() ? voices.first() : voices.last();
        qApp->setProperty(AppProperty::scenarioSpeechVoice, ActivationFeedback::voiceKey(wanted));
        qApp->setProperty(AppProperty::scenarioSpeechRate, 2.0);
        QCOMPARE(ActivationFeedback::speechEngine()->voice().name(), wanted.name());
        QCOMPARE(engine->rate(), 1.0);

        // A key that matches no voice keeps the voice in use.
        qApp->setProperty(AppProperty::scenarioSpeechVoice, QStringLiteral("ru_RU|nobody|1|2"));
        QCOMPARE(ActivationFeedback::speechEngine()->voice().name(), wanted.name());
        ActivationFeedback::announceActivation(QStringLiteral("/profiles/aim.lua"));
        ActivationFeedback::announceDeactivation(QStringLiteral("aim"));
    }

    void switchSoundFollowsActivationsAndDeactivations()
    {
        QTemporaryDir dir;
        const QString path = writeScript(dir, QStringLiteral("aim.lua"), kListeningScript);
        ScriptsModel model;
        QSignalSpy played(ActivationFeedback::switchSound(), &SwitchSound::played);

        model.executeLua(path); // no scenario record has this file
        model.deactivateScript();
        QCOMPARE(played.size(), 1); // for the deactivation only
        model.deactivateScript();   // idle
        QCOMPARE(played.size(), 1);

        model.scriptAt(0)->path = path;
        model.executeLua(path);
        QCOMPARE(played.size(), 2);
        qApp->setProperty(AppProperty::isSound, false);
        model.deactivateScript();
        QCOMPARE(played.size(), 2);
    }
};

CLAVITOR_TEST(ActivationFeedbackTest);
#include "ActivationFeedbackTest.moc"
