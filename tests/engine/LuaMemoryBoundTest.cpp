#include "TestRegistry.h"

#include "engine/LuaMemoryBound.h"

#include <QTest>

// The allocator of a scenario's state: growth past the limit is refused and remembered, a
// block that shrinks or is freed never is.
class LuaMemoryBoundTest : public QObject
{
    Q_OBJECT

private slots:
    void growthPastTheLimitIsRefused()
    {
        LuaMemoryBound bound(1000);
        void* block = LuaMemoryBound::allocate(&bound, nullptr, 0, 600);
        QVERIFY(block);
        QVERIFY(!LuaMemoryBound::allocate(&bound, block, 600, 1001));
        QVERIFY(bound.reached());
        QCOMPARE(bound.used(), std::size_t{600}); // the refused block is kept as it was

        // A lowered limit refuses any growth, however small, but lets the block shrink.
        bound.setLimit(100);
        QVERIFY(!LuaMemoryBound::allocate(&bound, nullptr, 0, 1));
        block = LuaMemoryBound::allocate(&bound, block, 600, 50);
        QVERIFY(block);
        QCOMPARE(bound.used(), std::size_t{50});
        QVERIFY(!LuaMemoryBound::allocate(&bound, block, 50, 0));
        QCOMPARE(bound.used(), std::size_t{0});

        bound.reset();
        QVERIFY(!bound.reached());
    }
};

CLAVITOR_TEST(LuaMemoryBoundTest);
#include "LuaMemoryBoundTest.moc"
