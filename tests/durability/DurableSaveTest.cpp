#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

// The program's files are saved whole or not at all: a save loop in a child process is
// killed with SIGKILL at random points of its saves, and what is left on disk after every
// kill is the old or the new content, never a torn or empty file.
//
// The kills follow the saves, not the clock: the loop saves when told to and reports each
// finished save, so every kill falls at a random point of one known save (or just after it),
// however long a save takes on this machine, and what the file may hold then is known.
class DurableSaveTest : public QObject
{
    Q_OBJECT

    static constexpr int kKills = 60;

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
        QByteArray current;  // what the file holds before the next save
        qint64 took[2] = {}; // the last whole small [0] and large [1] save, in ns
        int smallSeen = 0, largeSeen = 0, oldSeen = 0, newSeen = 0;

        for (int kill = 0; kill < kKills; ++kill) {
            const QString where = QStringLiteral("kill %1 (seed %2)").arg(kill).arg(seed);
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            // The first run also keeps a copy of each version to compare with.
            child.start(QStringLiteral(CLAVITOR_SAVE_LOOP),
                        kill == 0 ? QStringList{kind, QStringLiteral("copies")}
                                  : QStringList{kind});
            QByteArray line;
            QVERIFY2(readLine(child, &line), "the save loop did not start");
            path = QFile::decodeName(line);
            if (kill == 0) {
                small = readFile(path + QStringLiteral(".small"));
                large = readFile(path + QStringLiteral(".large"));
                QVERIFY(!small.isEmpty() && !large.isEmpty() && small != large);
                current = readFile(path);
                QCOMPARE(current, large);
            }

            // Whole saves, each of the version the file does not hold, timed from the byte
            // that starts it to its report: the first run times one of each, the others none
            // or one at random. Each save then killed is again of the version the file does
            // not hold, so the whole saves draw which version is old and which is new.
            const int whole = kill == 0 ? 2 : int(random.bounded(2));
            for (int save = 0; save < whole; ++save) {
                const bool isLarge = current == small;
                QElapsedTimer timer;
                timer.start();
                QVERIFY(child.write(isLarge ? "l" : "s") == 1 && child.waitForBytesWritten(30000));
                QVERIFY2(readLine(child, &line),
                         qPrintable(where + QStringLiteral(": a whole save not reported")));
                took[isLarge] = timer.nsecsElapsed();
                QCOMPARE(line, isLarge ? QByteArray("large") : QByteArray("small"));
                current = isLarge ? large : small;
            }

            // The kill falls at a random point within one and a half times what the last whole
            // save of the same version took. Past the save's end the loop waits for the next
            // byte, so a late kill still falls before any other save: the file then holds the
            // new version.
            const bool newIsLarge = current == small;
            const QByteArray before = current;
            const QByteArray& after = newIsLarge ? large : small;
            QVERIFY(child.write(newIsLarge ? "l" : "s") == 1 && child.waitForBytesWritten(30000));
            QThread::usleep(
                static_cast<unsigned long>(random.bounded(took[newIsLarge] * 3 / 2 / 1000 + 1)));
            QCOMPARE(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            const bool reported = child.canReadLine();

            const QByteArray left = readFile(path);
            QVERIFY2(left == before || left == after,
                     qPrintable(where + QStringLiteral(" left %1 bytes").arg(left.size())));
            // A save reported as finished is the one on disk.
            QVERIFY2(!reported || left == after,
                     qPrintable(where + QStringLiteral(" left the old version after the save "
                                                       "was reported")));
            (left == small ? smallSeen : largeSeen)++;
            (left == before ? oldSeen : newSeen)++;
            current = left;
        }
        qInfo("small %d, large %d, old %d, new %d", smallSeen, largeSeen, oldSeen, newSeen);
        // Both outcomes occur: some kills fell inside a save and left the old version, some
        // after it and left the new one, and each of the two versions was left at times.
        QVERIFY2(smallSeen > 0 && largeSeen > 0 && oldSeen > 0 && newSeen > 0,
                 qPrintable(QStringLiteral("small %1, large %2, old %3, new %4 (seed %5)")
                                .arg(smallSeen)
                                .arg(largeSeen)
                                .arg(oldSeen)
                                .arg(newSeen)
                                .arg(seed)));
    }

private:
    // Reads the child's next line from stdout, without its line break.
    static bool readLine(QProcess& child, QByteArray* line)
    {
        while (!child.canReadLine()) {
            if (!child.waitForReadyRead(30000))
                return false;
        }
        *line = child.readLine().trimmed();
        return true;
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

CLAVITOR_TEST(DurableSaveTest);

#include "DurableSaveTest.moc"
