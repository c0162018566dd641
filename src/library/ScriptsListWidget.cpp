#include "ScriptsListWidget.h"

#include "AutoReplaceCommand.h"
#include "AutoReplacePanel.h"
#include "AutoReplaceTable.h"
#include "ProfileExporter.h"
#include "ProfileImporter.h"
#include "ProfileStore.h"
#include "ScenarioFiles.h"
#include "SingleScriptWidget.h"
#include "app/AppProperties.h"
#include "app/SettingsFile.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/HotkeyAssignment.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayFeed.h"
#include "settings/ModifierDialog.h"
#include "ui/appearance/IconManager.h"
#include "ui/shell/Prompter.h"
#include "ui_ScriptsListWidget.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QListWidgetItem>
#include <QPointer>

namespace {

const QString kTitle = QStringLiteral("Clavitor");
const int kDescriptionSaveDelayMs = 5000;

// Marks the page busy while a command waits for the user, so that nothing else starts one.
class BusyGuard
{
public:
    explicit BusyGuard(bool& busy) : m_busy(busy), m_before(busy) { m_busy = true; }
    ~BusyGuard() { m_busy = m_before; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& m_busy;
    bool m_before;
};

QKeySequence sequenceOf(const QString& nativeText)
{
    return QKeySequence::fromString(nativeText, QKeySequence::NativeText);
}

// A stored hotkey as the page shows it: native text, or as stored when it does not parse.
QString shownHotkey(const QString& text)
{
    const QString native = sequenceOf(text).toString(QKeySequence::NativeText);
    return native.isEmpty() ? text.trimmed() : native;
}

QString displayName(const QString& file, int i)
{
    const QFileInfo info(file);
    if (!info.completeBaseName().isEmpty())
        return info.completeBaseName();
    if (!info.fileName().isEmpty())
        return info.fileName();
    return ScriptsListWidget::tr("Сценарий %1").arg(i + 1);
}

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

void setRecordModifiers(ScriptData& record, const MovementModifiers& modifiers)
{
    record.xy = modifiers.xy;
    record.x = modifiers.x;
    record.y = modifiers.y;
    record.rand = modifiers.rand;
}

} // namespace

ScriptsListWidget::ScriptsListWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::ScriptsListWidget), m_autoReplace(new AutoReplacePanel)
{
    // 1. The controls; no scenario is active yet.
    ui->setupUi(this);
    ui->autoReplaceTabLayout->addWidget(m_autoReplace);
    IconManager& icons = IconManager::instance();
    icons.setIcon(ui->profileAddButton, QStringLiteral("add-large-line"));
    icons.setIcon(ui->profileRenameButton, QStringLiteral("input-field"));
    icons.setIcon(ui->profileConfigureButton, QStringLiteral("settings-3-line"));
    icons.setIcon(ui->profileDuplicateButton, QStringLiteral("file-copy-line"));
    icons.setIcon(ui->profileImportButton, QStringLiteral("upload-2-line"));
    icons.setIcon(ui->profileExportButton, QStringLiteral("download-2-line"));
    icons.setIcon(ui->profileDeleteButton, QStringLiteral("delete-bin-6-line"));
    refreshActiveLabel();

    connect(ui->profileAddButton, &QPushButton::clicked, this, &ScriptsListWidget::slotProfileAdd);
    connect(ui->profileRenameButton, &QPushButton::clicked, this,
            &ScriptsListWidget::slotProfileRename);
    connect(ui->profileConfigureButton, &QPushButton::clicked, this,
            &ScriptsListWidget::slotProfileConfigure);
    connect(ui->profileDuplicateButton, &QPushButton::clicked, this,
            &ScriptsListWidget::slotProfileDuplicate);
    connect(ui->profileDeleteButton, &QPushButton::clicked, this,
            &ScriptsListWidget::slotProfileDelete);
    connect(ui->profileImportButton, &QPushButton::clicked, this,
            &ScriptsListWidget::slotProfileImport);
    connect(ui->profileExportButton, &QPushButton::clicked, this,
            &ScriptsListWidget::slotProfileExport);
    // Every edit of the auto-replace table is saved at once.
    connect(m_autoReplace->table(), &AutoReplaceTable::rulesChanged, this, [this] {
        if (takePendingEdits())
            m_library.save();
    });
    connect(m_autoReplace, &AutoReplacePanel::applyRequested, this,
            &ScriptsListWidget::slotAutoReplaceApply);
    connect(ui->pushButtonAdd, &QPushButton::clicked, this, &ScriptsListWidget::slotAddNewScript);
    connect(ui->pushButtonDisable, &QPushButton::clicked, this,
            &ScriptsListWidget::slotDisableScript);
    connect(&m_deactivation, &DeactivationHotkey::activated, this,
            &ScriptsListWidget::slotDisableScript);
    connect(ui->lineEditDisableHotkey, &QLineEdit::textChanged, this,
            &ScriptsListWidget::onDisableHotkeyEdited);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this,
            &ScriptsListWidget::updateListVisibility);
    updateListVisibility();

    m_descriptionTimer.setSingleShot(true);
    m_descriptionTimer.setInterval(kDescriptionSaveDelayMs);
    connect(ui->profileDescription, &QPlainTextEdit::textChanged, &m_descriptionTimer,
            qOverload<>(&QTimer::start));
    connect(&m_descriptionTimer, &QTimer::timeout, this, [this] {
        if (takePendingEdits())
            m_library.save();
    });

    // 2. The model, 3. the profiles.
    replaceModel();
    m_library.load();
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        for (const ScenarioProfile& profile : m_library.profiles())
            ui->profileComboBox->addItem(profile.name);
    }

    // 4. The deactivation hotkey, silently.
    {
        const QSignalBlocker blocker(ui->lineEditDisableHotkey);
        ui->lineEditDisableHotkey->setText(m_deactivation.applyStored());
    }

    // 5. The profile shown last.
    AppSettings settings = loadSettings();
    qsizetype index = m_library.indexOf(settings.lastProfile);
    if (index < 0) {
        if (!settings.lastProfile.isEmpty()) {
            Prompter::message(Prompt::Kind::Critical, this, kTitle,
                              tr("Профиль сценариев \"%1\" не найден. Использован профиль по "
                                 "умолчанию.")
                                  .arg(settings.lastProfile));
        }
        settings.lastProfile = m_library.profiles().first().name;
        saveSettings(settings);
        index = 0;
    }

    // 6. Switch to it, 7. then follow the combo box.
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(index));
    }
    if (!switchToProfile(index))
        showNoProfile();
    connect(ui->profileComboBox, &QComboBox::currentIndexChanged, this,
            &ScriptsListWidget::slotProfileChanged);
}

ScriptsListWidget::~ScriptsListWidget()
{
    m_descriptionTimer.stop();
    if (takePendingEdits())
        m_library.save();
}

SingleScriptWidget* ScriptsListWidget::row(int i)
{
    makePendingRows();
    QListWidgetItem* item = ui->listWidgetScripts->item(i);
    return item ? qobject_cast<SingleScriptWidget*>(ui->listWidgetScripts->itemWidget(item))
                : nullptr;
}

ScenarioProfile* ScriptsListWidget::currentProfile()
{
    return m_library.contains(m_currentIndex) ? &m_library[m_currentIndex] : nullptr;
}

// --- Profile switch ----------------------------------------------------------------------

void ScriptsListWidget::slotProfileChanged(int index)
{
    if (m_busy || index == m_currentIndex) {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(m_currentIndex));
        return;
    }
    switchToProfile(index);
}

bool ScriptsListWidget::switchToProfile(qsizetype index)
{
    if (!m_library.contains(index)) {
        showNoProfile();
        return true;
    }
    if (!resolveHotkeyConflicts(index)) {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(m_currentIndex));
        return false;
    }

    m_descriptionTimer.stop();
    if (takePendingEdits())
        m_library.save();
    m_currentIndex = index;
    m_activeName.clear();
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(index));
    }
    publishProfileModifiers();
    resetScenarioModifiers();
    rebuildScenarioList();
    showDescription();
    rememberLastProfile();
    emit sigProfileChanged(m_library[index].name);
    publishOverlayList();
    updateProfileButtons();
    return true;
}

bool ScriptsListWidget::resolveHotkeyConflicts(qsizetype index)
{
    // The scenarios of the profile being left give their hotkeys up in the switch.
    QSet<QObject*> leaving;
    for (int i = 0; i < m_model->rowCount(); ++i)
        leaving.insert(m_model->scriptAt(i));

    QStringList lines;
    QList<qsizetype> conflicting;
    const QList<ProfileScenario>& scenarios = m_library[index].scenarios;
    for (qsizetype i = 0; i < scenarios.size(); ++i) {
        const QKeySequence sequence = sequenceOf(scenarios[i].hotkey.trimmed());
        QString holder;
        if (sequence.isEmpty() || !ShortcutRegistry::instance().isInUse(sequence, leaving, &holder))
            continue;
        lines << QStringLiteral("%1 — %2").arg(sequence.toString(QKeySequence::NativeText), holder);
        conflicting << i;
    }
    if (lines.isEmpty())
        return true;

    const bool proceed = confirmContinue(
        tr("Следующие горячие клавиши конфликтуют и не будут назначены добавляемым "
           "сценариям:\n%1\nЗадайте их вручную после переключения профиля.\nПродолжить?")
            .arg(lines.join(QLatin1Char('\n'))));
    if (!proceed || !m_library.contains(index))
        return false;
    for (const qsizetype i : conflicting)
        m_library[index].scenarios[i].hotkey.clear();
    m_library.save();
    return true;
}

void ScriptsListWidget::showNoProfile()
{
    m_descriptionTimer.stop();
    m_currentIndex = -1;
    m_activeName.clear();
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(-1);
    }
    replaceModel();
    {
        const QSignalBlocker blocker(ui->profileDescription);
        ui->profileDescription->clear();
    }
    m_autoReplace->table()->setRules({});
    publishOverlayList();
    updateProfileButtons();
}

void ScriptsListWidget::replaceModel()
{
    ui->listWidgetScripts->clear();
    m_rowsPending = false;
    // The old model gives its hotkeys and its share of the mouse hook up before the new one
    // takes them.
    if (m_model) {
        m_model->deactivateScript();
        delete m_model;
    }
    m_model = new ScriptsModel(this);
    connect(m_model, &ScriptsModel::sigActiveLuaChanged, this,
            &ScriptsListWidget::slotActiveLuaChanged);
}

void ScriptsListWidget::rebuildScenarioList()
{
    replaceModel();
    const QList<ProfileScenario>& scenarios = currentProfile()->scenarios;
    for (int i = 0; i < scenarios.size(); ++i) {
        const ProfileScenario& scenario = scenarios[i];
        ensureModelRow(i);
        const QModelIndex modelIndex = m_model->index(i);
        m_model->setData(modelIndex, scenario.file, ScriptsModel::ScriptPathRole);
        if (!scenario.hotkey.trimmed().isEmpty()) {
            setModelHotkey(i, scenario.hotkey);
            m_model->registerHotkey(i);
        }
        setRecordModifiers(*m_model->scriptAt(i), scenario.modifier);
    }
    m_rowsPending = true;
    if (m_shown)
        makePendingRows();
}

void ScriptsListWidget::makePendingRows()
{
    if (!m_rowsPending)
        return;
    m_rowsPending = false;
    for (const ProfileScenario& scenario : currentProfile()->scenarios)
        addRow(scenario.file, shownHotkey(scenario.hotkey));
}

void ScriptsListWidget::showDescription()
{
    const QSignalBlocker blocker(ui->profileDescription);
    ui->profileDescription->setPlainText(currentProfile()->description);
    m_autoReplace->table()->setRules(currentProfile()->autoReplacements);
}

bool ScriptsListWidget::takePendingEdits()
{
    ScenarioProfile* profile = currentProfile();
    if (!profile)
        return false;
    bool changed = false;
    const QString description = ui->profileDescription->toPlainText();
    if (profile->description != description) {
        profile->description = description;
        changed = true;
    }
    const QList<AutoReplaceRule> rules = m_autoReplace->table()->rules();
    if (profile->autoReplacements != rules) {
        profile->autoReplacements = rules;
        changed = true;
    }
    return changed;
}

void ScriptsListWidget::saveProfiles()
{
    takePendingEdits();
    m_library.save();
}

void ScriptsListWidget::saveScenarioChange()
{
    saveProfiles();
    publishOverlayList();
}

void ScriptsListWidget::publishProfileModifiers()
{
    const MovementModifiers& modifier = currentProfile()->modifier;
    QCoreApplication* app = QCoreApplication::instance();
    app->setProperty(AppProperty::profileXY, modifier.xy);
    app->setProperty(AppProperty::profileX, modifier.x);
    app->setProperty(AppProperty::profileY, modifier.y);
    app->setProperty(AppProperty::profileRand, MovementModifiers::jitterAmplitude(modifier.rand));
}

void ScriptsListWidget::resetScenarioModifiers()
{
    QCoreApplication* app = QCoreApplication::instance();
    app->setProperty(AppProperty::scenarioXY, 1.0);
    app->setProperty(AppProperty::scenarioX, 1.0);
    app->setProperty(AppProperty::scenarioY, 1.0);
    app->setProperty(AppProperty::scenarioRand, 0.0);
}

void ScriptsListWidget::publishOverlayList()
{
    OverlayFeed& overlay = OverlayFeed::current();
    const ScenarioProfile* profile = currentProfile();
    if (!profile) {
        overlay.setScenarios(QString(), {});
        overlay.setActiveScenario(QString());
        return;
    }
    QList<OverlayScenarioEntry> entries;
    for (int i = 0; i < profile->scenarios.size(); ++i) {
        const ProfileScenario& scenario = profile->scenarios[i];
        entries.append(
            {displayName(scenario.file, i),
             scenario.hotkey.trimmed().isEmpty() ? QString() : shownHotkey(scenario.hotkey),
             !scenario.file.isEmpty()});
    }
    overlay.setScenarios(profile->name, entries);
    overlay.setActiveScenario(m_activeName);
}

void ScriptsListWidget::rememberLastProfile()
{
    const ScenarioProfile* profile = currentProfile();
    if (!profile)
        return;
    AppSettings settings = loadSettings();
    if (settings.lastProfile == profile->name)
        return;
    settings.lastProfile = profile->name;
    saveSettings(settings);
}

void ScriptsListWidget::updateProfileButtons()
{
    const ScenarioProfile* profile = currentProfile();
    const bool removable = profile && !isDefaultProfileName(profile->name);
    ui->profileRenameButton->setEnabled(removable);
    ui->profileDeleteButton->setEnabled(removable);
    for (QWidget* control : {static_cast<QWidget*>(ui->profileConfigureButton),
                             static_cast<QWidget*>(ui->profileDuplicateButton),
                             static_cast<QWidget*>(ui->pushButtonAdd)})
        control->setEnabled(profile != nullptr);
}

void ScriptsListWidget::updateListVisibility()
{
    const QWidget* tab = ui->tabWidget->currentWidget();
    const bool showList = tab == ui->script || tab == ui->prifile;
    ui->listWidgetScripts->setVisible(showList);
    // Without the list the tab area takes the height.
    ui->pageLayout->setStretchFactor(ui->tabWidget, showList ? 0 : 1);
    ui->pageLayout->setStretchFactor(ui->listWidgetScripts, 1);
}

// --- Profile commands --------------------------------------------------------------------

void ScriptsListWidget::slotProfileAdd()
{
    if (m_busy)
        return;
    std::optional<QString> name;
    {
        const BusyGuard busy(m_busy);
        name = Prompter::text(this, kTitle, tr("Введите имя профиля"));
    }
    if (!name)
        return;
    const QString trimmed = name->trimmed();
    QString problem = m_library.nameProblem(trimmed);
    if (problem.isEmpty())
        m_library.add(trimmed, &problem);
    if (!problem.isEmpty()) {
        warn(problem);
        return;
    }
    showAppendedProfile();
}

void ScriptsListWidget::slotProfileRename()
{
    ScenarioProfile* profile = currentProfile();
    if (m_busy || !profile)
        return;
    if (isDefaultProfileName(profile->name)) {
        warn(tr("Нельзя переименовать профиль по умолчанию."));
        return;
    }
    const qsizetype index = m_currentIndex;
    std::optional<QString> name;
    {
        const BusyGuard busy(m_busy);
        name = Prompter::text(this, kTitle, tr("Введите новое имя профиля"), profile->name);
    }
    if (!name || index != m_currentIndex)
        return;
    const QString trimmed = name->trimmed();
    QString problem = m_library.nameProblem(trimmed, index);
    if (problem.isEmpty() && trimmed != m_library[index].name) {
        takePendingEdits();
        if (m_library.rename(index, trimmed, &problem)) {
            const ScenarioProfile& renamed = m_library[index];
            for (int i = 0; i < renamed.scenarios.size(); ++i) {
                m_model->setData(m_model->index(i), renamed.scenarios[i].file,
                                 ScriptsModel::ScriptPathRole);
                row(i)->setProfileName(trimmed);
                row(i)->setPath(renamed.scenarios[i].file);
            }
            ui->profileComboBox->setItemText(static_cast<int>(index), trimmed);
            saveProfiles();
            rememberLastProfile();
            publishOverlayList();
        }
    }
    if (!problem.isEmpty())
        warn(problem);
}

void ScriptsListWidget::slotProfileConfigure()
{
    ScenarioProfile* profile = currentProfile();
    if (m_busy || !profile)
        return;
    const qsizetype index = m_currentIndex;
    const std::optional<MovementModifiers> edited = editModifiers(profile->modifier);
    if (!edited || index != m_currentIndex)
        return;
    currentProfile()->modifier = *edited;
    publishProfileModifiers();
    saveProfiles();
}

void ScriptsListWidget::slotProfileDuplicate()
{
    if (m_busy || !currentProfile())
        return;
    takePendingEdits();
    QString error;
    if (!m_library.duplicate(m_currentIndex, &error)) {
        warn(error);
        return;
    }
    showAppendedProfile();
}

void ScriptsListWidget::showAppendedProfile()
{
    const qsizetype index = m_library.size() - 1;
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->addItem(m_library[index].name);
    }
    switchToProfile(index);
    saveProfiles();
}

void ScriptsListWidget::slotProfileDelete()
{
    ScenarioProfile* profile = currentProfile();
    if (m_busy || !profile)
        return;
    if (isDefaultProfileName(profile->name)) {
        warn(tr("Нельзя удалить профиль по умолчанию"));
        return;
    }
    const qsizetype index = m_currentIndex;
    QMessageBox::StandardButton answer;
    {
        const BusyGuard busy(m_busy);
        answer = Prompter::message(Prompt::Kind::Question, this, kTitle, tr("Удалить профиль?"),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    }
    if (answer != QMessageBox::Yes || index != m_currentIndex)
        return;

    m_descriptionTimer.stop();
    QString error;
    if (!m_library.remove(index, &error)) {
        warn(error);
        return;
    }
    // The deleted profile's pending edits go with it: nothing of it is taken any more.
    m_currentIndex = -1;
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->removeItem(static_cast<int>(index));
    }
    if (!switchToProfile(std::min(index, m_library.size() - 1)))
        showNoProfile();
    saveProfiles();
}

void ScriptsListWidget::slotProfileExport()
{
    ScenarioProfile* profile = currentProfile();
    if (m_busy || !profile)
        return;
    const BusyGuard busy(m_busy);
    takePendingEdits();
    ProfileExporter::run(*profile, this);
}

void ScriptsListWidget::slotProfileImport()
{
    if (m_busy)
        return;
    const BusyGuard busy(m_busy);
    ProfileImporter importer(this);
    const qsizetype added = importer.run(m_library.profiles());
    if (added == 0)
        return;
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        for (qsizetype i = m_library.size() - added; i < m_library.size(); ++i)
            ui->profileComboBox->addItem(m_library[i].name);
    }
    saveProfiles();
    importer.reportOutcome();
}

// --- Auto-replace ------------------------------------------------------------------------

void ScriptsListWidget::slotAutoReplaceApply()
{
    ScenarioProfile* profile = currentProfile();
    if (m_busy || !profile)
        return;
    const BusyGuard busy(m_busy);
    // The description typed just before is taken now: its timer would otherwise fire during
    // the run's boxes and write the unswapped table back.
    m_descriptionTimer.stop();
    if (takePendingEdits())
        m_library.save();
    AutoReplaceCommand::apply(*profile, m_model, this, [this, profile] {
        m_autoReplace->table()->setRules(profile->autoReplacements);
        m_library.save();
    });
}

// --- Active scenario ---------------------------------------------------------------------

void ScriptsListWidget::slotDisableScript()
{
    m_model->deactivateScript();
}

void ScriptsListWidget::slotActiveLuaChanged(const QString& name)
{
    m_activeName = name;
    refreshActiveLabel();
    const bool active = !name.isEmpty();
    ui->pushButtonDisable->setEnabled(active);
    m_deactivation.setEnabled(active);
    OverlayFeed::current().setActiveScenario(name);
    emit sigScenarioActivationChanged(active);
}

void ScriptsListWidget::refreshActiveLabel()
{
    ui->activeLua->setText(m_activeName.isEmpty() ? tr("Сценарий не включен")
                                                  : tr("Активный сценарий: %1").arg(m_activeName));
}

void ScriptsListWidget::onDisableHotkeyEdited(const QString& text)
{
    if (sequenceOf(text) == m_deactivation.sequence())
        return;
    if (!m_deactivation.change(text, this)) {
        const QSignalBlocker blocker(ui->lineEditDisableHotkey);
        ui->lineEditDisableHotkey->setText(
            m_deactivation.sequence().toString(QKeySequence::NativeText));
    }
}

// --- Rows --------------------------------------------------------------------------------

SingleScriptWidget* ScriptsListWidget::addRow(const QString& path, const QString& hotkey)
{
    auto* row = new SingleScriptWidget(currentProfile()->name, ui->listWidgetScripts->viewport());
    row->setPath(path);
    row->showHotkey(hotkey);
    connect(row, &SingleScriptWidget::scriptSelected, this, &ScriptsListWidget::slotNewPathScript);
    connect(row, &SingleScriptWidget::hotKeyChanged, this, &ScriptsListWidget::slotNewCombination);
    connect(row, &SingleScriptWidget::removeRequested, this, &ScriptsListWidget::slotDeleteScript);
    connect(row, &SingleScriptWidget::configureRequested, this,
            &ScriptsListWidget::slotConfigureScript);
    connect(row, &SingleScriptWidget::duplicateRequested, this,
            &ScriptsListWidget::slotDuplicateScript);
    connect(row, &SingleScriptWidget::exportRequested, this, &ScriptsListWidget::slotExportScript);
    connect(row, &SingleScriptWidget::importRequested, this, &ScriptsListWidget::slotImportScript);
    auto* item = new QListWidgetItem(ui->listWidgetScripts);
    item->setFlags(Qt::ItemIsEnabled);
    item->setSizeHint(row->sizeHint());
    ui->listWidgetScripts->setItemWidget(item, row);
    return row;
}

int ScriptsListWidget::rowIndex(const SingleScriptWidget* row) const
{
    const QListWidget* list = ui->listWidgetScripts;
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemWidget(list->item(i)) == row)
            return i;
    }
    return -1;
}

void ScriptsListWidget::ensureModelRow(int i)
{
    while (m_model->rowCount() <= i)
        m_model->addScript();
}

void ScriptsListWidget::setScenarioPath(int i, const QString& path)
{
    row(i)->setPath(path);
    m_model->setData(m_model->index(i), path, ScriptsModel::ScriptPathRole);
    currentProfile()->scenarios[i].file = path;
    // The hotkey's holder is named after the file: claimed again under the new name.
    if (!m_model->scriptAt(i)->hotkey.isEmpty())
        m_model->registerHotkey(i);
}

void ScriptsListWidget::setModelHotkey(int i, const QString& nativeText)
{
    m_model->setData(m_model->index(i), QVariant::fromValue(sequenceOf(nativeText)),
                     ScriptsModel::ActivateCombinationRole);
}

void ScriptsListWidget::restoreHotkey(int i, const QString& portableText)
{
    const QKeySequence previous(portableText, QKeySequence::PortableText);
    m_model->setData(m_model->index(i), QVariant::fromValue(previous),
                     ScriptsModel::ActivateCombinationRole);
    m_model->registerHotkey(i);
    row(i)->showHotkey(previous.toString(QKeySequence::NativeText));
}

void ScriptsListWidget::clearHotkey(int i)
{
    restoreHotkey(i, QString());
    currentProfile()->scenarios[i].hotkey.clear();
}

void ScriptsListWidget::slotAddNewScript()
{
    if (m_busy || !currentProfile())
        return;
    makePendingRows();
    const int i = ui->listWidgetScripts->count();
    addRow(QString(), QString());
    ensureModelRow(i);
    currentProfile()->scenarios.append(ProfileScenario{});
    saveScenarioChange();
}

bool ScriptsListWidget::adoptScript(int i, const QString& chosen, bool copyAlways)
{
    const QString directory = profileDirectory(currentProfile()->name);
    QString path = chosen;
    if (copyAlways || !ScenarioFiles::isInsideDirectory(chosen, directory)) {
        path = QDir(directory).filePath(QFileInfo(chosen).fileName());
        // Another scenario's file of that name is kept: the copy takes a free name.
        const auto usedByAnother = [this, i](const QString& file) {
            const QList<ProfileScenario>& scenarios = currentProfile()->scenarios;
            for (int j = 0; j < scenarios.size(); ++j) {
                if (j != i && !scenarios[j].file.isEmpty() &&
                    QFileInfo(scenarios[j].file) == QFileInfo(file))
                    return true;
            }
            return false;
        };
        if (QFileInfo(chosen) != QFileInfo(path) && usedByAnother(path)) {
            const QFileInfo own(currentProfile()->scenarios[i].file);
            path = ScenarioFiles::freeFileName(path, [&](const QString& candidate) {
                const QFileInfo file(candidate);
                return usedByAnother(candidate) || (file.exists() && file != own);
            });
        }
        QDir().mkpath(directory);
        if (!ScenarioFiles::copyReplacing(chosen, path))
            return false;
    }
    setScenarioPath(i, path);
    saveScenarioChange();
    return true;
}

void ScriptsListWidget::slotNewPathScript(const QString& script, SingleScriptWidget* row)
{
    const int i = rowIndex(row);
    if (m_busy || i < 0)
        return;
    if (!adoptScript(i, script, false)) {
        row->setPath(currentProfile()->scenarios[i].file);
        warn(tr("Не удалось скопировать сценарий"));
    }
}

void ScriptsListWidget::slotImportScript(SingleScriptWidget* row)
{
    if (m_busy || rowIndex(row) < 0)
        return;
    QPointer<SingleScriptWidget> guarded(row);
    QString chosen;
    {
        const BusyGuard busy(m_busy);
        chosen = Prompter::openFileName(this, tr("Импорт сценария"),
                                        profileDirectory(currentProfile()->name),
                                        SingleScriptWidget::scriptFileFilter());
    }
    const int i = rowIndex(guarded);
    if (chosen.isEmpty() || i < 0)
        return;
    if (!adoptScript(i, chosen, true))
        warn(tr("Не удалось импортировать сценарий"));
}

void ScriptsListWidget::slotExportScript(SingleScriptWidget* row)
{
    if (m_busy || rowIndex(row) < 0)
        return;
    const QString path = row->path();
    if (path.isEmpty()) {
        warn(tr("Нет сценария для экспорта"));
        return;
    }
    QString target;
    {
        const BusyGuard busy(m_busy);
        target = Prompter::saveFileName(this, tr("Экспорт сценария"), QFileInfo(path).fileName(),
                                        SingleScriptWidget::scriptFileFilter());
    }
    // The dialog asked before a file was replaced.
    if (!target.isEmpty() && !ScenarioFiles::copyReplacing(path, target))
        warn(tr("Не удалось экспортировать сценарий"));
}

void ScriptsListWidget::slotConfigureScript(SingleScriptWidget* row)
{
    const int i = rowIndex(row);
    if (m_busy || i < 0)
        return;
    const ScriptData* record = m_model->scriptAt(i);
    QPointer<SingleScriptWidget> guarded(row);
    const std::optional<MovementModifiers> edited =
        editModifiers({record->xy, record->x, record->y, record->rand});
    const int at = rowIndex(guarded);
    if (!edited || at < 0)
        return;
    setRecordModifiers(*m_model->scriptAt(at), *edited);
    currentProfile()->scenarios[at].modifier = *edited;
    saveScenarioChange();
}

void ScriptsListWidget::slotDuplicateScript(SingleScriptWidget* row)
{
    const int source = rowIndex(row);
    if (m_busy || source < 0)
        return;
    ProfileScenario copy = currentProfile()->scenarios[source];
    const int i = ui->listWidgetScripts->count();
    addRow(copy.file, shownHotkey(copy.hotkey));
    ensureModelRow(i);
    m_model->setData(m_model->index(i), copy.file, ScriptsModel::ScriptPathRole);
    ScriptData* record = m_model->scriptAt(i);
    setRecordModifiers(*record, copy.modifier);

    // The source holds the hotkey, so the copy starts without it.
    QString failure;
    if (!copy.hotkey.trimmed().isEmpty()) {
        setModelHotkey(i, copy.hotkey);
        QString holder;
        if (!m_model->registerHotkey(i, &holder)) {
            failure = hotkeyFailureText(*record, shownHotkey(copy.hotkey), holder);
            restoreHotkey(i, QString());
            copy.hotkey.clear();
        }
    }
    currentProfile()->scenarios.append(copy);
    saveScenarioChange();
    if (!failure.isEmpty())
        warn(failure);
}

void ScriptsListWidget::slotDeleteScript(SingleScriptWidget* row)
{
    if (m_busy || rowIndex(row) < 0)
        return;
    QPointer<SingleScriptWidget> guarded(row);
    QMessageBox::StandardButton answer;
    {
        const BusyGuard busy(m_busy);
        answer = Prompter::message(Prompt::Kind::Question, this, kTitle, tr("Удалить сценарий?"),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    }
    const int i = rowIndex(guarded);
    if (answer != QMessageBox::Yes || i < 0)
        return;
    m_model->removeScript(i);
    delete ui->listWidgetScripts->takeItem(i);
    currentProfile()->scenarios.removeAt(i);
    saveScenarioChange();
}

void ScriptsListWidget::slotNewCombination(const QString& combination, SingleScriptWidget* row)
{
    const int i = rowIndex(row);
    if (i < 0)
        return;
    ScriptData* record = m_model->scriptAt(i);
    if (m_busy) { // a dialog is open: the field keeps what the model has
        row->showHotkey(QKeySequence(record->hotkey).toString(QKeySequence::NativeText));
        return;
    }
    const QString previous = record->hotkey;
    setModelHotkey(i, combination);
    QString holder;
    if (m_model->registerHotkey(i, &holder)) {
        currentProfile()->scenarios[i].hotkey = combination;
        saveScenarioChange();
        return;
    }

    QString shown = sequenceOf(combination).toString(QKeySequence::NativeText);
    if (shown.isEmpty())
        shown = combination;
    if (record->hotkeyState == HotkeyAssignment::RefusedBySystem) {
        const QString failure = hotkeyFailureText(*record, shown, holder);
        restoreHotkey(i, previous);
        warn(failure);
        return;
    }

    if (holder.isEmpty())
        holder = record->hotkeyError;
    const QString question =
        holder.isEmpty()
            ? tr("Сочетание \"%1\" конфликтует.\nГорячая клавиша будет сброшена. Задайте её "
                 "вручную.\nПродолжить?")
                  .arg(shown)
            : tr("Сочетание \"%1\" конфликтует: %2.\nГорячая клавиша будет сброшена. Задайте её "
                 "вручную.\nПродолжить?")
                  .arg(shown, holder);
    QPointer<SingleScriptWidget> guarded(row);
    const bool clear = confirmContinue(question);
    const int at = rowIndex(guarded);
    if (at < 0)
        return;
    if (!clear) {
        restoreHotkey(at, previous);
        return;
    }
    clearHotkey(at);
    saveScenarioChange();
}

// --- Dialogs -----------------------------------------------------------------------------

std::optional<MovementModifiers> ScriptsListWidget::editModifiers(const MovementModifiers& current)
{
    const BusyGuard busy(m_busy);
    ModifierDialog dialog(this);
    dialog.setModifiers(current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.modifiers();
}

void ScriptsListWidget::warn(const QString& text)
{
    const BusyGuard busy(m_busy);
    Prompter::message(Prompt::Kind::Warning, this, kTitle, text);
}

bool ScriptsListWidget::confirmContinue(const QString& text)
{
    const BusyGuard busy(m_busy);
    const PromptAnswer answer = Prompter::current().ask(
        Prompt{.kind = Prompt::Kind::Warning,
               .parent = this,
               .title = kTitle,
               .text = text,
               .customButtons = {{tr("Продолжить"), QMessageBox::AcceptRole},
                                 {tr("Отмена"), QMessageBox::RejectRole}},
               .defaultCustomButton = 0,
               .escapeCustomButton = 1});
    return answer.customButton == 0;
}

void ScriptsListWidget::showEvent(QShowEvent* event)
{
    m_shown = true;
    makePendingRows();
    QWidget::showEvent(event);
}

void ScriptsListWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        refreshActiveLabel();
    }
    QWidget::changeEvent(event);
}
