#include "ScriptsListWidget.h"

#include "HotkeyText.h"
#include "ProfileTrustCheck.h"
#include "ProgramsPanel.h"
#include "RecordingPanel.h"
#include "ScenarioOverlayEntries.h"
#include "ScenarioRowPool.h"
#include "SingleScriptWidget.h"
#include "autoreplace/AutoReplaceCommand.h"
#include "autoreplace/AutoReplacePanel.h"
#include "autoreplace/AutoReplaceTable.h"
#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/QGlobalShortcut.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayFeed.h"
#include "profiles/ProfileStore.h"
#include "ui/appearance/IconManager.h"
#include "ui/prompts/Prompter.h"
#include "ui_ScriptsListWidget.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QListWidgetItem>

constexpr int kDescriptionSaveDelayMs = 5000;

ScriptsListWidget::ScriptsListWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::ScriptsListWidget), m_autoReplace(new AutoReplacePanel),
      m_dialogs(this), m_profileCommands(*this, m_dialogs), m_rowCommands(*this, m_dialogs)
{
    // 1. The controls; no scenario is active yet.
    ui->setupUi(this);
    m_rowPool = new ScenarioRowPool(ui->listWidgetScripts);
    ui->listWidgetScripts->setItemDelegate(m_rowPool);
    ui->autoReplaceTabLayout->addWidget(m_autoReplace);
    m_trust = new ProfileTrustCheck(*this, m_dialogs);
    ui->profileTabLayout->addWidget(m_trust);
    m_programs = new ProgramsPanel(*this, m_dialogs);
    ui->profileTabLayout->addWidget(m_programs);
    connect(m_programs, &ProgramsPanel::followingChanged, this,
            &ScriptsListWidget::sigFollowingChanged);
    m_recording = new RecordingPanel(*this, m_dialogs);
    ui->scriptTabColumn->addWidget(m_recording);
    connect(m_recording, &RecordingPanel::activeChanged, this,
            &ScriptsListWidget::onRecordingChanged);
    refreshActiveLabel();

    // The profile bar's buttons: icon and command.
    const struct
    {
        QPushButton* button;
        const char* icon;
        void (ProfileCommands::*command)();
    } profileButtons[] = {
        {ui->profileAddButton, "add-large-line", &ProfileCommands::add},
        {ui->profileRenameButton, "input-field", &ProfileCommands::rename},
        {ui->profileConfigureButton, "settings-3-line", &ProfileCommands::configure},
        {ui->profileDuplicateButton, "file-copy-line", &ProfileCommands::duplicate},
        {ui->profileImportButton, "upload-2-line", &ProfileCommands::importArchive},
        {ui->profileExportButton, "download-2-line", &ProfileCommands::exportCurrent},
        {ui->profileDeleteButton, "delete-bin-6-line", &ProfileCommands::remove}};
    for (const auto& entry : profileButtons) {
        IconManager::instance().setIcon(entry.button, QLatin1String(entry.icon));
        connect(entry.button, &QPushButton::clicked, this,
                [this, command = entry.command] { (m_profileCommands.*command)(); });
    }
    // Every edit of the auto-replace table is saved at once.
    connect(m_autoReplace->table(), &AutoReplaceTable::rulesChanged, this,
            &ScriptsListWidget::savePendingEdits);
    connect(m_autoReplace, &AutoReplacePanel::applyRequested, this,
            &ScriptsListWidget::slotAutoReplaceApply);
    connect(ui->pushButtonAdd, &QPushButton::clicked, this, [this] { m_rowCommands.add(); });
    connect(ui->pushButtonDisable, &QPushButton::clicked, this,
            &ScriptsListWidget::slotDisableScript);
    connect(&m_deactivation, &DeactivationHotkey::activated, this, [this] {
        if (m_recording->isActive())
            m_recording->stop();
        else
            slotDisableScript();
    });
    connect(ui->lineEditDisableHotkey, &QLineEdit::textChanged, this,
            &ScriptsListWidget::onDisableHotkeyEdited);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this,
            &ScriptsListWidget::updateListVisibility);
    updateListVisibility();

    m_descriptionTimer.setSingleShot(true);
    m_descriptionTimer.setInterval(kDescriptionSaveDelayMs);
    connect(ui->profileDescription, &QPlainTextEdit::textChanged, &m_descriptionTimer,
            qOverload<>(&QTimer::start));
    connect(&m_descriptionTimer, &QTimer::timeout, this, &ScriptsListWidget::savePendingEdits);

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
            Prompter::message(Prompt::Kind::Critical, this, PageDialogs::kTitle,
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
    savePendingEdits();
}

SingleScriptWidget* ScriptsListWidget::row(int i)
{
    makePendingRows();
    QListWidgetItem* item = ui->listWidgetScripts->item(i);
    return item ? qobject_cast<SingleScriptWidget*>(ui->listWidgetScripts->itemWidget(item))
                : nullptr;
}

// --- Profile switch ----------------------------------------------------------------------

void ScriptsListWidget::slotProfileChanged(int index)
{
    if (m_dialogs.busy() || index == m_currentIndex) {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(m_currentIndex));
        return;
    }
    switchToProfile(index);
}

bool ScriptsListWidget::followProgram(qsizetype index)
{
    if (m_dialogs.busy() || m_recording->isActive() || !m_library.contains(index))
        return false;
    if (index != m_currentIndex)
        switchToProfile(index, SwitchBy::Following);
    return true;
}

bool ScriptsListWidget::switchToProfile(qsizetype index, SwitchBy by)
{
    const bool byUser = by == SwitchBy::User;
    if (!m_library.contains(index)) {
        showNoProfile();
        return true;
    }
    if (byUser && !resolveHotkeyConflicts(index)) {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(m_currentIndex));
        return false;
    }

    m_descriptionTimer.stop();
    savePendingEdits();
    m_currentIndex = index;
    m_activeName.clear();
    {
        const QSignalBlocker blocker(ui->profileComboBox);
        ui->profileComboBox->setCurrentIndex(static_cast<int>(index));
    }
    publishProfileModifiers();
    resetScenarioModifiers();
    rebuildScenarioList();
    m_programs->showProfile();
    m_trust->showProfile();
    showDescription();
    if (byUser)
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
        const QKeySequence sequence = HotkeyText::sequenceOf(scenarios[i].hotkey.trimmed());
        QString holder;
        if (sequence.isEmpty() || !ShortcutRegistry::instance().isInUse(sequence, leaving, &holder))
            continue;
        lines << QStringLiteral("%1 — %2").arg(sequence.toString(QKeySequence::NativeText), holder);
        conflicting << i;
    }
    if (lines.isEmpty())
        return true;

    const bool proceed = m_dialogs.confirmContinue(
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
    m_programs->showProfile();
    m_trust->showProfile();
    publishOverlayList();
    updateProfileButtons();
}

void ScriptsListWidget::replaceModel()
{
    m_rowPool->keepWhile([this] { ui->listWidgetScripts->clear(); });
    m_rowsPending = false;
    // The old model gives its hotkeys and its share of the mouse hook up before the new one
    // takes them.
    if (m_model) {
        m_model->deactivateScript();
        delete m_model;
    }
    // The scenarios of a profile require the modules of its folder.
    const ScenarioProfile* profile = currentProfile();
    m_model = new ScriptsModel(this, profile ? profileDirectory(profile->name) : QString(),
                               ScriptsModel::libraryFor(profile && profile->trusted));
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
        m_model->scriptAt(i)->setModifiers(scenario.modifier);
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
    QListWidget* list = ui->listWidgetScripts;
    const QList<ProfileScenario>& scenarios = currentProfile()->scenarios;
    // The items first: an item added while other items have their rows lays the whole list
    // out again at once.
    for (qsizetype i = 0; i < scenarios.size(); ++i)
        new QListWidgetItem(list);
    for (int i = 0; i < scenarios.size(); ++i)
        placeRow(list->item(i), takeRow(), scenarios[i].file,
                 HotkeyText::shown(scenarios[i].hotkey));
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

void ScriptsListWidget::savePendingEdits()
{
    if (takePendingEdits())
        m_library.save();
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
    overlay.setScenarios(profile->name, scenarioOverlayEntries(*profile, *m_model));
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

// --- Auto-replace ------------------------------------------------------------------------

void ScriptsListWidget::slotAutoReplaceApply()
{
    ScenarioProfile* profile = currentProfile();
    if (m_dialogs.busy() || !profile)
        return;
    // The description typed just before is taken now: its timer would otherwise fire during
    // the run's boxes and write the unswapped table back.
    m_descriptionTimer.stop();
    savePendingEdits();
    m_dialogs.whileBusy([&] {
        AutoReplaceCommand::apply(*profile, m_model, this, [this, profile] {
            m_autoReplace->table()->setRules(profile->autoReplacements);
            m_library.save();
        });
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

void ScriptsListWidget::onRecordingChanged(bool recording)
{
    if (recording)
        m_model->deactivateScript();
    for (int i = 0; i < m_model->rowCount(); ++i) {
        if (QGlobalShortcut* shortcut = m_model->scriptAt(i)->shortcut)
            shortcut->setEnabled(!recording);
    }
    m_deactivation.setEnabled(recording);
    // The other tabs, the rows and the deactivation hotkey's field wait for the stop.
    for (int tab = 0; tab < ui->tabWidget->count(); ++tab) {
        if (ui->tabWidget->widget(tab) != ui->script)
            ui->tabWidget->widget(tab)->setEnabled(!recording);
    }
    ui->listWidgetScripts->setEnabled(!recording);
    ui->lineEditDisableHotkey->setEnabled(!recording);
    ui->pushButtonAdd->setEnabled(!recording);
    if (!recording)
        updateProfileButtons();
    emit sigScenarioActivationChanged(recording);
}

void ScriptsListWidget::onDisableHotkeyEdited(const QString& text)
{
    if (HotkeyText::sequenceOf(text) == m_deactivation.sequence())
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
    SingleScriptWidget* row = takeRow();
    placeRow(new QListWidgetItem(ui->listWidgetScripts), row, path, hotkey);
    return row;
}

SingleScriptWidget* ScriptsListWidget::takeRow()
{
    if (SingleScriptWidget* kept = m_rowPool->takeSpare())
        return kept;
    auto* row = new SingleScriptWidget(ui->listWidgetScripts->viewport());
    // Each request of a row is a command of the page's row commands.
    const auto command = [this](void (ScenarioRowCommands::*run)(SingleScriptWidget*)) {
        return [this, run](SingleScriptWidget* requester) {
            (m_rowCommands.*run)(requester);
        };
    };
    connect(row, &SingleScriptWidget::chooseRequested, this,
            command(&ScenarioRowCommands::chooseFile));
    connect(row, &SingleScriptWidget::removeRequested, this, command(&ScenarioRowCommands::remove));
    connect(row, &SingleScriptWidget::configureRequested, this,
            command(&ScenarioRowCommands::configure));
    connect(row, &SingleScriptWidget::duplicateRequested, this,
            command(&ScenarioRowCommands::duplicate));
    connect(row, &SingleScriptWidget::exportRequested, this,
            command(&ScenarioRowCommands::exportFrom));
    connect(row, &SingleScriptWidget::importRequested, this,
            command(&ScenarioRowCommands::importInto));
    connect(row, &SingleScriptWidget::editRequested, this, command(&ScenarioRowCommands::edit));
    connect(row, &SingleScriptWidget::logRequested, this, [this](SingleScriptWidget* requester) {
        emit logRequested(QFileInfo(requester->path()).completeBaseName());
    });
    connect(row, &SingleScriptWidget::hotKeyChanged, this,
            [this](const QString& combination, SingleScriptWidget* requester) {
                m_rowCommands.changeHotkey(combination, requester);
            });
    return row;
}

void ScriptsListWidget::placeRow(QListWidgetItem* item, SingleScriptWidget* row,
                                 const QString& path, const QString& hotkey)
{
    row->setPath(path);
    row->showHotkey(hotkey);
    item->setFlags(Qt::ItemIsEnabled);
    item->setSizeHint(row->sizeHint());
    ui->listWidgetScripts->setItemWidget(item, row);
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

void ScriptsListWidget::setModelHotkey(int i, const QString& nativeText)
{
    m_model->setData(m_model->index(i), QVariant::fromValue(HotkeyText::sequenceOf(nativeText)),
                     ScriptsModel::ActivateCombinationRole);
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
