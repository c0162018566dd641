#include "AutoclickerTestSupport.h"
#include "FakeHidApi.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "autoclicker/AutoClicker.h"
#include "autoclicker/AutoclickerWidget.h"
#include "core/AppProperties.h"
#include "core/DataDirectory.h"
#include "hooks/QGlobalMouseHook.h"
#include "input/InputSender.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTest>

using platform::SimulatedPlatform;

// The hold modes in driver mode, where the virtual mouse's clicks come back to the mouse hook
// as hardware input, as they do on Windows.
class DriverHoldModeTest : public QObject
{
    Q_OBJECT

private slots:
    void holdModeClicksUntilTheUserLetsGo_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("held");
        QTest::newRow("left") << int(AutoClicker::HoldLeft) << QList<int>{VK_LBUTTON};
        QTest::newRow("left and right")
            << int(AutoClicker::HoldLeftRight) << QList<int>{VK_RBUTTON, VK_LBUTTON};
    }
    void holdModeClicksUntilTheUserLetsGo()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, held);
        QFile::remove(dataFilePath(QStringLiteral("Settings")));
        SimulatedPlatform desktop;
        platform::Platform::setCurrent(&desktop);
        FakeHidApi hid;
        hid.attachVirtualMouse();
        hid.desktop = &desktop;
        qApp->setProperty(AppProperty::controlMode, 1);
        const auto restore = qScopeGuard([] {
            QGlobalMouseHook::shutdown();
            closeVirtualMouse();
            qApp->setProperty(AppProperty::controlMode, 0);
            platform::Platform::setCurrent(nullptr);
        });
        const ScriptedPrompter prompter;
        const RecordingOverlay overlay;
        writeAutoclickerFile(QStringLiteral(R"({"active": "hold", "enabled": true, "profiles": [
            {"name": "hold", "settings": {"inputType": "mouse", "useMove": false,
                                          "interval": 10, "mode": %1}}]})")
                                 .arg(mode)
                                 .toUtf8());
        AutoclickerWidget page;
        auto* clicker = page.findChild<AutoClicker*>(QStringLiteral("clicker"));
        QVERIFY(clicker);
        for (int button : held) {
            desktop.setKeyDown(button, true);
            QCoreApplication::sendPostedEvents();
        }

        const auto leftPresses = [&hid] {
            int presses = 0;
            char previous = 0;
            for (const FakeHidApi::Report& report : hid.reports) {
                presses += (report.bytes.at(2) & ~previous & 0x01) != 0;
                previous = report.bytes.at(2);
            }
            return presses;
        };
        QTRY_VERIFY(leftPresses() >= 3);
        QVERIFY(clicker->isRunning());

        desktop.setKeyDown(held.last(), false);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!clicker->isRunning());
    }
};

CLAVITOR_TEST(DriverHoldModeTest);
#include "DriverHoldModeTest.moc"
