#include "TestRegistry.h"

#include "platform/simulated/SimulatedPlatform.h"

#include <QTest>

using platform::SimulatedPlatform;

namespace {

INPUT mouseRecord(LONG dx, LONG dy, DWORD flags, DWORD mouseData = 0)
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = dx;
    record.mi.dy = dy;
    record.mi.mouseData = mouseData;
    record.mi.dwFlags = flags;
    return record;
}

INPUT keyRecord(WORD virtualKey, WORD scanCode, DWORD flags)
{
    INPUT record{};
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = virtualKey;
    record.ki.wScan = scanCode;
    record.ki.dwFlags = flags;
    return record;
}

POINT cursorAfter(SimulatedPlatform& desktop, const INPUT& record)
{
    desktop.sendInput(1, &record, sizeof(INPUT));
    POINT point{};
    desktop.getCursorPos(point);
    return point;
}

bool isDown(SimulatedPlatform& desktop, int virtualKey)
{
    return desktop.getAsyncKeyState(virtualKey) & 0x8000;
}

} // namespace

class SimulatedPlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void relativeMovesOnOneScreenStopAtItsEdges()
    {
        SimulatedPlatform desktop;
        desktop.setCursorPos({100, 100});
        POINT p = cursorAfter(desktop, mouseRecord(3, -2, MOUSEEVENTF_MOVE));
        QCOMPARE(p.x, 103);
        QCOMPARE(p.y, 98);
        p = cursorAfter(desktop, mouseRecord(-5000, 99999, MOUSEEVENTF_MOVE));
        QCOMPARE(p.x, 0);
        QCOMPARE(p.y, 1079);
        p = cursorAfter(desktop, mouseRecord(0x7FFFFFFF, -0x7FFFFFFF, MOUSEEVENTF_MOVE));
        QCOMPARE(p.x, 1919);
        QCOMPARE(p.y, 0);
    }

    void absoluteMovesSpanThePrimaryScreen()
    {
        SimulatedPlatform desktop;
        const DWORD absolute = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        POINT p = cursorAfter(desktop, mouseRecord(32785, 32798, absolute));
        QCOMPARE(p.x, 960);
        QCOMPARE(p.y, 540);
        p = cursorAfter(desktop, mouseRecord(0, 65535, absolute));
        QCOMPARE(p.x, 0);
        QCOMPARE(p.y, 1079);
        p = cursorAfter(desktop, mouseRecord(65535, 0, absolute));
        QCOMPARE(p.x, 1919);
        QCOMPARE(p.y, 0);
    }

    void twoScreensMakeOneVirtualDesktop()
    {
        SimulatedPlatform desktop;
        // A second, smaller screen to the left of the primary one.
        desktop.setScreens({{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}});
        QCOMPARE(desktop.getSystemMetrics(SM_CXSCREEN), 1920);
        QCOMPARE(desktop.getSystemMetrics(SM_CYSCREEN), 1080);
        QCOMPARE(desktop.getSystemMetrics(SM_XVIRTUALSCREEN), -1280);
        QCOMPARE(desktop.getSystemMetrics(SM_YVIRTUALSCREEN), 0);
        QCOMPARE(desktop.getSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
        QCOMPARE(desktop.getSystemMetrics(SM_CYVIRTUALSCREEN), 1080);
        QCOMPARE(desktop.getSystemMetrics(SM_CMONITORS), 2);

        // Absolute moves without the virtual-desk flag still span the primary screen only.
        POINT p = cursorAfter(desktop, mouseRecord(0, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE));
        QCOMPARE(p.x, 0);
        QCOMPARE(p.y, 0);
        const DWORD virtualDesk = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        p = cursorAfter(desktop, mouseRecord(0, 0, virtualDesk));
        QCOMPARE(p.x, -1280);
        QCOMPARE(p.y, 0);
        p = cursorAfter(desktop, mouseRecord(65535, 65535, virtualDesk));
        QCOMPARE(p.x, 1919);
        QCOMPARE(p.y, 1079);

        // Relative moves cross between the screens, and stop where the smaller one ends.
        desktop.setCursorPos({10, 1000});
        p = cursorAfter(desktop, mouseRecord(-110, 0, MOUSEEVENTF_MOVE));
        QCOMPARE(p.x, -100);
        QCOMPARE(p.y, 1000);
        p = cursorAfter(desktop, mouseRecord(0, 50, MOUSEEVENTF_MOVE));
        QCOMPARE(p.x, -100);
        QCOMPARE(p.y, 1023);

        // Removing the screen the cursor is on brings the cursor back to the remaining one.
        desktop.setScreens({{0, 0, 1920, 1080}});
        desktop.getCursorPos(p);
        QCOMPARE(p.x, 0);
        QCOMPARE(p.y, 1023);

        // However far off the screens a move would go, the nearest point is found.
        desktop.setScreens({{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}});
        desktop.setCursorPos({0, 0});
        p = cursorAfter(desktop, mouseRecord(-0x7FFFFFFF - 1, -0x7FFFFFFF - 1, MOUSEEVENTF_MOVE));
        QCOMPARE(p.x, -1280);
        QCOMPARE(p.y, 0);
    }

    void buttonRecordsChangeTheButtonState()
    {
        SimulatedPlatform desktop;
        const std::initializer_list<std::tuple<DWORD, DWORD, int>> buttons = {
            {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, VK_LBUTTON},
            {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, VK_RBUTTON},
            {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, VK_MBUTTON},
        };
        for (const auto& [down, up, key] : buttons) {
            const INPUT press = mouseRecord(0, 0, down);
            desktop.sendInput(1, &press, sizeof(INPUT));
            QVERIFY(isDown(desktop, key));
            QVERIFY(desktop.getKeyState(key) & 0x8000);
            const INPUT release = mouseRecord(0, 0, up);
            desktop.sendInput(1, &release, sizeof(INPUT));
            QVERIFY(!isDown(desktop, key));
        }
        const INPUT sideDown = mouseRecord(0, 0, MOUSEEVENTF_XDOWN, XBUTTON2);
        desktop.sendInput(1, &sideDown, sizeof(INPUT));
        QVERIFY(isDown(desktop, VK_XBUTTON2));
        QVERIFY(!isDown(desktop, VK_XBUTTON1));

        // A record with a move and a press does both.
        desktop.setCursorPos({5, 5});
        const POINT p = cursorAfter(desktop, mouseRecord(1, 1, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN));
        QCOMPARE(p.x, 6);
        QVERIFY(isDown(desktop, VK_LBUTTON));
    }

    void keysModifiersAndLocks()
    {
        SimulatedPlatform desktop;
        // Caps Lock toggles on each press, not on the release.
        desktop.setKeyDown(VK_CAPITAL, true);
        QCOMPARE(desktop.getKeyState(VK_CAPITAL) & 1, 1);
        desktop.setKeyDown(VK_CAPITAL, false);
        QCOMPARE(desktop.getKeyState(VK_CAPITAL), SHORT(1));
        const INPUT capsByScanCode[] = {keyRecord(0, 0x3A, KEYEVENTF_SCANCODE),
                                        keyRecord(0, 0x3A, KEYEVENTF_SCANCODE | KEYEVENTF_KEYUP)};
        QCOMPARE(desktop.sendInput(2, capsByScanCode, sizeof(INPUT)), UINT(2));
        QCOMPARE(desktop.getKeyState(VK_CAPITAL), SHORT(0));
        desktop.setKeyToggled(VK_NUMLOCK, true);
        QCOMPARE(desktop.getKeyState(VK_NUMLOCK), SHORT(1));

        // Left and right keys make up the generic modifier.
        const INPUT rightCtrl = keyRecord(VK_RCONTROL, 0, 0);
        desktop.sendInput(1, &rightCtrl, sizeof(INPUT));
        QVERIFY(isDown(desktop, VK_CONTROL));
        const INPUT leftShift = keyRecord(0, 0x2A, KEYEVENTF_SCANCODE);
        desktop.sendInput(1, &leftShift, sizeof(INPUT));
        QVERIFY(isDown(desktop, VK_LSHIFT));
        QVERIFY(isDown(desktop, VK_SHIFT));
        const INPUT rightCtrlUp = keyRecord(VK_RCONTROL, 0, KEYEVENTF_KEYUP);
        desktop.sendInput(1, &rightCtrlUp, sizeof(INPUT));
        QVERIFY(!isDown(desktop, VK_CONTROL));

        // The last entry of the scan-code table, and a typed character that is no key.
        const INPUT f12 = keyRecord(0, 0x58, KEYEVENTF_SCANCODE);
        desktop.sendInput(1, &f12, sizeof(INPUT));
        QVERIFY(isDown(desktop, VK_F12));
        const INPUT typedA = keyRecord(0, 'A', KEYEVENTF_UNICODE);
        desktop.sendInput(1, &typedA, sizeof(INPUT));
        QVERIFY(!isDown(desktop, 'A'));
    }

    void everyRecordIsKeptInOrder()
    {
        SimulatedPlatform desktop;
        const INPUT records[] = {mouseRecord(1, 2, MOUSEEVENTF_MOVE),
                                 keyRecord(0, 30, KEYEVENTF_SCANCODE),
                                 mouseRecord(0, 0, MOUSEEVENTF_WHEEL, 120)};
        QCOMPARE(desktop.sendInput(3, records, sizeof(INPUT)), UINT(3));
        QCOMPARE(desktop.sendInput(1, records, sizeof(INPUT) - 1), UINT(0));

        const std::vector<INPUT> sent = desktop.takeSentRecords();
        QCOMPARE(sent.size(), size_t(3));
        for (size_t i = 0; i < sent.size(); ++i)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(&sent[i]), sizeof(INPUT)),
                     QByteArray(reinterpret_cast<const char*>(&records[i]), sizeof(INPUT)));
        QVERIFY(desktop.takeSentRecords().empty());
    }

    void performanceCounterAdvancesAtItsFrequency()
    {
        SimulatedPlatform desktop;
        QVERIFY(desktop.queryPerformanceFrequency() > 0);
        const LONGLONG start = desktop.queryPerformanceCounter();
        QTest::qSleep(5);
        const LONGLONG elapsed = desktop.queryPerformanceCounter() - start;
        QVERIFY(elapsed >= desktop.queryPerformanceFrequency() / 1000 * 5);
    }

    void testsCanReplaceTheCurrentBackend()
    {
        platform::Platform& fallback = platform::Platform::current();
        SimulatedPlatform replacement;
        platform::Platform::setCurrent(&replacement);
        QCOMPARE(&platform::Platform::current(), &replacement);
        platform::Platform::setCurrent(nullptr);
        QCOMPARE(&platform::Platform::current(), &fallback);
    }
};

CLAVITOR_TEST(SimulatedPlatformTest);
#include "SimulatedPlatformTest.moc"
