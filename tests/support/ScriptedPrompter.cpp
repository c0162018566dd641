#include "ScriptedPrompter.h"

#include <utility>

ScriptedPrompter::ScriptedPrompter()
{
    Prompter::setCurrent(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    Prompter::setCurrent(nullptr);
}

PromptAnswer ScriptedPrompter::ask(const Prompt& prompt)
{
    prompts.append(prompt);
    if (whileOpen)
        std::exchange(whileOpen, {})();
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    PromptAnswer answer;
    if (!prompt.customButtons.isEmpty()) {
        answer.customButton = prompt.escapeCustomButton;
    } else if (prompt.kind != Prompt::Kind::TextInput &&
               prompt.kind != Prompt::Kind::MultiLineTextInput &&
               prompt.kind != Prompt::Kind::OpenFile && prompt.kind != Prompt::Kind::SaveFile) {
        answer.button = prompt.defaultButton != QMessageBox::NoButton ? prompt.defaultButton
                                                                      : QMessageBox::Ok;
        answer.accepted = true;
    }
    return answer;
}

void ScriptedPrompter::queueButton(QMessageBox::StandardButton button)
{
    PromptAnswer answer;
    answer.button = button;
    answer.accepted = true;
    m_answers.enqueue(answer);
}

void ScriptedPrompter::queueCustomButton(int index)
{
    PromptAnswer answer;
    answer.customButton = index;
    answer.accepted = true;
    m_answers.enqueue(answer);
}

void ScriptedPrompter::queueValue(const QString& value)
{
    PromptAnswer answer;
    answer.value = value;
    answer.accepted = true;
    m_answers.enqueue(answer);
}

void ScriptedPrompter::queueCancel()
{
    m_answers.enqueue(PromptAnswer{});
}
