#include "Prompter.h"

#include "QtPrompter.h"

namespace {
Prompter* g_installed = nullptr;
} // namespace

Prompter& Prompter::current()
{
    static QtPrompter dialogs;
    return g_installed ? *g_installed : dialogs;
}

void Prompter::setCurrent(Prompter* prompter)
{
    g_installed = prompter;
}

QMessageBox::StandardButton Prompter::message(Prompt::Kind kind, QWidget* parent,
                                              const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    Prompt prompt;
    prompt.kind = kind;
    prompt.parent = parent;
    prompt.title = title;
    prompt.text = text;
    prompt.buttons = buttons;
    prompt.defaultButton = defaultButton;
    return current().ask(prompt).button;
}

std::optional<QString> Prompter::text(QWidget* parent, const QString& title,
                                      const QString& label, const QString& initialText)
{
    Prompt prompt;
    prompt.kind = Prompt::Kind::TextInput;
    prompt.parent = parent;
    prompt.title = title;
    prompt.text = label;
    prompt.value = initialText;
    const PromptAnswer answer = current().ask(prompt);
    if (!answer.accepted)
        return std::nullopt;
    return answer.value;
}

namespace {
QString askFile(Prompt::Kind kind, QWidget* parent, const QString& title, const QString& path,
                const QString& filter)
{
    Prompt prompt;
    prompt.kind = kind;
    prompt.parent = parent;
    prompt.title = title;
    prompt.value = path;
    prompt.filter = filter;
    const PromptAnswer answer = Prompter::current().ask(prompt);
    return answer.accepted ? answer.value : QString();
}
} // namespace

QString Prompter::openFileName(QWidget* parent, const QString& title, const QString& startPath,
                               const QString& filter)
{
    return askFile(Prompt::Kind::OpenFile, parent, title, startPath, filter);
}

QString Prompter::saveFileName(QWidget* parent, const QString& title,
                               const QString& proposedPath, const QString& filter)
{
    return askFile(Prompt::Kind::SaveFile, parent, title, proposedPath, filter);
}
