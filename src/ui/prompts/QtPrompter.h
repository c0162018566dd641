#pragma once

#include "Prompter.h"

// Shows prompts as the standard Qt dialogs.
class QtPrompter : public Prompter
{
public:
    PromptAnswer ask(const Prompt& prompt) override;
};
