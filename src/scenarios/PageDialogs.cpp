#include "PageDialogs.h"

#include "ScriptsListWidget.h"
#include "ui/prompts/Prompter.h"
#include "ui/widgets/ModifierDialog.h"

const QString PageDialogs::kTitle = QStringLiteral("Clavitor");

void PageDialogs::warn(const QString& text)
{
    whileBusy([&] { Prompter::message(Prompt::Kind::Warning, m_parent, kTitle, text); });
}

bool PageDialogs::confirmContinue(const QString& text)
{
    const PromptAnswer answer = whileBusy([&] {
        return Prompter::current().ask(
            Prompt{.kind = Prompt::Kind::Warning,
                   .parent = m_parent,
                   .title = kTitle,
                   .text = text,
                   .customButtons = {{ScriptsListWidget::tr("Продолжить"), QMessageBox::AcceptRole},
                                     {ScriptsListWidget::tr("Отмена"), QMessageBox::RejectRole}},
                   .defaultCustomButton = 0,
                   .escapeCustomButton = 1});
    });
    return answer.customButton == 0;
}

bool PageDialogs::confirm(const QString& question)
{
    return whileBusy([&] {
               return Prompter::message(Prompt::Kind::Question, m_parent, kTitle, question,
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
           }) == QMessageBox::Yes;
}

std::optional<MovementModifiers> PageDialogs::editModifiers(const MovementModifiers& current)
{
    return whileBusy([&]() -> std::optional<MovementModifiers> {
        ModifierDialog dialog(m_parent);
        dialog.setModifiers(current);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.modifiers();
    });
}
