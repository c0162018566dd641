#include "TestRegistry.h"

#include "ui/appearance/ThemeTokens.h"

#include <QTest>

// Widgets that paint themselves take the colours the theme's stylesheet gives the rest, as
// the token files write them (values copied here from resources/css/*.tokens).
class ThemeTokensTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheThemesTokens_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("dark background") << "default" << "background" << QColor(23, 23, 23);
        QTest::newRow("light background") << "light" << "background" << QColor(247, 247, 250);
        QTest::newRow("with alpha") << "default" << "destructive-soft" << QColor(239, 68, 68, 40);
        QTest::newRow("code colour") << "light" << "code-keyword" << QColor(124, 58, 237);
        QTest::newRow("unknown theme reads the dark one") << "sepia" << "background"
                                                          << QColor(23, 23, 23);
        QTest::newRow("no such token") << "default" << "no-such-token" << QColor(Qt::cyan);
    }
    void readsTheThemesTokens()
    {
        QFETCH(QString, theme);
        QFETCH(QString, token);
        QFETCH(QColor, colour);
        QCOMPARE(ThemeTokens(theme).colour(token, Qt::cyan), colour);
    }
};

CLAVITOR_TEST(ThemeTokensTest);
#include "ThemeTokensTest.moc"
