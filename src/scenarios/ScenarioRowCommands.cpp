#include "ScenarioRowCommands.h"

#include "HotkeyText.h"
#include "PageDialogs.h"
#include "ScriptsListWidget.h"
#include "SingleScriptWidget.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/HotkeyAssignment.h"
#include "profiles/ProfileStore.h"
#include "profiles/ScenarioFiles.h"
#include "ui/prompts/Prompter.h"
#include "ui_ScriptsListWidget.h"

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QPointer>

namespace {

// What the user reads when a scenario's hotkey did not take; `holder` is what the
// registration returned.
QString hotkeyFailureText(const ScriptData& record, const QString& combination,
                          const QString& holder)
{
    if (record.hotkeyState == HotkeyAssignment::RefusedBySystem) {
        return HotkeyAssignment::tr("Не удалось установить горячую клавишу %1. %2")
            .arg(combination, HotkeyAssignment::refusalReason(record.hotkeyError));
    }
    const QString owner = holder.isEmpty() ? record.hotkeyError : holder;
    if (record.hotkeyState == HotkeyAssignment::TakenInProgram && !owner.isEmpty())
        return HotkeyAssignment::tr("Горячая клавиша %1 уже используется: %2.")
            .arg(combination, owner);
    return ScriptsListWidget::tr("Не удалось установить горячую клавишу %1.").arg(combination);
}

} // namespace

ScenarioRowCommands::ScenarioRowCommands(ScriptsListWidget& page, PageDialogs& dialogs)
    : m_page(page), m_dialogs(dialogs)
{
    QObject::connect(&m_editors, &ScriptEditors::saved, &m_page,
                     [this](const QString& path) { activateAgainIfActive(path); });
}

ScriptsModel& ScenarioRowCommands::model() const
{
    return *m_page.m_model;
}

ScenarioProfile& ScenarioRowCommands::profile() const
{
    return *m_page.currentProfile();
}

void ScenarioRowCommands::setScenarioPath(int i, const QString& path)
{
    m_page.row(i)->setPath(path);
    model().setData(model().index(i), path, ScriptsModel::ScriptPathRole);
    profile().scenarios[i].file = path;
    // The hotkey's holder is named after the file: claimed again under the new name.
    if (!model().scriptAt(i)->hotkey.isEmpty())
        model().registerHotkey(i);
}

void ScenarioRowCommands::restoreHotkey(int i, const QString& portableText)
{
    const QKeySequence previous(portableText, QKeySequence::PortableText);
    model().setData(model().index(i), QVariant::fromValue(previous),
                    ScriptsModel::ActivateCombinationRole);
    model().registerHotkey(i);
    m_page.row(i)->showHotkey(previous.toString(QKeySequence::NativeText));
}

void ScenarioRowCommands::clearHotkey(int i)
{
    restoreHotkey(i, QString());
    profile().scenarios[i].hotkey.clear();
}

void ScenarioRowCommands::add()
{
    if (m_dialogs.busy() || !m_page.currentProfile())
        return;
    append(QString());
}

void ScenarioRowCommands::addFile(const QString& path)
{
    if (!m_page.currentProfile())
        return;
    append(path);
}

void ScenarioRowCommands::append(const QString& path)
{
    m_page.makePendingRows();
    const int i = m_page.ui->listWidgetScripts->count();
    m_page.addRow(path, QString());
    m_page.ensureModelRow(i);
    ProfileScenario scenario;
    scenario.file = path;
    if (!path.isEmpty())
        model().setData(model().index(i), path, ScriptsModel::ScriptPathRole);
    profile().scenarios.append(scenario);
    m_page.saveScenarioChange();
}

bool ScenarioRowCommands::adoptScript(int i, const QString& chosen, bool copyAlways)
{
    const QString directory = profileDirectory(profile().name);
    QString path = chosen;
    if (copyAlways || !ScenarioFiles::isInsideDirectory(chosen, directory)) {
        path = QDir(directory).filePath(QFileInfo(chosen).fileName());
        // Another scenario's file of that name is kept: the copy takes a free name.
        const auto usedByAnother = [this, i](const QString& file) {
            const QList<ProfileScenario>& scenarios = profile().scenarios;
            for (int j = 0; j < scenarios.size(); ++j) {
                if (j != i && !scenarios[j].file.isEmpty() &&
                    QFileInfo(scenarios[j].file) == QFileInfo(file))
                    return true;
            }
            return false;
        };
        // Nor is any other file of the folder (a module the scripts require, the file of a
        // row deleted): only this row's own file and the chosen file itself are replaced.
        const QFileInfo own(profile().scenarios[i].file);
        const auto taken = [&](const QString& candidate) {
            const QFileInfo file(candidate);
            return usedByAnother(candidate) || (file.exists() && file != own);
        };
        if (QFileInfo(chosen) != QFileInfo(path) && taken(path))
            path = ScenarioFiles::freeFileName(path, taken);
        QDir().mkpath(directory);
        if (!ScenarioFiles::copyReplacing(chosen, path))
            return false;
    }
    setScenarioPath(i, path);
    m_page.saveScenarioChange();
    return true;
}

void ScenarioRowCommands::chooseFile(SingleScriptWidget* row)
{
    if (m_dialogs.busy() || m_page.rowIndex(row) < 0)
        return;
    const QString current = row->path();
    const QString start =
        current.isEmpty() ? profileDirectory(profile().name) : QFileInfo(current).absolutePath();
    QPointer<SingleScriptWidget> guarded(row);
    const QString chosen = m_dialogs.whileBusy([&] {
        return Prompter::openFileName(m_dialogs.parent(), ScriptsListWidget::tr("Выбрать сценарий"),
                                      start, SingleScriptWidget::scriptFileFilter());
    });
    const int i = m_page.rowIndex(guarded);
    if (chosen.isEmpty() || i < 0)
        return;
    if (!adoptScript(i, chosen, false))
        m_dialogs.warn(ScriptsListWidget::tr("Не удалось скопировать сценарий"));
}

void ScenarioRowCommands::importInto(SingleScriptWidget* row)
{
    if (m_dialogs.busy() || m_page.rowIndex(row) < 0)
        return;
    QPointer<SingleScriptWidget> guarded(row);
    const QString chosen = m_dialogs.whileBusy([&] {
        return Prompter::openFileName(m_dialogs.parent(), ScriptsListWidget::tr("Импорт сценария"),
                                      profileDirectory(profile().name),
                                      SingleScriptWidget::scriptFileFilter());
    });
    const int i = m_page.rowIndex(guarded);
    if (chosen.isEmpty() || i < 0)
        return;
    if (!adoptScript(i, chosen, true))
        m_dialogs.warn(ScriptsListWidget::tr("Не удалось импортировать сценарий"));
}

void ScenarioRowCommands::exportFrom(SingleScriptWidget* row)
{
    if (m_dialogs.busy() || m_page.rowIndex(row) < 0)
        return;
    const QString path = row->path();
    if (path.isEmpty()) {
        m_dialogs.warn(ScriptsListWidget::tr("Нет сценария для экспорта"));
        return;
    }
    const QString target = m_dialogs.whileBusy([&] {
        return Prompter::saveFileName(m_dialogs.parent(), ScriptsListWidget::tr("Экспорт сценария"),
                                      QFileInfo(path).fileName(),
                                      SingleScriptWidget::scriptFileFilter());
    });
    // The dialog asked before a file was replaced.
    if (!target.isEmpty() && !ScenarioFiles::copyReplacing(path, target))
        m_dialogs.warn(ScriptsListWidget::tr("Не удалось экспортировать сценарий"));
}

void ScenarioRowCommands::configure(SingleScriptWidget* row)
{
    const int i = m_page.rowIndex(row);
    if (m_dialogs.busy() || i < 0)
        return;
    const ScriptData* record = model().scriptAt(i);
    QPointer<SingleScriptWidget> guarded(row);
    const std::optional<MovementModifiers> edited =
        m_dialogs.editModifiers({record->xy, record->x, record->y, record->rand});
    const int at = m_page.rowIndex(guarded);
    if (!edited || at < 0)
        return;
    model().scriptAt(at)->setModifiers(*edited);
    profile().scenarios[at].modifier = *edited;
    m_page.saveScenarioChange();
}

void ScenarioRowCommands::duplicate(SingleScriptWidget* row)
{
    const int source = m_page.rowIndex(row);
    if (m_dialogs.busy() || source < 0)
        return;
    ProfileScenario copy = profile().scenarios[source];
    const int i = m_page.ui->listWidgetScripts->count();
    m_page.addRow(copy.file, HotkeyText::shown(copy.hotkey));
    m_page.ensureModelRow(i);
    model().setData(model().index(i), copy.file, ScriptsModel::ScriptPathRole);
    ScriptData* record = model().scriptAt(i);
    record->setModifiers(copy.modifier);

    // The source holds the hotkey, so the copy starts without it.
    QString failure;
    if (!copy.hotkey.trimmed().isEmpty()) {
        m_page.setModelHotkey(i, copy.hotkey);
        QString holder;
        if (!model().registerHotkey(i, &holder)) {
            failure = hotkeyFailureText(*record, HotkeyText::shown(copy.hotkey), holder);
            restoreHotkey(i, QString());
            copy.hotkey.clear();
        }
    }
    profile().scenarios.append(copy);
    m_page.saveScenarioChange();
    if (!failure.isEmpty())
        m_dialogs.warn(failure);
}

void ScenarioRowCommands::remove(SingleScriptWidget* row)
{
    if (m_dialogs.busy() || m_page.rowIndex(row) < 0)
        return;
    QPointer<SingleScriptWidget> guarded(row);
    const bool confirmed = m_dialogs.confirm(ScriptsListWidget::tr("Удалить сценарий?"));
    const int i = m_page.rowIndex(guarded);
    if (!confirmed || i < 0)
        return;
    model().removeScript(i);
    delete m_page.ui->listWidgetScripts->takeItem(i);
    profile().scenarios.removeAt(i);
    m_page.saveScenarioChange();
}

void ScenarioRowCommands::changeHotkey(const QString& combination, SingleScriptWidget* row)
{
    const int i = m_page.rowIndex(row);
    if (i < 0)
        return;
    ScriptData* record = model().scriptAt(i);
    if (m_dialogs.busy()) { // a dialog is open: the field keeps what the model has
        row->showHotkey(QKeySequence(record->hotkey).toString(QKeySequence::NativeText));
        return;
    }
    const QString previous = record->hotkey;
    m_page.setModelHotkey(i, combination);
    QString holder;
    if (model().registerHotkey(i, &holder)) {
        profile().scenarios[i].hotkey = combination;
        m_page.saveScenarioChange();
        return;
    }

    QString shown = HotkeyText::sequenceOf(combination).toString(QKeySequence::NativeText);
    if (shown.isEmpty())
        shown = combination;
    if (record->hotkeyState == HotkeyAssignment::RefusedBySystem) {
        const QString failure = hotkeyFailureText(*record, shown, holder);
        restoreHotkey(i, previous);
        m_dialogs.warn(failure);
        return;
    }

    if (holder.isEmpty())
        holder = record->hotkeyError;
    const QString question =
        holder.isEmpty()
            ? ScriptsListWidget::tr(
                  "Сочетание \"%1\" конфликтует.\nГорячая клавиша будет сброшена. Задайте её "
                  "вручную.\nПродолжить?")
                  .arg(shown)
            : ScriptsListWidget::tr(
                  "Сочетание \"%1\" конфликтует: %2.\nГорячая клавиша будет сброшена. Задайте её "
                  "вручную.\nПродолжить?")
                  .arg(shown, holder);
    QPointer<SingleScriptWidget> guarded(row);
    const bool clear = m_dialogs.confirmContinue(question);
    const int at = m_page.rowIndex(guarded);
    if (at < 0)
        return;
    if (!clear) {
        restoreHotkey(at, previous);
        return;
    }
    clearHotkey(at);
    m_page.saveScenarioChange();
}

void ScenarioRowCommands::edit(SingleScriptWidget* row)
{
    const int i = m_page.rowIndex(row);
    if (i < 0)
        return;
    const ScriptData* record = model().scriptAt(i);
    const MovementModifiers modifiers =
        record ? MovementModifiers{record->xy, record->x, record->y, record->rand}
               : MovementModifiers{};
    m_editors.open(row->path(), modifiers, &m_page);
}

void ScenarioRowCommands::activateAgainIfActive(const QString& path)
{
    if (!m_page.m_model)
        return;
    ScriptsModel& scenarios = model();
    const QString active = scenarios.activeScriptPath();
    if (active.isEmpty() || ScriptEditors::fileKey(active) != ScriptEditors::fileKey(path))
        return;
    const int row = scenarios.activeRow();
    if (row >= 0)
        scenarios.activateRow(row);
    else
        scenarios.executeLua(active);
}
