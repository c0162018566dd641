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
    return current()
        .ask(Prompt{.kind = kind,
                    .parent = parent,
                    .title = title,
                    .text = text,
                    .buttons = buttons,
                    .defaultButton = defaultButton})
        .button;
}

namespace {
std::optional<QString> askText(Prompt::Kind kind, QWidget* parent, const QString& title,
                               const QString& label, const QString& initialText)
{
    const PromptAnswer answer = Prompter::current().ask(
        Prompt{.kind = kind, .parent = parent, .title = title, .text = label, .value = initialText});
    if (!answer.accepted)
        return std::nullopt;
    return answer.value;
}
} // namespace

std::optional<QString> Prompter::text(QWidget* parent, const QString& title,
                                      const QString& label, const QString& initialText)
{
    return askText(Prompt::Kind::TextInput, parent, title, label, initialText);
}

std::optional<QString> Prompter::multiLineText(QWidget* parent, const QString& title,
                                               const QString& label, const QString& initialText)
{
    return askText(Prompt::Kind::MultiLineTextInput, parent, title, label, initialText);
}

namespace {
QString askFile(Prompt::Kind kind, QWidget* parent, const QString& title, const QString& path,
                const QString& filter)
{
    const PromptAnswer answer = Prompter::current().ask(Prompt{
        .kind = kind, .parent = parent, .title = title, .value = path, .filter = filter});
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
