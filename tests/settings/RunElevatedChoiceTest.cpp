#include "LogCapture.h"
#include "TestRegistry.h"

#include "core/DataDirectory.h"
#include "core/ElevatedRestart.h"
#include "core/SettingsFile.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "settings/RunElevatedChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>

// "Запускать от имени администратора": stored, and a restart with the rights when needed.
class RunElevatedChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
    }

    void theChoiceIsStoredAndRestartsOnlyWhenTheRightsAreMissing_data()
    {
        QTest::addColumn<bool>("runElevated");
        QTest::addColumn<bool>("elevated");
        QTest::addColumn<DWORD>("startError");
        QTest::addColumn<bool>("restarts");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("on, without the rights") << true << false << DWORD(ERROR_SUCCESS) << true
                                                << QStringList{};
        QTest::newRow("on, consent refused")
            << true << false << DWORD(ERROR_CANCELLED) << false
            << QStringList{"clavitor.elevation: Запуск от имени администратора отменён: Clavitor "
                           "работает без прав администратора"};
        QTest::newRow("on, with the rights") << true << true << DWORD(ERROR_SUCCESS) << false
                                             << QStringList{};
        QTest::newRow("off") << false << false << DWORD(ERROR_SUCCESS) << false << QStringList{};
    }
    void theChoiceIsStoredAndRestartsOnlyWhenTheRightsAreMissing()
    {
        QFETCH(bool, runElevated);
        QFETCH(bool, elevated);
        QFETCH(DWORD, startError);
        QFETCH(bool, restarts);
        QFETCH(QStringList, log);
        platform::SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        desktop.elevation().setElevated(elevated);
        desktop.elevation().setStartError(startError);
        LogCapture captured;

        QCOMPARE(RunElevatedChoice::apply(runElevated), restarts);

        platform::Platform::setCurrent(nullptr);
        QCOMPARE(RunElevatedChoice::load(), runElevated);
        QCOMPARE(captured.lines.filter("clavitor.elevation"), log);
        const auto starts = desktop.elevation().starts();
        QCOMPARE(starts.size(), std::size_t(runElevated && !elevated ? 1 : 0));
        if (!starts.empty()) {
            QCOMPARE(QString::fromStdWString(starts[0].program),
                     QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
            QCOMPARE(QString::fromStdWString(starts[0].parameters),
                     "--elevated-restart \"" + QDir::toNativeSeparators(dataDirectoryPath()) +
                         "\"");
        }
    }

    void theRestartedInstanceKeepsTheDataFolderAndNeverRestartsAgain()
    {
        const QStringList restarted{"clavitor.exe", "--elevated-restart", "C:\\Users\\a b\\Clavitor"};
        QCOMPARE(ElevatedRestart::handedDataDirectory(restarted), QString("C:\\Users\\a b\\Clavitor"));
        QCOMPARE(ElevatedRestart::handedDataDirectory({"clavitor.exe"}), std::nullopt);
        QCOMPARE(ElevatedRestart::handedDataDirectory({"clavitor.exe", "--elevated-restart"}),
                 std::nullopt);
        platform::SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        QVERIFY(!ElevatedRestart::isWanted(true, restarted));
        QVERIFY(ElevatedRestart::isWanted(true, {"clavitor.exe"}));
        platform::Platform::setCurrent(nullptr);
    }
};

CLAVITOR_TEST(RunElevatedChoiceTest);
#include "RunElevatedChoiceTest.moc"
