#include "TestRegistry.h"

#include "profiles/ArchiveBudget.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(ArchiveBudget::Bound)

// What the import's byte count makes of a file's data that no archive the tests write can
// hold: data past its declared size, holes and sizes far past every bound.
class ArchiveBudgetTest : public QObject
{
    Q_OBJECT

private slots:
    void fileData_data()
    {
        constexpr qint64 kHuge = std::numeric_limits<qint64>::max();
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<ArchiveBudget::Bound>("bound");
        QTest::newRow("data up to its declared size")
            << 1024LL << 512LL << 512LL << ArchiveBudget::Bound::None;
        QTest::newRow("data past its declared size")
            << 1024LL << 0LL << 1025LL << ArchiveBudget::Bound::DeclaredSize;
        QTest::newRow("a hole past its declared size")
            << 1024LL << kHuge - 10 << 100LL << ArchiveBudget::Bound::DeclaredSize;
        QTest::newRow("undeclared data at a far offset")
            << -1LL << kHuge - 10 << 100LL << ArchiveBudget::Bound::FileSize;
        QTest::newRow("a declared size past every bound")
            << kHuge << 0LL << 0LL << ArchiveBudget::Bound::FileSize;
    }
    void fileData()
    {
        QFETCH(qint64, declared);
        QFETCH(qint64, offset);
        QFETCH(qint64, length);
        QFETCH(ArchiveBudget::Bound, bound);
        ArchiveBudget budget;
        ArchiveBudget::Bound broken = budget.beginFile(declared);
        if (broken == ArchiveBudget::Bound::None)
            broken = budget.addData(offset, length);
        QCOMPARE(broken, bound);
    }
};

CLAVITOR_TEST(ArchiveBudgetTest);
#include "ArchiveBudgetTest.moc"
