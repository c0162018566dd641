#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QsciScintilla;

// The editor's find and replace strip: finds the text forwards or backwards (with wrap, whole
// words and case as the boxes say), replaces the found text or every occurrence as one undo
// step. Escape hides it and gives the text back the focus.
class FindReplaceBar : public QWidget
{
    Q_OBJECT

public:
    FindReplaceBar(QsciScintilla& text, QWidget* parent = nullptr);

    // Shows the strip with the selected text (a single line) as the text to find.
    void showFind();
    bool findNext(bool forward = true);
    void replaceFound();
    // Replaces every occurrence; returns how many.
    int replaceAll();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool find(bool forward, bool wrap);
    void say(const QString& text);

    QsciScintilla& m_text;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_case;
    QCheckBox* m_words;
    QLabel* m_result;
};
