#include "ScenarioScripts.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScenarioFailures.h"
#include "engine/ScriptsModel.h"
#include "log/LogFile.h"
#include "log/LogJournal.h"
#include "log/LogKinds.h"
#include "log/MessageCapture.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The journal's lines as "kind|scenario|text", the folded lines left out.
QStringList shown(const LogJournal& journal)
{
    QStringList lines;
    for (int row = 0; row < journal.size(); ++row) {
        const LogEntry& entry = journal.at(row);
        lines << QStringLiteral("%1|%2|%3")
                     .arg(LogKinds::token(entry.kind), entry.scenario, entry.text);
    }
    return lines;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The capture feeds the journal while it lives.
struct Captured
{
    explicit Captured(LogJournal& journal) { MessageCapture::install(journal); }
    ~Captured() { MessageCapture::uninstall(); }
};

} // namespace

class LogJournalTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_desktop = std::make_unique<platform::SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
    }

    void cleanup()
    {
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    // What a scenario says and the errors it meets reach the journal and the file in order,
    // each with its scenario, the error with the stack it happened in.
    void aScenarioRunReachesTheJournalAndTheFileInOrder()
    {
        QTemporaryDir dir;
        LogJournal journal;
        journal.setFileFolder(dir.path());
        ScriptedPrompter prompter;
        const QString path = writeScript(dir, QStringLiteral("aim.lua"),
                                         "function fail()\n"
                                         "  error('broken')\n"
                                         "end\n"
                                         "function OnEvent(event, arg)\n"
                                         "  if event == 'PROFILE_ACTIVATED' then\n"
                                         "    OutputLogMessage('ready %d\\n', 7)\n"
                                         "  elseif event == 'MOUSE_BUTTON_PRESSED' then\n"
                                         "    fail()\n"
                                         "  end\n"
                                         "end\n");
        {
            const Captured capture(journal);
            ScriptsModel model(nullptr, dir.path());
            model.executeLua(path);
            model.rigthMouseButtonStateChanged(true);
            model.deactivateScript();
        }
        journal.flush();

        const QString error =
            QStringLiteral("Ошибка Lua в OnEvent: %1:2: broken").arg(path);
        QCOMPARE(shown(journal),
                 (QStringList{
                     QStringLiteral("script|aim|ready 7"),
                     QStringLiteral("activation|aim|Активирован сценарий «aim» профиля «%1»")
                         .arg(QFileInfo(dir.path()).fileName()),
                     QStringLiteral("error|aim|") + error,
                     QStringLiteral("activation|aim|Деактивирован сценарий «aim» профиля «%1»")
                         .arg(QFileInfo(dir.path()).fileName()),
                 }));
        const QStringList stack = journal.at(2).detail.split(QLatin1Char('\n'));
        QCOMPARE(stack.size(), 3);
        QCOMPARE(stack[1], QStringLiteral("%1:2: in function 'fail'").arg(path));
        QCOMPARE(stack[2], QStringLiteral("%1:8: in function <%1:4>").arg(path));

        const QStringList file = QString::fromUtf8(readAll(journal.filePath()))
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(file.size(), 4 + 3);
        QVERIFY2(file[0].endsWith(QStringLiteral(" [script] aim: ready 7")), qPrintable(file[0]));
        QVERIFY2(file[2].endsWith(QStringLiteral(" [error] aim: ") + error), qPrintable(file[2]));
        QCOMPARE(file[4], QLatin1Char('\t') + stack[1]);
        QVERIFY(file[6].contains(QStringLiteral(" [activation] aim: Деактивирован")));
    }

    void kindsFollowTheCategories_data()
    {
        QTest::addColumn<QByteArray>("category");
        QTest::addColumn<QString>("kind"); // empty: the journal does not keep it
        QTest::newRow("hotkey refused") << QByteArray("clavitor.hotkeys") << "hotkey";
        QTest::newRow("profile followed") << QByteArray("clavitor.following") << "following";
        QTest::newRow("autoclicker") << QByteArray("clavitor.autoclicker") << "autoclicker";
        QTest::newRow("archive") << QByteArray("clavitor.import") << "import";
        QTest::newRow("user stopped") << QByteArray("clavitor.runaway") << "runaway";
        QTest::newRow("other line of the program") << QByteArray("clavitor.profiles") << "program";
        QTest::newRow("every input record") << QByteArray("clavitor.input") << QString();
        QTest::newRow("Qt's own") << QByteArray("qt.qpa.xcb") << QString();
    }

    void kindsFollowTheCategories()
    {
        QFETCH(QByteArray, category);
        QFETCH(QString, kind);
        LogJournal journal;
        {
            const Captured capture(journal);
            const QLoggingCategory logging(category.constData());
            qCWarning(logging) << "line";
        }
        journal.flush();
        QCOMPARE(journal.size(), kind.isEmpty() ? 0 : 1);
        if (!kind.isEmpty())
            QCOMPARE(QString(LogKinds::token(journal.at(0).kind)), kind);
    }

    void keepsTheLastLinesAndCountsTheDropped_data()
    {
        QTest::addColumn<bool>("takenAtOnce"); // the GUI thread never got to take a batch
        QTest::newRow("taken in batches") << false;
        QTest::newRow("taken at once") << true;
    }

    void keepsTheLastLinesAndCountsTheDropped()
    {
        QFETCH(bool, takenAtOnce);
        LogJournal journal;
        const int lines = LogJournal::kCapacity + 25;
        for (int i = 0; i < lines; ++i) {
            journal.append({QDateTime::currentDateTime(), LogKind::Script, {}, QString::number(i), {}});
            if (!takenAtOnce && i % 1000 == 999)
                journal.flush();
        }
        journal.flush();
        QCOMPARE(journal.size(), LogJournal::kCapacity);
        QCOMPARE(journal.dropped(), 25);
        QCOMPARE(journal.at(0).text, QStringLiteral("25"));
        QCOMPARE(journal.at(journal.size() - 1).text, QString::number(lines - 1));
    }

    // A log file that cannot be written is told of on the page, once until it can be again.
    void aFileThatCannotBeWrittenIsToldOnce()
    {
        QTemporaryDir dir;
        const QString blocked = writeScript(dir, QStringLiteral("not-a-folder"), "x");
        LogJournal journal;
        journal.setFileFolder(blocked);
        for (const QString& text : {QStringLiteral("first"), QStringLiteral("second")}) {
            journal.append({QDateTime::currentDateTime(), LogKind::Script, {}, text, {}});
            journal.flush();
        }
        QCOMPARE(journal.size(), 3);
        QCOMPARE(journal.at(0).text, QStringLiteral("first"));
        QVERIFY2(journal.at(1).text.startsWith(
                     QStringLiteral("Не удалось записать журнал в %1")
                         .arg(QDir::toNativeSeparators(blocked + QStringLiteral("/clavitor.log")))),
                 qPrintable(journal.at(1).text));
        QCOMPARE(journal.at(2).text, QStringLiteral("second"));
    }

    // The file is rotated before it passes its size; three old copies are kept, in order.
    void theFileIsRotated()
    {
        QTemporaryDir dir;
        LogFile file(dir.path());
        const QByteArray padding(1000, 'x');
        int written = 0;
        for (; written < 4500; ++written)
            QVERIFY(file.append(QByteArray::number(written) + ' ' + padding + '\n'));

        const QString base = dir.filePath(QStringLiteral("clavitor.log"));
        QVERIFY(!QFile::exists(base + QStringLiteral(".4")));
        QList<QByteArray> copies; // the oldest first
        for (const QString& name : {base + ".3", base + ".2", base + ".1", base}) {
            const QByteArray bytes = readAll(name);
            QVERIFY2(!bytes.isEmpty() && bytes.size() <= LogFile::kRotateBytes, qPrintable(name));
            copies << bytes;
        }
        int expected = -1;
        for (const QByteArray& copy : copies) {
            for (const QByteArray& line : copy.split('\n')) {
                if (line.isEmpty())
                    continue;
                const int number = line.left(line.indexOf(' ')).toInt();
                QVERIFY(expected < 0 || number == expected);
                expected = number + 1;
            }
        }
        QCOMPARE(expected, written);
    }

private:
    std::unique_ptr<platform::SimulatedPlatform> m_desktop;
};

CLAVITOR_TEST(LogJournalTest);
#include "LogJournalTest.moc"
