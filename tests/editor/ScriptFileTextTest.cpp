#include "TestRegistry.h"

#include "editor/ScriptFileText.h"

#include <QTest>

// A script file's encoding and line endings survive an edit: the bytes written back are the
// file's own, written out here by hand.
class ScriptFileTextTest : public QObject
{
    Q_OBJECT

private slots:
    void writesTheTextBackAsTheFileHadIt_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");       // as the editor shows it
        QTest::addColumn<QString>("edited");     // after a line was typed
        QTest::addColumn<QByteArray>("written");
        // "-- Отдача" in Windows-1251, CR LF.
        QTest::newRow("cp1251, CRLF")
            << QByteArray("-- \xCE\xF2\xE4\xE0\xF7\xE0\r\nSleep(1)\r\n")
            << QString::fromUtf8("-- Отдача\r\nSleep(1)\r\n")
            << QString::fromUtf8("-- Отдача\r\nSleep(1)\r\n-- ещё\n")
            << QByteArray("-- \xCE\xF2\xE4\xE0\xF7\xE0\r\nSleep(1)\r\n-- \xE5\xF9\xB8\r\n");
        QTest::newRow("cp1251, LF, its unassigned byte kept")
            << QByteArray("x = 1 -- \x98\xFF\n") << QString::fromUtf8("x = 1 -- \u0098я\n")
            << QString::fromUtf8("x = 1 -- \u0098я\ny = 2\n")
            << QByteArray("x = 1 -- \x98\xFF\ny = 2\n");
        QTest::newRow("UTF-8 with BOM, CRLF")
            << QByteArray("\xEF\xBB\xBF-- \xD1\x8F\r\n") << QString::fromUtf8("-- я\r\n")
            << QString::fromUtf8("-- я\r\nx = 1\n")
            << QByteArray("\xEF\xBB\xBF-- \xD1\x8F\r\nx = 1\r\n");
        QTest::newRow("UTF-8, LF") << QByteArray("-- \xD1\x8F\n") << QString::fromUtf8("-- я\n")
                                   << QString::fromUtf8("-- я\nx = 1\n")
                                   << QByteArray("-- \xD1\x8F\nx = 1\n");
    }
    void writesTheTextBackAsTheFileHadIt()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QFETCH(QString, edited);
        QFETCH(QByteArray, written);
        const ScriptFileText decoded = ScriptFileText::decode(file);
        QCOMPARE(decoded.text(), text);
        QCOMPARE(decoded.encode(text), std::optional<QByteArray>(file));
        QCOMPARE(decoded.encode(edited), std::optional<QByteArray>(written));
    }

    // A character Windows-1251 has no byte for cannot be written in it; UTF-8 can.
    void cp1251RefusesWhatItCannotHold()
    {
        const ScriptFileText decoded = ScriptFileText::decode("-- \xCE\r\n");
        QVERIFY(!decoded.encode(QString::fromUtf8("-- О ✓\r\n")));
        QCOMPARE(decoded.encodeUtf8(QString::fromUtf8("-- О ✓\n")),
                 QByteArray("-- \xD0\x9E \xE2\x9C\x93\r\n"));
    }
};

CLAVITOR_TEST(ScriptFileTextTest);
#include "ScriptFileTextTest.moc"
