#pragma once

#include "ui/shell/Prompter.h"

#include <QList>
#include <QQueue>

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

private:
    QQueue<PromptAnswer> m_answers;
};
