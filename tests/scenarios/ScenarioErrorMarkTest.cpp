#include "ScenarioScripts.h"
#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "engine/ScriptsModel.h"
#include "overlay/ScenarioErrorNotice.h"
#include "scenarios/SingleScriptWidget.h"

#include <QTest>

// A scenario whose run failed shows it on its row and, for a player in a full-screen game, on
// the overlay.
class ScenarioErrorMarkTest : public QObject
{
    Q_OBJECT

private slots:
    void theMarkStaysUntilTheFileChangesOrTheScenarioRunsClean_data()
    {
        QTest::addColumn<bool>("fileChanges"); // else activated again, and without error
        QTest::newRow("the file changes") << true;
        QTest::newRow("the scenario runs clean") << false;
    }

    void theMarkStaysUntilTheFileChangesOrTheScenarioRunsClean()
    {
        QFETCH(bool, fileChanges);
        PageFixture fixture;
        QTemporaryDir dir;
        const QString path = writeScript(dir, QStringLiteral("aim.lua"),
                                         "function OnEvent(event)\n"
                                         "  if event == 'MOUSE_BUTTON_PRESSED' then\n"
                                         "    local speed = nil + 1\n"
                                         "  end\n"
                                         "end\n");
        const ScenarioErrorNotice notice;
        ScriptsModel model(nullptr, dir.path());
        SingleScriptWidget row;
        SingleScriptWidget otherRow;
        row.setPath(path);
        otherRow.setPath(writeScript(dir, QStringLiteral("other.lua"), kListeningScript));

        model.executeLua(path);
        QCOMPARE(row.shownError(), QString());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Ошибка Lua в OnEvent: "));
        model.rigthMouseButtonStateChanged(true);
        QVERIFY2(row.shownError().startsWith(
                     QStringLiteral("Ошибка Lua в OnEvent: %1:3: attempt to perform arithmetic")
                         .arg(path)),
                 qPrintable(row.shownError()));
        QCOMPARE(otherRow.shownError(), QString());
        QCOMPARE(fixture.overlay.notice, QStringLiteral("Ошибка в aim: строка 3"));

        // Another row showing the same file shows the mark from the start.
        SingleScriptWidget sameFile;
        sameFile.setPath(path);
        QCOMPARE(sameFile.shownError(), row.shownError());

        if (fileChanges)
            writeScript(dir, QStringLiteral("aim.lua"), kListeningScript);
        else
            model.executeLua(path);
        QTRY_COMPARE(row.shownError(), QString());
        model.deactivateScript();
    }
};

CLAVITOR_TEST(ScenarioErrorMarkTest);
#include "ScenarioErrorMarkTest.moc"
