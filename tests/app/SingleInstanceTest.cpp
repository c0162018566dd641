#include "TestRegistry.h"

#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

// A later start, on a thread of its own: it waits for the first instance's answer, which
// this thread's event loop gives.
SingleInstance::Claim claimElsewhere(const QString& dataDirectory)
{
    SingleInstance::Claim claim = SingleInstance::Claim::Failed;
    std::unique_ptr<QThread> start(QThread::create([&] {
        SingleInstance later(dataDirectory);
        claim = later.claim();
    }));
    start->start();
    while (!start->wait(10))
        QCoreApplication::processEvents();
    return claim;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// One Clavitor per data folder: the first start keeps it, a later one hands over and ends,
// whatever a crashed instance left behind.
class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void aLaterStartHandsOverToTheFirst_data()
    {
        QTest::addColumn<QString>("leftBehind");
        QTest::newRow("nothing") << "";
        QTest::newRow("a crashed instance's socket") << "socket";
        QTest::newRow("a crashed instance's lock") << "lock";
    }
    void aLaterStartHandsOverToTheFirst()
    {
        QFETCH(QString, leftBehind);
        const QTemporaryDir data;
        const QString name = SingleInstance::serverName(data.path());
        if (leftBehind == "socket")
            QVERIFY(writeFile(QDir::temp().filePath(name), {}));
        if (leftBehind == "lock") // a process that ran here and is gone
            QVERIFY(writeFile(data.filePath("clavitor.lock"), "2147483646\nclavitor\n\n"));

        SingleInstance first(data.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QCOMPARE(claimElsewhere(data.path()), SingleInstance::Claim::HandedOver);
        QCOMPARE(shown.size(), 1);

        // Another data folder is another user's or another portable copy's.
        const QTemporaryDir other;
        QCOMPARE(claimElsewhere(other.path()), SingleInstance::Claim::First);
        QCOMPARE(shown.size(), 1);
    }

    void aTakeOverWaitsForTheRunningInstanceToEnd()
    {
        const QTemporaryDir data;
        auto first = std::make_unique<SingleInstance>(data.path());
        QCOMPARE(first->claim(), SingleInstance::Claim::First);
        QSignalSpy shown(first.get(), &SingleInstance::showRequested);

        SingleInstance::Claim claim = SingleInstance::Claim::Failed;
        std::unique_ptr<QThread> start(QThread::create([&] {
            SingleInstance next(data.path());
            claim = next.takeOver();
        }));
        start->start();
        QTest::qWait(300);
        first.reset(); // the instance that started the next one ends
        QVERIFY(start->wait(SingleInstance::kTakeOverTimeoutMs));

        QCOMPARE(claim, SingleInstance::Claim::First);
        QCOMPARE(shown.size(), 0);
    }
};

CLAVITOR_TEST(SingleInstanceTest);
#include "SingleInstanceTest.moc"
