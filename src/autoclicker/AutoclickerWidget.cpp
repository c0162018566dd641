#include "AutoclickerWidget.h"

#include "AutoclickerFile.h"
#include "core/SettingsFile.h"
#include "core/SettingsNormalization.h"
#include "hotkeys/HotkeyAssignment.h"
#include "hotkeys/HotkeyOwnerTexts.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayFeed.h"
#include "ui/appearance/IconManager.h"
#include "ui/prompts/Prompter.h"
#include "ui_AutoclickerWidget.h"

#include <QEvent>
#include <QSignalBlocker>

namespace {

// The item whose data is `value`; the first item when none has it.
int indexOfData(const QComboBox* combo, int value)
{
    const int index = combo->findData(value);
    return index >= 0 ? index : 0;
}

// The selected item's data; its index when it has none.
int selectedData(const QComboBox* combo)
{
    const QVariant data = combo->currentData();
    return data.isValid() ? data.toInt() : combo->currentIndex();
}

QKeySequence sequenceOf(const QString& nativeText)
{
    return QKeySequence::fromString(nativeText, QKeySequence::NativeText);
}

QString nativeText(const QKeySequence& sequence)
{
    return sequence.toString(QKeySequence::NativeText);
}

} // namespace

// Marks the page busy for its lifetime, when it is free; a command also refreshes the profile
// buttons on its way out, however it ends.
class AutoclickerWidget::BusyScope
{
public:
    BusyScope(AutoclickerWidget& page, Busy state) : m_page(page), m_state(state)
    {
        m_entered = page.m_busy == Busy::Free;
        if (m_entered)
            page.m_busy = state;
    }
    ~BusyScope()
    {
        if (!m_entered)
            return;
        m_page.m_busy = Busy::Free;
        if (m_state == Busy::Command)
            m_page.refreshProfileButtons();
        if (std::exchange(m_page.m_storeWhenFree, false))
            m_page.storeUi(true);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    bool entered() const { return m_entered; }

private:
    AutoclickerWidget& m_page;
    Busy m_state;
    bool m_entered = false;
};

AutoclickerWidget::AutoclickerWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::AutoclickerWidget), m_machine(*this, this), m_modeShortcut(this),
      m_toggleShortcut(this), m_profileCommands(*this)
{
    ui->setupUi(this);
    m_modeShortcut.setObjectName(QStringLiteral("modeShortcut"));
    m_toggleShortcut.setObjectName(QStringLiteral("toggleShortcut"));

    const QString toggleText = loadSettings().autoclickerToggleHotkey;
    {
        const QSignalBlocker blocker(ui->toggleHotkeyEdit);
        ui->toggleHotkeyEdit->setText(toggleText);
    }
    applyHotkey(m_toggleShortcut, storedHotkey(toggleText), false);

    setUpControls();
    connectControls();

    applyInputTypeVisibility();
    applyMoveVisibility();
    applyRepeatVisibility();

    loadProfiles();
}

AutoclickerWidget::~AutoclickerWidget() = default;

void AutoclickerWidget::setUpControls()
{
    ui->inputTypeCombo->setItemData(0, AutoclickerSettings::Mouse);
    ui->inputTypeCombo->setItemData(1, AutoclickerSettings::Keyboard);
    ui->inputTypeCombo->setItemData(2, AutoclickerSettings::NoClicks);
    ui->buttonCombo->setItemData(0, int(Qt::LeftButton));
    ui->buttonCombo->setItemData(1, int(Qt::RightButton));
    ui->buttonCombo->setItemData(2, int(Qt::MiddleButton));
    for (int i = 0; i < 3; ++i)
        ui->clickCountCombo->setItemData(i, i + 1);

    const QList<QAbstractButton*> intervalButtons = {ui->delayRandNone, ui->delayRandSmall,
                                                     ui->delayRandMedium, ui->delayRandLarge};
    const QList<QAbstractButton*> moveButtons = {ui->moveRandNone, ui->moveRandSmall,
                                                 ui->moveRandMedium, ui->moveRandLarge};
    for (int id = 0; id < 4; ++id) {
        m_intervalRandomGroup.addButton(intervalButtons[id], id);
        m_moveRandomGroup.addButton(moveButtons[id], id);
    }

    IconManager& icons = IconManager::instance();
    icons.setIcon(ui->toolButtonAddAutockecer, QStringLiteral("add-large-line"));
    icons.setIcon(ui->toolButtonRenameAutockecer, QStringLiteral("input-field"));
    icons.setIcon(ui->toolButtonDublicateAutockecer, QStringLiteral("file-copy-line"));
    icons.setIcon(ui->toolButtonImportAutockecer, QStringLiteral("upload-2-line"));
    icons.setIcon(ui->toolButtonExportAutockecer, QStringLiteral("download-2-line"));
    icons.setIcon(ui->toolButtonDeleteAutockecer, QStringLiteral("delete-bin-6-line"));
}

void AutoclickerWidget::connectControls()
{
    connect(&m_toggleShortcut, &QGlobalShortcut::activated, &m_machine,
            &AutoclickerStateMachine::toggleArmed);
    connect(&m_modeShortcut, &QGlobalShortcut::activated, &m_machine,
            &AutoclickerStateMachine::modeHotkeyPressed);
    connect(&m_machine, &AutoclickerStateMachine::armedByUser, this,
            &AutoclickerWidget::onArmedByUser);
    connect(&m_machine, &AutoclickerStateMachine::clickingChanged, this, [this] {
        refreshStatus();
        showActivityOnOverlay();
    });

    connect(ui->enableButton, &QPushButton::toggled, this, &AutoclickerWidget::onEnableToggled);
    connect(ui->toggleHotkeyEdit, &QLineEdit::textChanged, this,
            &AutoclickerWidget::onToggleHotkeyEdited);
    connect(ui->hotkeyEdit, &QLineEdit::textChanged, this, &AutoclickerWidget::onModeHotkeyEdited);
    connect(ui->comboBox, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::onProfileChanged);
    connect(ui->toolButtonAddAutockecer, &QToolButton::clicked, this,
            [this] { runCommand(&AutoclickerProfileCommands::add); });
    connect(ui->toolButtonRenameAutockecer, &QToolButton::clicked, this,
            [this] { runCommand(&AutoclickerProfileCommands::rename); });
    connect(ui->toolButtonDublicateAutockecer, &QToolButton::clicked, this,
            [this] { runCommand(&AutoclickerProfileCommands::duplicate); });
    connect(ui->toolButtonImportAutockecer, &QToolButton::clicked, this,
            [this] { runCommand(&AutoclickerProfileCommands::importProfile); });
    connect(ui->toolButtonExportAutockecer, &QToolButton::clicked, this,
            [this] { runCommand(&AutoclickerProfileCommands::exportCurrent); });
    connect(ui->toolButtonDeleteAutockecer, &QToolButton::clicked, this,
            [this] { runCommand(&AutoclickerProfileCommands::remove); });

    connect(ui->intervalSpin, &QSpinBox::valueChanged, this, &AutoclickerWidget::onSettingsChanged);
    connect(ui->inputTypeCombo, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::applyInputTypeVisibility);
    connect(ui->inputTypeCombo, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::onSettingsChanged);
    connect(ui->buttonCombo, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::onSettingsChanged);
    connect(ui->keyEdit, &QLineEdit::textChanged, this, &AutoclickerWidget::onSettingsChanged);
    connect(ui->moveCheck, &QCheckBox::toggled, this, &AutoclickerWidget::applyMoveVisibility);
    connect(ui->moveCheck, &QCheckBox::toggled, this, &AutoclickerWidget::onSettingsChanged);
    connect(ui->moveXSpin, &QSpinBox::valueChanged, this, &AutoclickerWidget::onSettingsChanged);
    connect(ui->moveYSpin, &QSpinBox::valueChanged, this, &AutoclickerWidget::onSettingsChanged);
    connect(ui->smoothCheck, &QCheckBox::toggled, this, &AutoclickerWidget::onSettingsChanged);
    connect(ui->clickCountCombo, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::onSettingsChanged);
    connect(ui->repeatSpin, &QSpinBox::valueChanged, this, &AutoclickerWidget::onSettingsChanged);
    connect(&m_intervalRandomGroup, &QButtonGroup::idClicked, this,
            &AutoclickerWidget::onSettingsChanged);
    connect(&m_moveRandomGroup, &QButtonGroup::idClicked, this,
            &AutoclickerWidget::onSettingsChanged);
    connect(ui->modeCombo, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::applyRepeatVisibility);
    connect(ui->modeCombo, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::onSettingsChanged);
}

// --- profiles and the file ------------------------------------------------------------------

void AutoclickerWidget::loadProfiles()
{
    const BusyScope busy(*this, Busy::Loading);
    m_machine.restoreArmed(AutoclickerFile::load(AutoclickerFile::path(), m_profiles));
    fillProfileSelector();
    selectProfile(m_profiles.currentIndex);
    refreshStatus();
    saveProfiles();
}

void AutoclickerWidget::saveProfiles()
{
    if (m_profiles.list.isEmpty())
        return;
    AutoclickerFile::save(AutoclickerFile::path(), m_profiles, m_machine.isArmed());
    showActivityOnOverlay();
}

void AutoclickerWidget::showActivityOnOverlay()
{
    const AutoclickerProfile* current = m_profiles.current();
    const AutoclickerActivity activity = m_machine.isClicking() ? AutoclickerActivity::Clicking
                                         : m_machine.isArmed()  ? AutoclickerActivity::Armed
                                                                : AutoclickerActivity::Off;
    OverlayFeed::current().setAutoclickerState(current ? current->name : QString(), activity);
}

int AutoclickerWidget::mode() const
{
    return ui->modeCombo->currentIndex();
}

// The settings the controls show.
AutoclickerSettings AutoclickerWidget::settings() const
{
    AutoclickerSettings s;
    s.interval = ui->intervalSpin->value();
    s.inputType = selectedData(ui->inputTypeCombo);
    if (s.inputType == AutoclickerSettings::Mouse) {
        const QVariant button = ui->buttonCombo->currentData();
        s.button = button.isValid() ? button.toInt() : 1;
    } else if (s.inputType == AutoclickerSettings::Keyboard) {
        const QKeySequence key = sequenceOf(ui->keyEdit->text());
        s.key = key.isEmpty() ? 0 : key[0].toCombined();
    }
    s.useMove = ui->moveCheck->isChecked();
    if (s.useMove)
        s.move = QPoint(ui->moveXSpin->value(), ui->moveYSpin->value());
    s.smooth = ui->smoothCheck->isChecked();
    s.clickCount = s.inputType == AutoclickerSettings::NoClicks
                       ? 0
                       : std::max(1, ui->clickCountCombo->currentData().toInt());
    s.mode = ui->modeCombo->currentIndex();
    s.repeat = ui->repeatSpin->value();
    s.delayRand = m_intervalRandomGroup.checkedId();
    s.moveRand = m_moveRandomGroup.checkedId();
    // An empty field may stand for a combination the profile keeps but could not register.
    s.hotkey =
        ui->hotkeyEdit->text().isEmpty() ? m_refusedHotkey : sequenceOf(ui->hotkeyEdit->text());
    s.enabled = m_machine.isArmed();
    return s;
}

void AutoclickerWidget::applyToUi(const AutoclickerSettings& s)
{
    m_loadingUi = true;
    ui->intervalSpin->setValue(s.interval);
    ui->inputTypeCombo->setCurrentIndex(indexOfData(ui->inputTypeCombo, s.inputType));
    ui->buttonCombo->setCurrentIndex(indexOfData(ui->buttonCombo, s.button));
    {
        const QSignalBlocker blocker(ui->keyEdit);
        ui->keyEdit->setText(s.key == 0 ? QString() : nativeText(QKeySequence(s.key)));
    }
    ui->clickCountCombo->setCurrentIndex(
        indexOfData(ui->clickCountCombo, std::max(1, s.clickCount)));
    {
        // The mode is evaluated once the whole profile is shown (see selectProfile).
        const QSignalBlocker blocker(ui->modeCombo);
        ui->modeCombo->setCurrentIndex(s.mode >= 0 && s.mode < ui->modeCombo->count() ? s.mode : 0);
    }
    applyRepeatVisibility();
    ui->repeatSpin->setValue(s.repeat);
    ui->moveCheck->setChecked(s.useMove);
    ui->moveXSpin->setValue(s.move.x());
    ui->moveYSpin->setValue(s.move.y());
    ui->smoothCheck->setChecked(s.smooth);
    if (QAbstractButton* button = m_intervalRandomGroup.button(s.delayRand))
        button->setChecked(true);
    if (QAbstractButton* button = m_moveRandomGroup.button(s.moveRand))
        button->setChecked(true);
    {
        const QSignalBlocker blocker(ui->hotkeyEdit);
        ui->hotkeyEdit->setText(nativeText(s.hotkey));
    }
    m_loadingUi = false;
    m_machine.settingsReplaced();
    applyProfileHotkey(s.hotkey);
}

void AutoclickerWidget::storeUi(bool save)
{
    if (AutoclickerProfile* current = m_profiles.current())
        current->settings = settings();
    m_profiles.setEnabled(m_machine.isArmed());
    if (save)
        saveProfiles();
}

void AutoclickerWidget::selectProfile(int index)
{
    if (index < 0 || index >= m_profiles.list.size())
        return;
    m_profiles.currentIndex = index;
    {
        const QSignalBlocker blocker(ui->comboBox);
        ui->comboBox->setCurrentIndex(index);
    }
    applyToUi(m_profiles.list[index].settings);
    m_profiles.setEnabled(m_machine.isArmed());
    refreshStatus();
    refreshProfileButtons();
    m_machine.profileShown();
}

void AutoclickerWidget::fillProfileSelector()
{
    const QSignalBlocker blocker(ui->comboBox);
    ui->comboBox->clear();
    for (const AutoclickerProfile& profile : std::as_const(m_profiles.list))
        ui->comboBox->addItem(profile.name);
    ui->comboBox->setCurrentIndex(m_profiles.currentIndex);
}

void AutoclickerWidget::refreshProfileButtons()
{
    const bool hasCurrent = m_profiles.current() != nullptr;
    const bool changeable = hasCurrent && !m_profiles.isCurrentDefault();
    ui->toolButtonRenameAutockecer->setEnabled(changeable);
    ui->toolButtonDeleteAutockecer->setEnabled(changeable);
    ui->toolButtonDublicateAutockecer->setEnabled(hasCurrent);
    ui->toolButtonExportAutockecer->setEnabled(hasCurrent);
}

void AutoclickerWidget::onProfileChanged(int index)
{
    if (index == m_profiles.currentIndex || index < 0 || index >= m_profiles.list.size())
        return;
    const BusyScope busy(*this, Busy::Selection);
    if (!busy.entered() || !confirmSelectionHotkey(index)) {
        const QSignalBlocker blocker(ui->comboBox);
        ui->comboBox->setCurrentIndex(m_profiles.currentIndex);
        return;
    }
    storeUi(false);
    selectProfile(index);
    saveProfiles();
}

bool AutoclickerWidget::confirmSelectionHotkey(int index)
{
    AutoclickerSettings& target = m_profiles.list[index].settings;
    QString owner;
    if (target.hotkey.isEmpty() ||
        !ShortcutRegistry::instance().isInUse(target.hotkey, {&m_modeShortcut}, &owner))
        return true;
    Prompt prompt;
    prompt.kind = Prompt::Kind::Warning;
    prompt.parent = this;
    prompt.text =
        tr("Сочетание \"%1\" конфликтует: %2.\nГорячая клавиша будет сброшена. Задайте её "
           "вручную.\nПродолжить?")
            .arg(nativeText(target.hotkey), owner);
    prompt.customButtons = {{tr("Продолжить"), QMessageBox::AcceptRole},
                            {tr("Отмена"), QMessageBox::RejectRole}};
    prompt.defaultCustomButton = 0;
    prompt.escapeCustomButton = 1;
    if (Prompter::current().ask(prompt).customButton != 0)
        return false;
    target.hotkey = QKeySequence();
    saveProfiles();
    return true;
}

void AutoclickerWidget::runCommand(void (AutoclickerProfileCommands::*command)())
{
    const BusyScope busy(*this, Busy::Command);
    if (busy.entered())
        (m_profileCommands.*command)();
}

// --- the user's switches and the settings ---------------------------------------------------

void AutoclickerWidget::onEnableToggled(bool checked)
{
    if (!m_machine.setArmed(checked)) { // a scenario is active
        const QSignalBlocker blocker(ui->enableButton);
        ui->enableButton->setChecked(false);
    }
}

void AutoclickerWidget::onArmedByUser(bool armed)
{
    refreshStatus();
    m_profiles.setEnabled(armed);
    storeSettings();
}

void AutoclickerWidget::onSettingsChanged()
{
    if (m_loadingUi)
        return;
    storeSettings();
    m_machine.settingsChanged();
}

void AutoclickerWidget::storeSettings()
{
    const BusyScope busy(*this, Busy::Settings);
    if (busy.entered())
        storeUi(true);
    else
        m_storeWhenFree = true; // a hotkey pressed while one of the page's dialogs is open
}

void AutoclickerWidget::onScenarioActivationChanged(bool active)
{
    const bool wasArmed = m_machine.isArmed();
    if (!m_machine.setScenarioActive(active))
        return;
    if (wasArmed && !m_machine.isArmed()) {
        m_profiles.setEnabled(false);
        // The file keeps the armed state; the overlay shows the autoclicker as it is.
        showActivityOnOverlay();
    }
    m_modeShortcut.setEnabled(!active);
    m_toggleShortcut.setEnabled(!active);
    refreshStatus();
}

// --- hotkeys --------------------------------------------------------------------------------

HotkeyAssignment AutoclickerWidget::assignHotkey(QGlobalShortcut& shortcut,
                                                 const QKeySequence& sequence)
{
    const AutoclickerProfile* current = m_profiles.current();
    const QString ownerText = &shortcut == &m_toggleShortcut
                                  ? HotkeyOwnerTexts::autoclickerToggle()
                                  : HotkeyOwnerTexts::autoclickerProfile(current ? current->name : QString());
    const HotkeyAssignment assignment =
        HotkeyAssignment::apply(shortcut, &shortcut, ownerText, sequence);
    if (assignment.succeeded())
        pushHotkeysToOverlay();
    return assignment;
}

bool AutoclickerWidget::applyHotkey(QGlobalShortcut& shortcut, const QKeySequence& sequence,
                                    bool showErrors)
{
    const HotkeyAssignment assignment = assignHotkey(shortcut, sequence);
    if (!assignment.succeeded() && showErrors)
        assignment.report(this, QString());
    return assignment.succeeded();
}

void AutoclickerWidget::applyProfileHotkey(const QKeySequence& hotkey)
{
    m_refusedHotkey = QKeySequence();
    const HotkeyAssignment assignment = assignHotkey(m_modeShortcut, hotkey);
    if (assignment.succeeded())
        return;
    assignHotkey(m_modeShortcut, QKeySequence()); // gives up the previous profile's hotkey
    m_refusedHotkey = hotkey;
    {
        const QSignalBlocker blocker(ui->hotkeyEdit);
        ui->hotkeyEdit->clear();
    }
    if (m_busy != Busy::Loading) // loading shows no message
        assignment.report(this, QString());
}

void AutoclickerWidget::pushHotkeysToOverlay()
{
    OverlayFeed::current().setAutoclickerHotkeys(nativeText(m_toggleShortcut.keySequence()),
                                                 nativeText(m_modeShortcut.keySequence()));
}

void AutoclickerWidget::onToggleHotkeyEdited(const QString& text)
{
    const QKeySequence previous = m_toggleShortcut.keySequence();
    if (applyHotkey(m_toggleShortcut, sequenceOf(text), true)) {
        AppSettings settings = loadSettings();
        settings.autoclickerToggleHotkey = text;
        saveSettings(settings);
        return;
    }
    const QSignalBlocker blocker(ui->toggleHotkeyEdit);
    ui->toggleHotkeyEdit->setText(nativeText(previous));
}

void AutoclickerWidget::onModeHotkeyEdited(const QString& text)
{
    const QKeySequence previous = m_modeShortcut.keySequence();
    if (applyHotkey(m_modeShortcut, sequenceOf(text), true)) {
        m_refusedHotkey = QKeySequence(); // the user chose another
        onSettingsChanged();
        return;
    }
    const QSignalBlocker blocker(ui->hotkeyEdit);
    ui->hotkeyEdit->setText(nativeText(previous));
}

// --- what the page shows --------------------------------------------------------------------

void AutoclickerWidget::refreshStatus()
{
    const bool on = m_machine.isArmed();
    {
        const QSignalBlocker blocker(ui->enableButton);
        ui->enableButton->setChecked(on);
    }
    ui->enableButton->setText(on ? tr("Выключить") : tr("Включить"));
    ui->enableButton->setEnabled(!m_machine.isLocked());
    if (m_machine.isLocked())
        ui->enableStatusLabel->setText(tr("Автокликер недоступен при активном сценарии"));
    else if (m_machine.isClicking())
        ui->enableStatusLabel->setText(tr("Автокликер кликает"));
    else
        ui->enableStatusLabel->setText(on ? tr("Автокликер работает") : tr("Автокликер выключен"));
}

void AutoclickerWidget::applyInputTypeVisibility()
{
    const int inputType = selectedData(ui->inputTypeCombo);
    ui->buttonLabel->setVisible(inputType == AutoclickerSettings::Mouse);
    ui->buttonCombo->setVisible(inputType == AutoclickerSettings::Mouse);
    ui->keyLabel->setVisible(inputType == AutoclickerSettings::Keyboard);
    ui->keyEdit->setVisible(inputType == AutoclickerSettings::Keyboard);
    const bool clicks = inputType != AutoclickerSettings::NoClicks;
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->clickCountLabel), static_cast<QWidget*>(ui->clickCountCombo)}) {
        widget->setVisible(clicks);
        widget->setEnabled(clicks);
    }
}

void AutoclickerWidget::applyMoveVisibility()
{
    const bool move = ui->moveCheck->isChecked();
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->moveXLabel), static_cast<QWidget*>(ui->moveXSpin),
          static_cast<QWidget*>(ui->moveYLabel), static_cast<QWidget*>(ui->moveYSpin),
          static_cast<QWidget*>(ui->smoothCheck), static_cast<QWidget*>(ui->moveRandLabel)})
        widget->setVisible(move);
    for (QAbstractButton* button : m_moveRandomGroup.buttons())
        button->setVisible(move);
}

void AutoclickerWidget::applyRepeatVisibility()
{
    const bool counted = ui->modeCombo->currentIndex() == AutoClicker::HotkeyRepeat;
    ui->repeatLabel->setVisible(counted);
    ui->repeatSpin->setVisible(counted);
}

void AutoclickerWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        fillProfileSelector();
        refreshStatus();
        applyInputTypeVisibility();
    }
    QWidget::changeEvent(event);
}
