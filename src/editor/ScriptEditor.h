#pragma once

#include "ScriptFileText.h"
#include "input/MovementModifiers.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

class FindReplaceBar;
class PreviewWindow;
class QLabel;
class QsciScintilla;
class ScenarioLexer;

// The editor window of one scenario file: Lua highlighting in the theme's colours, line
// numbers, the current line, matching braces, find and replace, completion and call tips for
// the API, and a check of the text 300 ms after each change (its syntax error marked on its
// line and said under the text, unknown globals underlined). It saves in the file's own
// encoding and line endings, asks before it drops unsaved changes, offers to reload a file
// changed on disk, and runs the text in the preview.
class ScriptEditor : public QWidget
{
    Q_OBJECT

public:
    // How long the text must rest before it is checked.
    static constexpr int kCheckDelayMs = 300;

    // The editor of the file at path, whose bytes the caller has read.
    ScriptEditor(const QString& path, const QByteArray& bytes,
                 const MovementModifiers& modifiers, QWidget* parent = nullptr);
    ~ScriptEditor() override;

    QString path() const { return m_path; }
    QString text() const;
    bool isModified() const;
    void setModifiers(const MovementModifiers& modifiers) { m_modifiers = modifiers; }
    QsciScintilla& textEdit() { return *m_text; }

    // Writes the text to the file; false (said to the user) when it could not.
    bool save();
    // Checks the text now rather than when it has rested.
    void checkNow();
    // The line marked as holding the syntax error (1-based), or 0.
    int errorLine() const { return m_errorLine; }
    // The names underlined as unknown, with their lines, as "name:line".
    QStringList unknownNameMarks() const;
    QString checkMessage() const;

signals:
    // The file was written.
    void saved(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void load(const QByteArray& bytes);
    void applyTheme();
    void fileChangedOnDisk();
    void openExternally();
    void showPreview();
    void updateTitle();
    void clearMarks();

    QString m_path;
    MovementModifiers m_modifiers;
    ScriptFileText m_file;
    QByteArray m_diskBytes; // the file's bytes as last read or written
    QsciScintilla* m_text;
    ScenarioLexer* m_lexer;
    FindReplaceBar* m_find;
    QLabel* m_message;
    PreviewWindow* m_preview = nullptr;
    QFileSystemWatcher m_watcher;
    QTimer m_checkTimer;
    int m_errorMarker = -1;
    int m_errorIndicator = -1;
    int m_warningIndicator = -1;
    int m_errorLine = 0;
    QStringList m_unknownMarks;
    bool m_askingReload = false;
    // The user kept the text when the file changed on disk: it differs from the file although
    // nothing was typed since (the text component can only be told it is unmodified).
    bool m_keptAgainstDisk = false;
};
