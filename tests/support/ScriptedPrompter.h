#pragma once

#include "ui/prompts/Prompter.h"

#include <QList>
#include <QQueue>

#include <functional>

// Stands in for the dialogs while installed: records every prompt and answers from a queue.
// With the queue empty a message box answers with its default button (or its escape button
// when it has custom ones) and every other prompt is cancelled.
class ScriptedPrompter : public Prompter
{
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    PromptAnswer ask(const Prompt& prompt) override;

    void queueButton(QMessageBox::StandardButton button);
    void queueCustomButton(int index);
    void queueValue(const QString& value); // text entered or file chosen
    void queueCancel();

    QList<Prompt> prompts;
    // Runs once, inside the next prompt, as what a real dialog's event loop delivers while it
    // is open (a hotkey press, a timer).
    std::function<void()> whileOpen;

private:
    QQueue<PromptAnswer> m_answers;
};
