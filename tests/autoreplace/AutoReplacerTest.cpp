#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "autoreplace/AutoReplacer.h"

// One rule or a table on one script text: the parameter pass with its boundaries, the literal
// pass, and the bytes no rule replaces.
class AutoReplacerTest : public QObject
{
    Q_OBJECT

private slots:
    void rewritesTheText_data()
    {
        QTest::addColumn<AutoReplaceRule>("rule");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("count");

        const AutoReplaceRule sens{"", "", "sens", "1.5", "2.0"};
        const auto row = [&](const char* name, const QByteArray& text, const QByteArray& expected,
                             int count) {
            QTest::newRow(name) << sens << text << expected << count;
        };
        row("spacing kept", "sens = 1.5\nsens\t=  1.5,x\nsens=1.5",
            "sens = 2.0\nsens\t=  2.0,x\nsens=2.0", 3);
        row("white space across lines", "sens\r\n=\r\n1.5\r\n", "sens\r\n=\r\n2.0\r\n", 1);
        row("longer value", "sens = 1.55", "sens = 1.55", 0);
        row("longer value glued: literal pass", "sens=1.55", "sens=2.05", 1);
        row("longer name", "mysens = 1.5; sens2 = 1.5; sensible = 1.5",
            "mysens = 1.5; sens2 = 1.5; sensible = 1.5", 0);
        row("longer name glued: literal pass", "mysens=1.5", "mysens=2.0", 1);
        row("value goes on", "sens = 1.5.1 sens = 1.5_a sens = 1.5-2 sens = 1.5e3 sens = 1.5ж",
            "sens = 1.5.1 sens = 1.5_a sens = 1.5-2 sens = 1.5e3 sens = 1.5ж", 0);
        row("value ends", "f(sens = 1.5) t[sens = 1.5] -- sens = 1.5",
            "f(sens = 2.0) t[sens = 2.0] -- sens = 2.0", 3);
        row("not an assignment", "sens == 1.5 and sens > 1.5", "sens == 1.5 and sens > 1.5", 0);
        // A script saved in a Windows code page (Cyrillic comment in cp1251), with CRLF and a
        // stray byte: only the value changes.
        row("bytes that are not UTF-8",
            "-- \xCA\xEE\xEC\xEC\xE5\xED\xF2\xE0\xF0\xE8\xE9\r\nsens = 1.5 -- \xFF\xFE\r\n",
            "-- \xCA\xEE\xEC\xEC\xE5\xED\xF2\xE0\xF0\xE8\xE9\r\nsens = 2.0 -- \xFF\xFE\r\n", 1);

        const AutoReplaceRule cyrillic{"", "", "скорость", "10", "20"};
        QTest::newRow("letters of any script")
            << cyrillic << QByteArray("скорость = 10\nмаксскорость = 10\nскорость = 10й")
            << QByteArray("скорость = 20\nмаксскорость = 10\nскорость = 10й") << 1;
        QTest::newRow("no parameter: every occurrence, inside words too")
            << AutoReplaceRule{"", "", "", "ab", "X"} << QByteArray("ab cab abab a-b")
            << QByteArray("X cX XX a-b") << 4;
        QTest::newRow("blank search text") << AutoReplaceRule{"", "", "  ", " ", "X"}
                                           << QByteArray("a b") << QByteArray("a b") << 0;
    }
    void rewritesTheText()
    {
        QFETCH(AutoReplaceRule, rule);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QFETCH(int, count);
        QCOMPARE(AutoReplacer({rule}).apply(text), count);
        QCOMPARE(text, expected);
    }

    // A value that begins with the old one is written once, and the swapped pair restores the
    // original bytes.
    void rewritesEachAssignmentOnceAndUndoes_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("1 -> 1.2") << "1" << "1.2" << QByteArray("sens=1") << QByteArray("sens=1.2");
        QTest::newRow("0.5 -> 0.55")
            << "0.5" << "0.55" << QByteArray("sens=0.5") << QByteArray("sens=0.55");
        QTest::newRow("1 -> 10") << "1" << "10" << QByteArray("sens=1") << QByteArray("sens=10");
        QTest::newRow("blanks, and a glued longer value")
            << "1" << "1.2" << QByteArray("sens = 1\nsens=1\nsens=1x=sens=1")
            << QByteArray("sens = 1.2\nsens=1.2\nsens=1.2x=sens=1.2");
    }
    void rewritesEachAssignmentOnceAndUndoes()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        const QByteArray original = text;
        AutoReplacer({{"", "", "sens", from, to}}).apply(text);
        QCOMPARE(text, expected);
        AutoReplacer({{"", "", "sens", to, from}}).apply(text);
        QCOMPARE(text, original);
    }

    void rulesApplyInTableOrderAndCountEach()
    {
        const AutoReplacer replacer({{"", "", "a", "1", "2"}, {"", "", "", "a=2", "b=3"}});
        QByteArray text = "a = 1\na=1\n";
        QList<qsizetype> perRule;
        QCOMPARE(replacer.apply(text, &perRule), 3);
        QCOMPARE(text, "a = 2\nb=3\n");
        QCOMPARE(perRule, QList<qsizetype>({2, 1})); // "a=1" is an assignment too
    }
};

CLAVITOR_TEST(AutoReplacerTest);
#include "AutoReplacerTest.moc"
