#include "TestRegistry.h"

#include "platform/WinApi.h"
#include "recorder/RecordingHotkeys.h"

#include <QTest>

using Events = QList<RecordedEvent>;

namespace {

using E = RecordedEvent;

Events keys(const QList<std::pair<int, bool>>& presses)
{
    Events events;
    for (const auto& [virtualKey, pressed] : presses)
        events << E::key(events.size() * 1000, virtualKey, virtualKey, pressed);
    return events;
}

QString describe(const Events& events)
{
    QStringList parts;
    for (const RecordedEvent& event : events)
        parts << QStringLiteral("%1:%2").arg(int(event.kind)).arg(event.detail, 0, 16);
    return parts.join(u' ');
}

} // namespace

// The program's hotkeys pressed while recording are taken out of the recording; the keys
// around them stay.
class RecordingHotkeysTest : public QObject
{
    Q_OBJECT

private slots:
    void takesOutThePressesThatFormAHotkey_data()
    {
        QTest::addColumn<Events>("events");
        QTest::addColumn<Events>("kept");

        const int alt = VK_LMENU, ctrl = VK_LCONTROL;
        QTest::newRow("a hotkey, its key repeating")
            << keys({{alt, true}, {'1', true}, {'1', true}, {'1', false}, {alt, false}})
            << Events{};
        QTest::newRow("the modifier let go first")
            << keys({{alt, true}, {'1', true}, {alt, false}, {'1', false}}) << Events{};
        QTest::newRow("a hotkey without modifiers, between other keys")
            << keys({{'A', true}, {'A', false}, {VK_F8, true}, {VK_F8, false}, {'B', true}})
            << keys({{'A', true}, {'A', false}, {'B', true}});
        QTest::newRow("the key alone is no hotkey")
            << keys({{'1', true}, {'1', false}}) << keys({{'1', true}, {'1', false}});
        QTest::newRow("other modifiers held make no hotkey") << keys({{ctrl, true},
                                                                      {alt, true},
                                                                      {'1', true},
                                                                      {'1', false},
                                                                      {alt, false},
                                                                      {ctrl, false}})
                                                             << keys({{ctrl, true},
                                                                      {alt, true},
                                                                      {'1', true},
                                                                      {'1', false},
                                                                      {alt, false},
                                                                      {ctrl, false}});
        QTest::newRow("a modifier held for another key too stays")
            << keys({{alt, true},
                     {'1', true},
                     {'1', false},
                     {VK_TAB, true},
                     {VK_TAB, false},
                     {alt, false}})
            << keys({{alt, true}, {VK_TAB, true}, {VK_TAB, false}, {alt, false}});
        QTest::newRow("a modifier held for a click too stays")
            << Events{E::key(0, alt, alt, true),    E::button(1000, 1, true),
                      E::key(2000, '1', '1', true), E::key(3000, '1', '1', false),
                      E::button(4000, 1, false),    E::key(5000, alt, alt, false)}
            << Events{E::key(0, alt, alt, true), E::button(1000, 1, true),
                      E::button(2000, 1, false), E::key(3000, alt, alt, false)};
        QTest::newRow("a modifier still held at the stop")
            << keys({{alt, true}, {'1', true}, {'1', false}}) << Events{};
    }
    void takesOutThePressesThatFormAHotkey()
    {
        QFETCH(Events, events);
        QFETCH(Events, kept);
        const RecordingHotkeys hotkeys({{MOD_ALT, '1'}, {MOD_NOREPEAT, VK_F8}});
        hotkeys.strip(events);
        QCOMPARE(describe(events), describe(kept));
    }
};

CLAVITOR_TEST(RecordingHotkeysTest);
#include "RecordingHotkeysTest.moc"
