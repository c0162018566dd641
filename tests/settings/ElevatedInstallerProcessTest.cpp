#include "TestRegistry.h"

#include "platform/simulated/SimulatedPlatform.h"
#include "settings/ElevatedInstallerProcess.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <thread>

// The installer started with the administrator's rights: its end, heard on another thread,
// reaches the GUI thread with its exit code; a refused start says why.
class ElevatedInstallerProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void itsEndIsToldOnTheGuiThreadWithItsExitCode()
    {
        platform::SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        desktop.elevation().setStartError(ERROR_SUCCESS);
        ElevatedInstallerProcess installer;
        QSignalSpy finished(&installer, &InstallerProcess::finished);
        QString error;

        QVERIFY(installer.start("/data/installer.exe", &error));
        QVERIFY(installer.isRunning());
        QCOMPARE(QString::fromStdWString(desktop.elevation().starts().at(0).program),
                 QDir::toNativeSeparators("/data/installer.exe"));
        std::thread([&] { desktop.elevation().finish(3010); }).join();
        QVERIFY(finished.wait(2000));

        QCOMPARE(finished.at(0).at(0).toInt(), 3010);
        QVERIFY(!installer.isRunning());
        platform::Platform::setCurrent(nullptr);
    }

    void aRefusedStartSaysWhyAndAGoneObjectHearsNothing()
    {
        platform::SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        desktop.elevation().setStartError(ERROR_CANCELLED);
        QString error;
        {
            ElevatedInstallerProcess refused;
            QVERIFY(!refused.start("installer.exe", &error));
            QVERIFY(!refused.isRunning());
        }
        QCOMPARE(error, QString("The operation was canceled by the user."));

        desktop.elevation().setStartError(ERROR_SUCCESS);
        {
            ElevatedInstallerProcess gone;
            QVERIFY(gone.start("installer.exe", &error));
        }
        QVERIFY(desktop.elevation().finish(0));
        QCoreApplication::processEvents(); // the end reaches no one, and nothing breaks
        platform::Platform::setCurrent(nullptr);
    }
};

CLAVITOR_TEST(ElevatedInstallerProcessTest);
#include "ElevatedInstallerProcessTest.moc"
