#include "TestRegistry.h"

#include "hotkeys/ShortcutRegistry.h"

#include <QKeySequence>
#include <QTest>

namespace {

QKeySequence keys(const char* text)
{
    return QKeySequence(QString::fromLatin1(text));
}

} // namespace

class ShortcutRegistryTest : public QObject
{
    Q_OBJECT

private slots:
    void combinationHasOneOwnerAtATime()
    {
        ShortcutRegistry& registry = ShortcutRegistry::instance();
        QObject first;
        QObject second;
        QVERIFY(registry.claim(&first, keys("Ctrl+K"), QStringLiteral("сценарий \"aim\"")));

        QString conflict;
        QVERIFY(!registry.claim(&second, keys("ctrl+k"), QStringLiteral("second"), &conflict));
        QCOMPARE(conflict, QStringLiteral("сценарий \"aim\""));
        QString holder;
        QVERIFY(registry.isInUse(keys("Ctrl+K"), {}, &holder));
        QCOMPARE(holder, QStringLiteral("сценарий \"aim\""));
        QVERIFY(!registry.isInUse(keys("Ctrl+K"), {&first}));
        QVERIFY(!registry.isInUse(keys("Ctrl+J")));
        QVERIFY(!registry.isInUse(QKeySequence()));

        // The holder's own claim again only updates its text.
        QVERIFY(registry.claim(&first, keys("Ctrl+K"), QStringLiteral("renamed")));
        QVERIFY(registry.isInUse(keys("Ctrl+K"), {}, &holder));
        QCOMPARE(holder, QStringLiteral("renamed"));

        // A new combination replaces the owner's old one.
        QVERIFY(registry.claim(&first, keys("Ctrl+J"), QStringLiteral("renamed")));
        QVERIFY(!registry.isInUse(keys("Ctrl+K")));
        QVERIFY(registry.claim(&second, keys("Ctrl+K"), QStringLiteral("second")));
        QVERIFY(!registry.claim(&second, keys("Ctrl+J"), QStringLiteral("second"), &conflict));
        QCOMPARE(conflict, QStringLiteral("renamed"));
        QVERIFY(registry.isInUse(keys("Ctrl+K"))); // a refused claim keeps what it held

        // Texts that the system takes for one combination are one combination.
        QVERIFY(registry.claim(&first, keys("Ctrl+Return"), QStringLiteral("renamed")));
        QVERIFY(!registry.claim(&second, keys("Ctrl+Enter"), QStringLiteral("second"), &conflict));
        QCOMPARE(conflict, QStringLiteral("renamed"));
    }

    void releaseForgetsOnlyTheOwnersCombination()
    {
        ShortcutRegistry& registry = ShortcutRegistry::instance();
        QObject first;
        QObject second;
        QVERIFY(registry.claim(&first, keys("Alt+1"), QStringLiteral("first")));
        QVERIFY(registry.claim(&second, keys("Alt+2"), QStringLiteral("second")));

        registry.release(nullptr);
        QVERIFY(!registry.claim(nullptr, keys("Alt+3"), QStringLiteral("nobody")));
        QVERIFY(!registry.isInUse(keys("Alt+3")));
        registry.release(&first);
        QVERIFY(!registry.isInUse(keys("Alt+1")));
        QVERIFY(registry.isInUse(keys("Alt+2")));

        // Claiming nothing is giving up.
        QVERIFY(registry.claim(&second, QKeySequence(), QStringLiteral("second")));
        QVERIFY(!registry.isInUse(keys("Alt+2")));
    }

    void destroyedOwnersHoldNothing()
    {
        ShortcutRegistry& registry = ShortcutRegistry::instance();
        auto* gone = new QObject;
        QVERIFY(registry.claim(gone, keys("Shift+F4"), QStringLiteral("gone")));
        QVERIFY(registry.claim(gone, keys("Shift+F4"), QStringLiteral("gone again")));
        delete gone;

        QVERIFY(!registry.isInUse(keys("Shift+F4")));
        QObject next;
        QVERIFY(registry.claim(&next, keys("Shift+F4"), QStringLiteral("next")));
        QString holder;
        QVERIFY(registry.isInUse(keys("Shift+F4"), {}, &holder));
        QCOMPARE(holder, QStringLiteral("next"));
    }
};

CLAVITOR_TEST(ShortcutRegistryTest);
#include "ShortcutRegistryTest.moc"
