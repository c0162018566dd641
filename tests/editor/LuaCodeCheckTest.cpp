#include "TestRegistry.h"

#include "editor/LuaCodeCheck.h"
#include "editor/LuaCompletion.h"
#include "engine/LuaApi.h"

#include <QTest>

// The check of a text as it is typed: syntax errors with their line, and the globals a
// scenario reads that nothing gives it.
class LuaCodeCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void findsTheSyntaxErrorAndItsLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("clean") << "function OnEvent(event, arg)\nend\n" << 0 << "";
        QTest::newRow("missing end") << "function OnEvent(event, arg)\n  Sleep(1)\n" << 3
                                     << "'end' expected (to close 'function' at line 1) near "
                                        "'<eof>'";
        QTest::newRow("bad assignment") << "local a = 1\nb c = 2\n" << 2
                                        << "'=' expected near 'c'";
        QTest::newRow("unfinished string") << "x = 1\n\nOutputLogMessage(\"hi)\n" << 3
                                           << "unfinished string near '\"hi)'";
        QTest::newRow("fixed again") << "local a = 1\nb = 2\n" << 0 << "";
    }
    void findsTheSyntaxErrorAndItsLine()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        const LuaCodeCheck::Result result = LuaCodeCheck::check(text);
        QCOMPARE(result.error.has_value(), line != 0);
        if (result.error) {
            QCOMPARE(result.error->line, line);
            QCOMPARE(result.error->message, message);
        }
    }

    void namesGlobalsThatNothingGives_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("unknown"); // "name:line"
        QTest::newRow("mistyped API name")
            << "function OnEvent(event, arg)\n  MoveMouseRelativ(0, 2)\nend\n"
            << QStringList{"MoveMouseRelativ:2"};
        QTest::newRow("API, aliases, safe library and events' arguments")
            << "function OnEvent(event, arg)\n  Sleepms(1)\n  local t = math.floor(os.clock())\n"
               "  OutputLogMessage(string.format('%d', t))\nend\n"
            << QStringList{};
        QTest::newRow("assigned anywhere, read before") << "function f() return speed end\nspeed = 2\n"
                                                        << QStringList{};
        QTest::newRow("locals, parameters and upvalues are no globals")
            << "local n = 1\nlocal function g(a) return a + n end\nfor i = 1, 2 do g(i) end\n"
            << QStringList{};
        QTest::newRow("field names are no globals") << "local t = {}\nt.speedy = 1\nt:go()\n"
                                                    << QStringList{};
        QTest::newRow("nested functions, each line once")
            << "function OnEvent()\n  local function inner()\n    return foo + foo\n  end\n"
               "  return inner() + bar\nend\n"
            << QStringList{"foo:3", "bar:5"};
        QTest::newRow("read in the chunk itself") << "print(speed)\nprint(speed)\n"
                                                  << QStringList{"speed:1", "speed:2"};
    }
    void namesGlobalsThatNothingGives()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, unknown);
        const LuaCodeCheck::Result result = LuaCodeCheck::check(text);
        QVERIFY(!result.error);
        QStringList found;
        for (const LuaCodeCheck::UnknownName& name : result.unknownNames)
            found << QStringLiteral("%1:%2").arg(name.name).arg(name.line);
        QCOMPARE(found, unknown);
    }

    // Completion offers every function and alias of the API with the arguments of the
    // function it stands for, and the events.
    void completionOffersTheApiTable_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("function") << "MoveMouseRelative(dx, dy)";
        QTest::newRow("alias") << "Sleepms(ms)";
        QTest::newRow("another alias") << "Delay(ms)";
        QTest::newRow("event") << "MOUSE_BUTTON_PRESSED";
    }
    void completionOffersTheApiTable()
    {
        QFETCH(QString, entry);
        const QStringList entries = LuaCompletion::entries();
        QCOMPARE(entries.count(entry), 1);
        QCOMPARE(entries.size(), LuaApi::functions().size() + LuaApi::events().size());
    }
};

CLAVITOR_TEST(LuaCodeCheckTest);
#include "LuaCodeCheckTest.moc"
