#include "TestRegistry.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

// The program's files are saved whole or not at all: a save loop in a child process is
// killed with SIGKILL at random moments, and what is left on disk after every kill is the
// old or the new content, never a torn or empty file.
class DurableSaveTest : public QObject
{
    Q_OBJECT

    static constexpr int kKills = 200;

private slots:
    void killedSaveLeavesOldOrNewFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("settings") << QStringLiteral("settings");
        QTest::newRow("profiles.json") << QStringLiteral("profiles");
        QTest::newRow("autoclicker.json") << QStringLiteral("autoclicker");
    }

    void killedSaveLeavesOldOrNewFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir data;
        QVERIFY(data.isValid());
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QString path;
        QByteArray small, large;
        int smallSeen = 0, largeSeen = 0;

        for (int kill = 0; kill < kKills; ++kill) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QStringLiteral(CLAVITOR_SAVE_LOOP), {kind});
            while (!child.canReadLine())
                QVERIFY2(child.waitForReadyRead(30000), "the save loop did not start");
            path = QFile::decodeName(child.readLine().trimmed());
            if (kill == 0) {
                small = readFile(path + QStringLiteral(".small"));
                large = readFile(path + QStringLiteral(".large"));
                QVERIFY(!small.isEmpty() && !large.isEmpty() && small != large);
            }

            // Somewhere within the next few saves.
            QThread::usleep(random.bounded(40000));
            QCOMPARE(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            const QByteArray left = readFile(path);
            QVERIFY2(left == small || left == large,
                     qPrintable(QStringLiteral("kill %1 (seed %2) left %3 bytes")
                                    .arg(kill).arg(seed).arg(left.size())));
            (left == small ? smallSeen : largeSeen)++;
        }
        // Both outcomes occur: the kills do fall into different saves.
        QVERIFY2(smallSeen > 0 && largeSeen > 0,
                 qPrintable(QStringLiteral("small %1, large %2").arg(smallSeen).arg(largeSeen)));
    }

private:
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

CLAVITOR_TEST(DurableSaveTest);

#include "DurableSaveTest.moc"
