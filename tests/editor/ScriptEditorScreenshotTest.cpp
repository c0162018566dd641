#include "TestRegistry.h"

#include "editor/ScriptEditor.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A recoil script with a name mistyped on line 9.
const QByteArray kScript = "-- Pull down while the left button is held.\n"
                           "EnablePrimaryMouseButtonEvents(true)\n"
                           "local pull = {4, 5, 6, 6, 7}\n"
                           "\n"
                           "function OnEvent(event, arg)\n"
                           "  if event == \"MOUSE_BUTTON_PRESSED\" and arg == 1 then\n"
                           "    for shot = 1, #pull do\n"
                           "      if not IsMouseButtonPressed(1) then break end\n"
                           "      MoveMouseRelativ(0, pull[shot])\n"
                           "      Sleep(90)\n"
                           "    end\n"
                           "  end\n"
                           "end\n";

} // namespace

// The editor with a warning under a mistyped name, in both themes, for the README when
// CLAVITOR_SCREENSHOT_DIR is set; the warning is there in both.
class ScriptEditorScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerEmbeddedFonts(); }

    void showsAWarningInBothThemes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void showsAWarningInBothThemes()
    {
        QFETCH(QString, theme);
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        QTemporaryDir dir;
        const QString path = dir.filePath("recoil.lua");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kScript) == kScript.size());
        file.close();
        ScriptEditor editor(path, kScript, {});
        editor.resize(760, 420);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.textEdit().setCursorPosition(8, 22);
        QCOMPARE(editor.unknownNameMarks(), QStringList{"MoveMouseRelativ:9"});

        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty()) {
            const QString name = theme == "light" ? "light" : "dark";
            QVERIFY(editor.grab().toImage().save(
                QDir(QString::fromLocal8Bit(directory)).filePath(QString("editor-%1.png").arg(name))));
        }
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme("default");
    }
};

CLAVITOR_TEST(ScriptEditorScreenshotTest);
#include "ScriptEditorScreenshotTest.moc"
