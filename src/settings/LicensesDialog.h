#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;

// The program's licence and the notices of what comes with it, read-only: the components on
// one side, the text of the one selected on the other. The notices are the files under
// :/licenses/, the program's licence is :/LICENSE; each item holds its file's path.
class LicensesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LicensesDialog(QWidget* parent = nullptr);

    // Opens a dialog window-modal over parent, without waiting; it deletes itself when closed.
    static void openOver(QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillComponents();
    void showSelected();
    void retranslate();

    QLabel* m_intro;
    QListWidget* m_components;
    QPlainTextEdit* m_text;
};
