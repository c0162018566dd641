#include "AutoReplaceCommand.h"

#include "AutoReplaceRun.h"
#include "AutoReplacer.h"
#include "engine/ScriptsModel.h"
#include "ui/prompts/Prompter.h"

#include <algorithm>

namespace {

void inform(QWidget* parent, Prompt::Kind kind, const QString& text)
{
    Prompter::message(kind, parent, QStringLiteral("Clavitor"), text);
}

} // namespace

void AutoReplaceCommand::apply(ScenarioProfile& profile, ScriptsModel* model, QWidget* parent,
                               const std::function<void()>& rulesSwapped)
{
    const QList<AutoReplaceRule> rules = profile.autoReplacements;
    const bool anyRule = std::any_of(rules.cbegin(), rules.cend(), [](const auto& rule) {
        return !AutoReplacer::searchText(rule).trimmed().isEmpty();
    });
    if (!anyRule) {
        inform(parent, Prompt::Kind::Information, tr("Добавьте хотя бы одну пару для автозамены."));
        return;
    }

    // No script runs from a file while it is being rewritten.
    const QString activePath = model ? model->activeScriptPath() : QString();
    const int activeRow = model ? model->activeRow() : -1;
    if (!activePath.isEmpty())
        model->deactivateScript();
    const AutoReplaceOutcome outcome =
        AutoReplaceRun::rewrite(AutoReplaceRun::scriptFiles(profile), rules);
    // The profile is done with before anything can show a dialog (a failed activation does).
    bool swapped = false;
    for (qsizetype i = 0; i < rules.size(); ++i) {
        if (!outcome.rulesUsed.at(i))
            continue;
        AutoReplaceRule& rule = profile.autoReplacements[i];
        std::swap(rule.fromValue, rule.toValue);
        swapped = true;
    }
    if (swapped)
        rulesSwapped();
    if (activeRow >= 0)
        model->activateRow(activeRow);
    else if (!activePath.isEmpty())
        model->executeLua(activePath);

    if (!outcome.failedFiles.isEmpty()) {
        inform(parent, Prompt::Kind::Warning,
               tr("Не удалось обновить сценарии: %1")
                   .arg(outcome.failedFiles.join(QLatin1String(", "))));
    }
    if (outcome.replacements == 0) {
        inform(parent, Prompt::Kind::Information, tr("Совпадений для автозамены не найдено."));
        return;
    }
    inform(parent, Prompt::Kind::Information,
           tr("Автозамена завершена. Выполнено замен: %1 в %2 сценариях.")
               .arg(outcome.replacements)
               .arg(outcome.updatedScripts));
}
