#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "editor/FindReplaceBar.h"
#include "editor/ScriptEditor.h"
#include "editor/ScriptEditors.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

// The editor window: the text checked as it is typed, saved as the file had it, and never
// dropped without asking.
class ScriptEditorTest : public QObject
{
    Q_OBJECT

private slots:
    // The marks follow the text as it is typed: a broken text is marked once it rests, the
    // fixed text clears them.
    void marksFollowTheTextAsItIsTyped_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<int>("errorLine");
        QTest::addColumn<QStringList>("unknownNames");
        QTest::addColumn<QString>("message");
        QTest::newRow("syntax error") << "Sleep(1)\nif x then\n" << 3 << QStringList{}
                                      << "Строка 3: 'end' expected (to close 'if' at line 2) "
                                         "near '<eof>'";
        QTest::newRow("mistyped name")
            << "function OnEvent()\n  MoveMouseRelativ(0, 2)\nend\n" << 0
            << QStringList{"MoveMouseRelativ:2"}
            << "Неизвестные имена: MoveMouseRelativ (строка 2)";
    }
    void marksFollowTheTextAsItIsTyped()
    {
        QFETCH(QString, broken);
        QFETCH(int, errorLine);
        QFETCH(QStringList, unknownNames);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "aim.lua", "function OnEvent()\nend\n");
        ScriptEditor editor(path, readFile(path), {});
        QCOMPARE(editor.checkMessage(), QString());

        editor.textEdit().setText(broken);
        QCOMPARE(editor.checkMessage(), QString()); // not before the text rests
        QTRY_COMPARE(editor.checkMessage(), message);
        QCOMPARE(editor.errorLine(), errorLine);
        QCOMPARE(editor.unknownNameMarks(), unknownNames);
        if (errorLine)
            QVERIFY(editor.textEdit().markersAtLine(errorLine - 1) != 0);

        editor.textEdit().setText(QStringLiteral("function OnEvent()\n  Sleep(1)\nend\n"));
        QTRY_COMPARE(editor.checkMessage(), QString());
        QCOMPARE(editor.errorLine(), 0);
        QCOMPARE(editor.unknownNameMarks(), QStringList());
        QCOMPARE(editor.textEdit().markersAtLine(errorLine ? errorLine - 1 : 0), 0u);
    }

    // Saving writes the file's own encoding and line endings; a character the file's code
    // page cannot hold is written in UTF-8 only when the user agrees.
    void savesAsTheFileWasStored()
    {
        ScriptedPrompter prompter;
        QTemporaryDir dir;
        const QString path = writeFile(dir, "aim.lua", "-- \xCE\xF2\xE4\xE0\xF7\xE0\r\n");
        ScriptEditor editor(path, readFile(path), {});
        QSignalSpy saved(&editor, &ScriptEditor::saved);
        editor.textEdit().append(QString::fromUtf8("Sleep(1) -- ещё\n"));
        QVERIFY(editor.isModified());
        QVERIFY(editor.save());
        QCOMPARE(readFile(path), QByteArray("-- \xCE\xF2\xE4\xE0\xF7\xE0\r\nSleep(1) -- \xE5\xF9\xB8\r\n"));
        QVERIFY(!editor.isModified());
        QCOMPARE(saved.size(), 1);

        editor.textEdit().append(QString::fromUtf8("-- ✓\n"));
        prompter.queueButton(QMessageBox::Cancel);
        QVERIFY(!editor.save());
        QCOMPARE(prompter.prompts.last().text,
                 "В кодировке Windows-1251 нет некоторых символов текста. Сохранить файл "
                 "«aim.lua» в UTF-8?");
        QCOMPARE(readFile(path).size(), 28); // unchanged
        prompter.queueButton(QMessageBox::Save);
        QVERIFY(editor.save());
        QCOMPARE(readFile(path), QByteArray("-- \xD0\x9E\xD1\x82\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB0\r\n"
                                            "Sleep(1) -- \xD0\xB5\xD1\x89\xD1\x91\r\n"
                                            "-- \xE2\x9C\x93\r\n"));
        QCOMPARE(saved.size(), 2);
    }

    // Unsaved changes are never dropped without asking: closing asks, and a cancel keeps the
    // window; a failed save keeps it too.
    void closingAsksAboutUnsavedChanges()
    {
        ScriptedPrompter prompter;
        QTemporaryDir dir;
        const QString path = writeFile(dir, "aim.lua", "x = 1\n");
        ScriptEditors editors;
        ScriptEditor* editor = editors.open(path, {}, nullptr);
        QCOMPARE(editors.open(path, {}, nullptr), editor); // one window per file
        editor->textEdit().setText(QStringLiteral("x = 2\n"));

        prompter.queueButton(QMessageBox::Cancel);
        QVERIFY(!editor->close());
        QVERIFY(editor->isVisible());
        QCOMPARE(prompter.prompts.last().text, "Сохранить изменения в «aim.lua»?");

        // A save that fails keeps the window and its text.
        QDir(dir.path()).rename("aim.lua", "kept.lua");
        QVERIFY(QDir(dir.path()).mkdir("aim.lua")); // a folder where the file was
        prompter.queueButton(QMessageBox::Save);
        QVERIFY(!editor->close());
        QVERIFY(editor->isVisible());
        QVERIFY(prompter.prompts.last().text.startsWith("Не удалось сохранить файл"));
        QVERIFY(QDir(dir.path()).rmdir("aim.lua"));
        QDir(dir.path()).rename("kept.lua", "aim.lua");

        prompter.queueButton(QMessageBox::Discard);
        QVERIFY(editor->close());
        QCOMPARE(readFile(path), "x = 1\n");
    }

    // A file changed on disk is offered for reloading; kept edits are asked about again only
    // at the next change.
    void offersToReloadAFileChangedOnDisk()
    {
        ScriptedPrompter prompter;
        QTemporaryDir dir;
        const QString path = writeFile(dir, "aim.lua", "x = 1\n");
        ScriptEditor editor(path, readFile(path), {});

        prompter.queueButton(QMessageBox::Yes);
        writeFile(dir, "aim.lua", "x = 2\n");
        QTRY_COMPARE(editor.text(), "x = 2\n");
        QCOMPARE(prompter.prompts.last().text, "Файл «aim.lua» изменён на диске. Загрузить его заново?");
        QVERIFY(!editor.isModified());

        prompter.queueButton(QMessageBox::No);
        writeFile(dir, "aim.lua", "x = 3\n");
        QTRY_COMPARE(prompter.prompts.size(), 2);
        QCOMPARE(editor.text(), "x = 2\n");
        QVERIFY(editor.isModified()); // the text no longer is the file's

        // The editor's own save is no change from outside.
        QVERIFY(editor.save());
        QTest::qWait(200);
        QCOMPARE(prompter.prompts.size(), 2);
    }

    void replaceAllIsOneStepAndDoesNotLoop()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "aim.lua", "a = a + 1\n");
        ScriptEditor editor(path, readFile(path), {});
        auto* bar = editor.findChild<FindReplaceBar*>();
        bar->showFind();
        editor.findChild<QLineEdit*>("findText")->setText("a");
        editor.findChild<QLineEdit*>("replaceText")->setText("aa");
        QCOMPARE(bar->replaceAll(), 2);
        QCOMPARE(editor.text(), "aa = aa + 1\n");
        editor.textEdit().undo();
        QCOMPARE(editor.text(), "a = a + 1\n");
    }
};

CLAVITOR_TEST(ScriptEditorTest);
#include "ScriptEditorTest.moc"
