#pragma once

#include <QFrame>
#include <QString>

#include <memory>

namespace Ui {
class SingleScriptWidget;
}

// One scenario of the scenario page: a button that shows and chooses the script file, a
// field that captures the hotkey, and buttons to edit, configure, duplicate, export, import
// and delete. The row shows state and asks; the page carries the requests out.
class SingleScriptWidget : public QFrame
{
    Q_OBJECT

public:
    explicit SingleScriptWidget(QWidget* parent = nullptr);
    ~SingleScriptWidget() override;

    QString path() const { return m_path; }
    // Shows the file's base name (or the default caption without a file) and enables the
    // hotkey field and the buttons that need a file exactly when there is one.
    void setPath(const QString& path);
    QString hotkey() const;
    // Shows a combination without announcing it as a change.
    void showHotkey(const QString& text);
    // The error the row's mark shows (its tooltip): the last run of the row's scenario failed
    // and the file has not changed since. Empty without a mark.
    QString shownError() const;
    // The file types of the dialogs that pick or save a script.
    static QString scriptFileFilter();

signals:
    // The file button: the page asks for the script file.
    void chooseRequested(SingleScriptWidget* row);
    void hotKeyChanged(const QString& combination, SingleScriptWidget* row);
    void removeRequested(SingleScriptWidget* row);
    void configureRequested(SingleScriptWidget* row);
    void duplicateRequested(SingleScriptWidget* row);
    void exportRequested(SingleScriptWidget* row);
    void importRequested(SingleScriptWidget* row);
    // The error mark: the page shows the log of this row's scenario.
    void logRequested(SingleScriptWidget* row);
    // The edit button, for a file that exists: the page opens it in the editor.
    void editRequested(SingleScriptWidget* row);

public slots:
    // Asks the page to edit the file; a file that is not there is said at once.
    void requestEdit();
    // A combination typed into a row without a file is refused with a tooltip saying why.
    void hotKeyEdited(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    void showPath();
    void showError();
    static QString needsFileText();

    std::unique_ptr<Ui::SingleScriptWidget> ui;
    QString m_path;
    QString m_defaultCaption;
};
