#include "FakeHidApi.h"
#include "LogCapture.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "input/InputSender.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QSet>
#include <QTest>

#include <memory>
#include <numeric>

namespace {

INPUT move(LONG dx, LONG dy, DWORD flags = MOUSEEVENTF_MOVE)
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = dx;
    record.mi.dy = dy;
    record.mi.dwFlags = flags;
    return record;
}

INPUT mouseFlags(DWORD flags, DWORD mouseData = 0)
{
    INPUT record = move(0, 0, flags);
    record.mi.mouseData = mouseData;
    return record;
}

INPUT key(WORD scan, DWORD flags)
{
    INPUT record{};
    record.type = INPUT_KEYBOARD;
    record.ki.wScan = scan;
    record.ki.dwFlags = flags;
    return record;
}

void set(const char* property, const QVariant& value)
{
    qApp->setProperty(property, value);
}

QByteArray report(unsigned char buttons, signed char x, signed char y)
{
    return QByteArray::fromRawData("\x01\x02", 2) + QByteArray(1, static_cast<char>(buttons)) +
           QByteArray(1, static_cast<char>(x)) + QByteArray(1, static_cast<char>(y));
}

const QString kSystemLine = QStringLiteral("clavitor.input: Ввод отправлен через системный API");
const QString kDriverLine = QStringLiteral("clavitor.input: Ввод отправлен через Tetherscript HID");
const QString kNotFoundLine =
    QStringLiteral("clavitor.hid: Не удалось открыть устройство Tetherscript HID: не найдено");
const QString kOpenedLine = QStringLiteral("clavitor.hid: Устройство Tetherscript HID открыто");

} // namespace

class InputSenderTest : public QObject
{
    Q_OBJECT

    platform::SimulatedPlatform m_desktop;
    std::unique_ptr<InputSender> m_sender;

    std::vector<INPUT> sent() { return m_desktop.takeSentRecords(); }

    INPUT sendOne(const INPUT& record)
    {
        m_sender->send(record);
        const std::vector<INPUT> records = sent();
        if (records.size() != 1)
            qFatal("expected one record, got %zu", records.size());
        return records.front();
    }

private slots:
    void init()
    {
        platform::Platform::setCurrent(&m_desktop);
        applySettings(AppSettings{});
        publishModifierDefaults();
        m_sender = std::make_unique<InputSender>();
        sent();
    }

    void cleanup()
    {
        m_sender.reset();
        platform::Platform::setCurrent(nullptr);
    }

    void systemRouteWithoutModifiersSendsTheRecordUnchanged()
    {
        LogCapture log;
        const INPUT original = move(3, -2);
        INPUT callers = original;
        QCOMPARE(m_sender->send(callers), UINT(1));
        const std::vector<INPUT> records = sent();
        QCOMPARE(records.size(), size_t(1));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&records[0]), sizeof(INPUT)),
                 QByteArray(reinterpret_cast<const char*>(&original), sizeof(INPUT)));
        QCOMPARE(log.lines, QStringList{kSystemLine});
    }

    void factorsApplyInTheirOrderAndTheCallersRecordStays()
    {
        set(AppProperty::systemApiXY, 2.0);
        set(AppProperty::systemApiX, 1.5);
        set(AppProperty::profileXY, 0.5);
        set(AppProperty::profileY, 3.0);
        set(AppProperty::scenarioXY, 2.0);
        set(AppProperty::scenarioY, 0.25);
        const INPUT callers = move(10, 10);
        const INPUT out = sendOne(callers);
        QCOMPARE(out.mi.dx, 30); // 10 * 2 * 1.5 * 0.5 * 2
        QCOMPARE(out.mi.dy, 15); // 10 * 2 * 0.5 * 3 * 2 * 0.25
        QCOMPARE(callers.mi.dx, 10);

        // The driver's factors apply in driver mode, even when the record then goes by the
        // system route because no device is there.
        FakeHidApi hid;
        LogCapture log;
        set(AppProperty::controlMode, 1);
        set(AppProperty::driverXY, 0.1);
        QCOMPARE(sendOne(move(10, 10)).mi.dx, 1);
        QCOMPARE(log.lines, (QStringList{kNotFoundLine, kSystemLine}));
    }

    void smallScaledMovesAddUpExactly()
    {
        set(AppProperty::systemApiXY, 0.5);
        QList<LONG> dx;
        for (int i = 0; i < 10; ++i)
            dx << sendOne(move(1, 0)).mi.dx;
        QCOMPARE(dx, (QList<LONG>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));

        set(AppProperty::systemApiXY, 1.0 / 3.0);
        LONG total = 0;
        for (int i = 0; i < 30; ++i)
            total += sendOne(move(-1, 0)).mi.dx;
        QCOMPARE(total, -10);
    }

    void jitterIsAddedBeforeAndAfterTheScenarioFactors()
    {
        set(AppProperty::profileRand, 3.0);
        set(AppProperty::scenarioXY, 2.0);
        QSet<LONG> seen;
        for (int i = 0; i < 2000; ++i) {
            const INPUT out = sendOne(move(0, 0));
            QVERIFY(out.mi.dx % 2 == 0 && out.mi.dy % 2 == 0);
            seen << out.mi.dx << out.mi.dy;
        }
        QCOMPARE(seen, (QSet<LONG>{-6, -4, -2, 0, 2, 4, 6}));

        set(AppProperty::profileRand, 0.0);
        set(AppProperty::scenarioXY, 1.0);
        set(AppProperty::scenarioRand, -0.5); // rounds away from zero to 1
        seen.clear();
        for (int i = 0; i < 500; ++i) {
            const INPUT out = sendOne(move(10, 10));
            seen << out.mi.dx << out.mi.dy;
        }
        QCOMPARE(seen, (QSet<LONG>{9, 10, 11}));

        set(AppProperty::scenarioRand, 0.4); // rounds to 0: no jitter
        for (int i = 0; i < 50; ++i)
            QCOMPARE(sendOne(move(10, 10)).mi.dx, 10);
    }

    void missingOrUnusablePropertiesCountAsNeutral()
    {
        set(AppProperty::systemApiXY, QVariant());
        set(AppProperty::profileX, QStringLiteral("many"));
        set(AppProperty::scenarioY, std::numeric_limits<double>::quiet_NaN());
        set(AppProperty::profileRand, QStringLiteral("lots"));
        const INPUT out = sendOne(move(7, -7));
        QCOMPARE(out.mi.dx, 7);
        QCOMPARE(out.mi.dy, -7);
        set(AppProperty::systemApiXY, QStringLiteral("2"));
        QCOMPARE(sendOne(move(7, 0)).mi.dx, 14);
    }

    void onlyRelativeMovesAreScaled()
    {
        set(AppProperty::systemApiXY, 2.0);
        set(AppProperty::scenarioRand, 5.0);
        const INPUT records[] = {
            move(100, 200, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE),
            move(100, 200, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK),
            mouseFlags(MOUSEEVENTF_WHEEL, 120),
            mouseFlags(MOUSEEVENTF_LEFTDOWN),
            move(5, 5, MOUSEEVENTF_LEFTUP),
            key(30, KEYEVENTF_SCANCODE),
        };
        for (const INPUT& record : records) {
            const INPUT out = sendOne(record);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(&out), sizeof(INPUT)),
                     QByteArray(reinterpret_cast<const char*>(&record), sizeof(INPUT)));
        }
    }

    void hugeMovesAreClampedToTheRecordsRange()
    {
        set(AppProperty::systemApiXY, 4.0);
        const INPUT out = sendOne(move(2'000'000'000, -2'000'000'000));
        QCOMPARE(out.mi.dx, std::numeric_limits<LONG>::max());
        QCOMPARE(out.mi.dy, std::numeric_limits<LONG>::min());
        set(AppProperty::systemApiXY, 1.0);
        QCOMPARE(sendOne(move(3, 0)).mi.dx, 3); // no rest carried from the clamped move
    }

    void driverRouteSplitsLongMovesIntoPacedReports()
    {
        FakeHidApi hid;
        hid.attachVirtualMouse();
        set(AppProperty::controlMode, 1);
        LogCapture log;

        QCOMPARE(m_sender->send(move(300, 0)), UINT(1));

        QVERIFY(sent().empty());
        QCOMPARE(hid.opens, 1);
        QCOMPARE(hid.nonblocking, 1);
        QCOMPARE(hid.reports.size(), 3);
        QCOMPARE(hid.reports[0].bytes, report(0, 127, 0));
        QCOMPARE(hid.reports[1].bytes, report(0, 127, 0));
        QCOMPARE(hid.reports[2].bytes, report(0, 46, 0));
        for (int i = 1; i < hid.reports.size(); ++i)
            QVERIFY(hid.reports[i].sentAtNs - hid.reports[i - 1].sentAtNs >= 999'000);
        QCOMPARE(log.lines, (QStringList{kOpenedLine, kDriverLine}));

        // A move of nothing still sends one report; negative moves split the same way.
        hid.reports.clear();
        m_sender->send(move(0, 0));
        m_sender->send(move(-130, 5));
        QCOMPARE(hid.reports.size(), 3);
        QCOMPARE(hid.reports[0].bytes, report(0, 0, 0));
        QCOMPARE(hid.reports[1].bytes, report(0, -127, 5));
        QCOMPARE(hid.reports[2].bytes, report(0, -3, 0));
    }

    void driverRouteCarriesTheButtonsInEveryReport()
    {
        FakeHidApi hid;
        hid.attachVirtualMouse();
        set(AppProperty::controlMode, 1);
        m_sender->send(mouseFlags(MOUSEEVENTF_RIGHTDOWN));
        m_sender->send(move(5, 5));
        m_sender->send(mouseFlags(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MIDDLEDOWN));
        m_sender->send(
            mouseFlags(MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_MIDDLEUP));
        m_sender->send(mouseFlags(MOUSEEVENTF_LEFTUP));
        QCOMPARE(hid.reports.size(), 5);
        QCOMPARE(hid.reports[0].bytes, report(0x02, 0, 0));
        QCOMPARE(hid.reports[1].bytes, report(0x02, 5, 5));
        QCOMPARE(hid.reports[2].bytes, report(0x07, 0, 0));
        QCOMPARE(hid.reports[3].bytes, report(0x01, 0, 0));
        QCOMPARE(hid.reports[4].bytes, report(0x00, 0, 0));
        QVERIFY(sent().empty());
    }

    void refusedButtonReportLeavesNoButtonDown_data()
    {
        QTest::addColumn<DWORD>("down");
        QTest::addColumn<DWORD>("up");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("bit");
        QTest::addColumn<int>("refused");
        QTest::addColumn<QList<DWORD>>("systemFlags");

        const struct
        {
            const char* name;
            DWORD down, up;
            int button, bit;
        } buttons[] = {{"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, VK_LBUTTON, 0x01},
                       {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, VK_RBUTTON, 0x02},
                       {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, VK_MBUTTON, 0x04}};
        for (const auto& b : buttons) {
            // The first press goes by the system, so its release must too.
            QTest::addRow("%s, press refused", b.name)
                << b.down << b.up << b.button << b.bit << 0 << QList<DWORD>{b.down, b.up};
            // The device still holds the button: the system releases it, the next press goes
            // by the system too, and the device's own release lets it go.
            QTest::addRow("%s, release refused", b.name)
                << b.down << b.up << b.button << b.bit << 1 << QList<DWORD>{b.up, b.down};
        }
    }

    void refusedButtonReportLeavesNoButtonDown()
    {
        QFETCH(DWORD, down);
        QFETCH(DWORD, up);
        QFETCH(int, button);
        QFETCH(int, bit);
        QFETCH(int, refused);
        QFETCH(QList<DWORD>, systemFlags);

        FakeHidApi hid;
        hid.attachVirtualMouse();
        hid.desktop = &m_desktop;
        hid.failReport = refused;
        set(AppProperty::controlMode, 1);

        // Two clicks; after each press and each release the desktop holds the button as sent.
        QList<DWORD> seenBySystem;
        for (int i = 0; i < 4; ++i) {
            const bool press = i % 2 == 0;
            QCOMPARE(m_sender->send(mouseFlags(press ? down : up)), UINT(1));
            QCOMPARE(bool(m_desktop.getAsyncKeyState(button) & 0x8000), press);
            for (const INPUT& record : sent())
                seenBySystem << record.mi.dwFlags;
        }
        QCOMPARE(seenBySystem, systemFlags);
        // The device takes one press and one release, whichever was refused.
        QCOMPARE(hid.reports.size(), 2);
        QCOMPARE(hid.reports[0].bytes, report(static_cast<unsigned char>(bit), 0, 0));
        QCOMPARE(hid.reports[1].bytes, report(0, 0, 0));
    }

    void driverRouteTurnsAbsoluteTargetsIntoMoves()
    {
        FakeHidApi hid;
        hid.attachVirtualMouse();
        set(AppProperty::controlMode, 1);
        m_desktop.setScreens({{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}});
        m_desktop.setCursorPos({100, 100});

        m_sender->send(move(32785, 32798, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE)); // (960, 540)
        QCOMPARE(hid.reports.size(), 7);
        int x = 0, y = 0;
        for (const FakeHidApi::Report& r : hid.reports) {
            x += static_cast<signed char>(r.bytes[3]);
            y += static_cast<signed char>(r.bytes[4]);
        }
        QCOMPARE(x, 860);
        QCOMPARE(y, 440);

        hid.reports.clear();
        m_sender->send(move(
            0, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK)); // (-1280, 0)
        x = 0;
        for (const FakeHidApi::Report& r : hid.reports)
            x += static_cast<signed char>(r.bytes[3]);
        QCOMPARE(x, -1380);
    }

    void recordsTheDeviceCannotCarryGoByTheSystem()
    {
        FakeHidApi hid;
        hid.attachVirtualMouse();
        set(AppProperty::controlMode, 1);
        LogCapture log;
        const INPUT wheel = mouseFlags(MOUSEEVENTF_WHEEL, 120);
        const INPUT side = mouseFlags(MOUSEEVENTF_XDOWN, XBUTTON1);
        const INPUT typed = key('a', KEYEVENTF_UNICODE);
        // A report holds buttons, not events: a press and release in one record is a click.
        const INPUT click = mouseFlags(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
        for (const INPUT& record : {wheel, side, typed, click})
            QCOMPARE(sendOne(record).type, record.type);
        QVERIFY(hid.reports.isEmpty());
        QCOMPARE(log.lines,
                 (QStringList{kOpenedLine, kSystemLine, kSystemLine, kSystemLine, kSystemLine}));

        // A refused report sends the whole record again through the system.
        hid.failReport = 1;
        log.lines.clear();
        const INPUT out = sendOne(move(200, 0));
        QCOMPARE(out.mi.dx, 200);
        QCOMPARE(hid.reports.size(), 1);
        QCOMPARE(log.lines, QStringList{kSystemLine});
    }

    void missingDeviceIsLookedForOnEveryRecord()
    {
        FakeHidApi hid;
        set(AppProperty::controlMode, 1);
        LogCapture log;
        sendOne(move(1, 1));
        sendOne(mouseFlags(MOUSEEVENTF_LEFTDOWN));
        QCOMPARE(log.lines, (QStringList{kNotFoundLine, kSystemLine, kNotFoundLine, kSystemLine}));
        QCOMPARE(hid.inits, 1);

        // Once the device shows up, the next record finds it.
        hid.attachVirtualMouse();
        m_sender->send(move(1, 1));
        QCOMPARE(hid.opens, 1);
        QCOMPARE(hid.reports.size(), 1);
    }

    void closingTheDeviceShutsHidDownUntilTheNextRecord()
    {
        FakeHidApi hid;
        hid.attachVirtualMouse();
        set(AppProperty::controlMode, 1);
        m_sender->send(move(1, 1));
        m_sender->virtualMouse().close();
        QCOMPARE(hid.closes, 1);
        QCOMPARE(hid.exits, 1);
        m_sender->virtualMouse().close();
        QCOMPARE(hid.closes, 1);
        m_sender->send(move(1, 1));
        QCOMPARE(hid.opens, 2);
        QCOMPARE(hid.inits, 2);
        m_sender->virtualMouse().close();
    }

    void driverPresenceIsTestedWithoutOpening()
    {
        FakeHidApi hid;
        QVERIFY(!isVirtualMouseDriverPresent());
        hid.devices = {{"/dev/x", std::wstring(L"tetherscript virtual mouse rel")}};
        QVERIFY(!isVirtualMouseDriverPresent()); // the product name is matched exactly
        hid.attachVirtualMouse();
        QVERIFY(isVirtualMouseDriverPresent());
        QCOMPARE(hid.opens, 0);
    }
};

CLAVITOR_TEST(InputSenderTest);
#include "InputSenderTest.moc"
