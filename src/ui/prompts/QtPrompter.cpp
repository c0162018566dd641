#include "QtPrompter.h"

#include "MessageBoxFitter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>

namespace {

QMessageBox::Icon iconFor(Prompt::Kind kind)
{
    switch (kind) {
    case Prompt::Kind::Warning:
        return QMessageBox::Warning;
    case Prompt::Kind::Critical:
        return QMessageBox::Critical;
    case Prompt::Kind::Question:
        return QMessageBox::Question;
    default:
        return QMessageBox::Information;
    }
}

PromptAnswer showMessageBox(const Prompt& prompt)
{
    QMessageBox box(iconFor(prompt.kind), prompt.title, prompt.text, QMessageBox::NoButton,
                    prompt.parent);
    QList<QPushButton*> custom;
    if (prompt.customButtons.isEmpty()) {
        box.setStandardButtons(prompt.buttons);
        if (prompt.defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(prompt.defaultButton);
    } else {
        for (const PromptButton& button : prompt.customButtons)
            custom.append(box.addButton(button.text, button.role));
        if (prompt.defaultCustomButton >= 0 && prompt.defaultCustomButton < custom.size())
            box.setDefaultButton(custom.at(prompt.defaultCustomButton));
        if (prompt.escapeCustomButton >= 0 && prompt.escapeCustomButton < custom.size())
            box.setEscapeButton(custom.at(prompt.escapeCustomButton));
    }
    MessageBoxFitter::fit(box);
    box.exec();

    PromptAnswer answer;
    QAbstractButton* clicked = box.clickedButton();
    answer.customButton = static_cast<int>(custom.indexOf(static_cast<QPushButton*>(clicked)));
    answer.button = box.standardButton(clicked);
    answer.accepted = clicked != nullptr;
    return answer;
}

} // namespace

PromptAnswer QtPrompter::ask(const Prompt& prompt)
{
    PromptAnswer answer;
    switch (prompt.kind) {
    case Prompt::Kind::TextInput: {
        bool ok = false;
        answer.value = QInputDialog::getText(prompt.parent, prompt.title, prompt.text,
                                             QLineEdit::Normal, prompt.value, &ok);
        answer.accepted = ok;
        return answer;
    }
    case Prompt::Kind::MultiLineTextInput: {
        bool ok = false;
        answer.value = QInputDialog::getMultiLineText(prompt.parent, prompt.title, prompt.text,
                                                      prompt.value, &ok);
        answer.accepted = ok;
        return answer;
    }
    case Prompt::Kind::OpenFile:
        answer.value =
            QFileDialog::getOpenFileName(prompt.parent, prompt.title, prompt.value, prompt.filter);
        answer.accepted = !answer.value.isEmpty();
        return answer;
    case Prompt::Kind::SaveFile:
        answer.value =
            QFileDialog::getSaveFileName(prompt.parent, prompt.title, prompt.value, prompt.filter);
        answer.accepted = !answer.value.isEmpty();
        return answer;
    default:
        return showMessageBox(prompt);
    }
}
