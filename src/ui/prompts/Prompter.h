#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

// A button of a message box with its own text, in place of the standard buttons.
struct PromptButton
{
    QString text;
    QMessageBox::ButtonRole role = QMessageBox::AcceptRole;
};

// One modal question to the user: a message box, a text input or a file dialog.
struct Prompt
{
    enum class Kind {
        Information,
        Warning,
        Critical,
        Question,
        TextInput,
        MultiLineTextInput,
        OpenFile,
        SaveFile,
    };

    Kind kind = Kind::Information;
    QWidget* parent = nullptr;
    QString title;
    QString text; // the message, or the label of a text input
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QList<PromptButton> customButtons; // when present, shown instead of `buttons`
    int defaultCustomButton = -1;
    int escapeCustomButton = -1;
    QString value;  // initial text, or the start directory or proposed file of a file dialog
    QString filter; // file dialogs
};

struct PromptAnswer
{
    QMessageBox::StandardButton button = QMessageBox::NoButton; // standard button chosen
    int customButton = -1; // index of the custom button chosen; -1 for none
    bool accepted = false; // text input and file dialogs: confirmed
    QString value;         // the text entered or the file chosen
};

// Every modal prompt of the program goes through the current Prompter, so that tests can
// answer prompts and read their texts instead of facing real dialogs.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer ask(const Prompt& prompt) = 0;

    // The process-wide prompter: the Qt dialogs unless another one is installed.
    static Prompter& current();
    // Installs a prompter the caller keeps alive; nullptr returns to the Qt dialogs.
    static void setCurrent(Prompter* prompter);

    // A message box with standard buttons; returns the button chosen.
    static QMessageBox::StandardButton message(Prompt::Kind kind, QWidget* parent,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton =
                                                   QMessageBox::NoButton);
    // A line of text; nothing when cancelled.
    static std::optional<QString> text(QWidget* parent, const QString& title,
                                       const QString& label, const QString& initialText = {});
    // Several lines of text; nothing when cancelled.
    static std::optional<QString> multiLineText(QWidget* parent, const QString& title,
                                                const QString& label,
                                                const QString& initialText = {});
    // A file to open or to save; empty when cancelled.
    static QString openFileName(QWidget* parent, const QString& title,
                                 const QString& startPath = {}, const QString& filter = {});
    static QString saveFileName(QWidget* parent, const QString& title,
                                const QString& proposedPath = {}, const QString& filter = {});
};
