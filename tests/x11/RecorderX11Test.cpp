#include "TestRegistry.h"
#include "XdoTool.h"

#include "hooks/QGlobalMouseHook.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"
#include "recorder/Recorder.h"

#include <QGuiApplication>
#include <QTest>

#include <memory>

using platform::Platform;

namespace {

QString describe(const QList<RecordedEvent>& events)
{
    QStringList parts;
    for (const RecordedEvent& event : events)
        parts << QStringLiteral("%1:%2,%3").arg(int(event.kind)).arg(event.value).arg(event.detail);
    return parts.join(u' ');
}

} // namespace

// The recorder on a real X server: what xdotool does, as another client, reaches it through
// XInput2's raw events, in order, and the program's own input does not.
class RecorderX11Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_backend = platform::createPlatform("xcb");
        QVERIFY(dynamic_cast<platform::X11Platform*>(m_backend.get()));
        Platform::setCurrent(m_backend.get());
    }

    void cleanupTestCase()
    {
        QGlobalMouseHook::shutdown();
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void hearsXdotoolsInputInOrder()
    {
        using E = RecordedEvent;
        Recorder recorder;
        recorder.start(0);
        // The program's own relative move, key and click are not the user's.
        INPUT own[3]{};
        own[0].type = INPUT_MOUSE;
        own[0].mi.dx = 7;
        own[0].mi.dwFlags = MOUSEEVENTF_MOVE;
        own[1].type = INPUT_KEYBOARD;
        own[1].ki.wScan = 0x30; // B
        own[1].ki.dwFlags = KEYEVENTF_SCANCODE;
        own[2] = own[1];
        own[2].ki.dwFlags |= KEYEVENTF_KEYUP;
        Platform::current().sendInput(3, own, sizeof(INPUT));
        QVERIFY(xdotool({"mousemove_relative", "--", "10", "-4"}));
        QVERIFY(xdotool({"click", "3"}));
        QVERIFY(xdotool({"click", "5"}));
        QVERIFY(xdotool({"key", "a"}));
        const QList<RecordedEvent> expected{
            E::move(0, 10, -4), E::button(0, 3, true),      E::button(0, 3, false),
            E::wheel(0, -120),  E::key(0, 0x1E, 'A', true), E::key(0, 0x1E, 'A', false)};
        // The hook thread reads the server's reports as they come: give them time to arrive.
        QTest::qWait(500);
        const QList<RecordedEvent> events = recorder.stop();
        QCOMPARE(describe(events), describe(expected));
        for (qsizetype i = 1; i < events.size(); ++i)
            QVERIFY(events[i].timeUs >= events[i - 1].timeUs);
    }
};

CLAVITOR_TEST(RecorderX11Test);
#include "RecorderX11Test.moc"
