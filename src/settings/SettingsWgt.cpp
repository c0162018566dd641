#include "SettingsWgt.h"

#include "DriverInstaller.h"
#include "LicensesDialog.h"
#include "LogFolder.h"
#include "OverlayStyleValues.h"
#include "RunElevatedChoice.h"
#include "SignalsBlocked.h"
#include "VoiceChoices.h"
#include "VoiceSource.h"
#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "core/SettingsNormalization.h"
#include "hotkeys/HotkeyAssignment.h"
#include "input/InputSender.h"
#include "overlay/OverlayController.h"
#include "overlay/OverlayPlacement.h"
#include "ui/prompts/Prompter.h"
#include "ui_SettingsWgt.h"

#include <QApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QSignalBlocker>
#include <QTextToSpeech>

#include <algorithm>

Q_LOGGING_CATEGORY(lcSettingsPage, "clavitor.settings.page")

namespace {

constexpr int kCustomPosition = OverlayPlacement::Custom;

void publish(const char* property, const QVariant& value)
{
    qApp->setProperty(property, value);
}

} // namespace

SettingsWgt::SettingsWgt(QWidget* parent)
    : QWidget(parent), ui(new Ui::SettingsWgt), m_driverInstaller(new DriverInstaller(this))
{
    ui->setupUi(this);
    ui->tabWidget->setCurrentIndex(0);
    connect(ui->pushButtonLicenses, &QPushButton::clicked, this,
            [this] { LicensesDialog::openOver(this); });
    offerLogFolder(ui->pushButtonLogFolder);
    offerElevatedStart();
    if (!VoiceSource::installed())
        m_speech = new QTextToSpeech(this);
    fillVoiceList();
    prepareOverlayControls();
    connectGeneralAndModifiers();

    offerDriverWhereItExists();

    const AppSettings settings = loadSettings();
    showStoredSettings(settings);
    fillOverlayControls(settings.overlay, settings.overlayHotkey);

    publish(AppProperty::isSound, ui->radioButtonOn->isChecked());
    // A stored driver mode is checked against the driver now.
    slotModeChanged();
    slotSpeechToggled(ui->scenarioSpeechCheck->isChecked());
    // What the page shows is published, so a stored driver mode that fell back to the system
    // API above does not come back with the stored record.
    publishSettings(settingsFromForm());
    setDirty(false);
}

SettingsWgt::~SettingsWgt()
{
    OverlayController::instance().stopPositioning();
    saveSettings(settingsFromForm());
}

void SettingsWgt::connectGeneralAndModifiers()
{
    connect(ui->radioButtonOn, &QRadioButton::toggled, this, &SettingsWgt::slotOnClick);
    connect(ui->radioButtonOff, &QRadioButton::toggled, this, &SettingsWgt::onSettingChanged);
    for (QRadioButton* mode : {ui->radioButtonSystemApi, ui->radioButtonDriver}) {
        connect(mode, &QRadioButton::toggled, this, &SettingsWgt::slotModeChanged);
        connect(mode, &QRadioButton::toggled, this, &SettingsWgt::onSettingChanged);
    }
    for (QDoubleSpinBox* spin : {ui->systemapiXYmod, ui->systemapiXmod, ui->systemapiYmod,
                                 ui->driverXYmod, ui->driverXmod, ui->driverYmod})
        connect(spin, &QDoubleSpinBox::valueChanged, this, &SettingsWgt::onSettingChanged);
    connect(ui->scenarioSpeechCheck, &QCheckBox::toggled, this, &SettingsWgt::slotSpeechToggled);
    connect(ui->scenarioSpeechCheck, &QCheckBox::toggled, this, &SettingsWgt::onSettingChanged);
    connect(ui->scenarioVoiceCombo, &QComboBox::currentIndexChanged, this,
            &SettingsWgt::slotVoiceChanged);
    connect(ui->scenarioRateSpin, &QDoubleSpinBox::valueChanged, this,
            &SettingsWgt::slotRateSpinChanged);
    connect(ui->scriptMemorySpin, &QSpinBox::valueChanged, this, &SettingsWgt::onSettingChanged);
}

void SettingsWgt::showStoredSettings(const AppSettings& settings)
{
    const SignalsBlocked blocked{
        ui->radioButtonOn,   ui->radioButtonOff, ui->radioButtonDriver,   ui->radioButtonSystemApi,
        ui->systemapiXYmod,  ui->systemapiXmod,  ui->systemapiYmod,       ui->driverXYmod,
        ui->driverXmod,      ui->driverYmod,     ui->scenarioSpeechCheck, ui->scenarioRateSpin,
        ui->scriptMemorySpin};

    (settings.isSound ? ui->radioButtonOn : ui->radioButtonOff)->setChecked(true);
    (settings.controlMode == 1 ? ui->radioButtonDriver : ui->radioButtonSystemApi)
        ->setChecked(true);
    ui->systemapiXYmod->setValue(settings.systemApiXY);
    ui->systemapiXmod->setValue(settings.systemApiX);
    ui->systemapiYmod->setValue(settings.systemApiY);
    ui->driverXYmod->setValue(settings.driverXY);
    ui->driverXmod->setValue(settings.driverX);
    ui->driverYmod->setValue(settings.driverY);
    // Shown even when there is no voice to speak with: the stored choice stays.
    ui->scenarioSpeechCheck->setChecked(settings.scenarioSpeechEnabled);
    m_storedVoice = settings.scenarioSpeechVoice;
    selectVoice(settings.scenarioSpeechVoice);
    ui->scenarioRateSpin->setValue(clampSpeechRate(settings.scenarioSpeechRate));
    ui->scriptMemorySpin->setValue(clampScriptMemoryLimit(settings.scriptMemoryLimitMiB));
}

void SettingsWgt::setDirty(bool dirty)
{
    m_dirty = dirty;
    ui->pushButtonSave->setEnabled(dirty);
}

// ---- General tab -----------------------------------------------------------------------

void SettingsWgt::slotOnClick(bool on)
{
    publish(AppProperty::isSound, on);
    onSettingChanged();
}

void SettingsWgt::slotModeChanged()
{
    // Falling back to the system API below toggles both buttons again.
    if (m_changingMode)
        return;
    m_changingMode = true;
    int mode = 0;
    if (ui->radioButtonDriver->isChecked()) {
        // A stored driver mode on a system the driver is not made for falls back quietly:
        // the disabled choice says why.
        if (ui->radioButtonDriver->isEnabled() && m_driverInstaller->ensureDriver())
            mode = 1;
        else
            ui->radioButtonSystemApi->setChecked(true);
    }
    m_changingMode = false;
    publish(AppProperty::controlMode, mode);
    qCInfo(lcSettingsPage) << "Режим ввода установлен на"
                           << (mode == 1 ? "Драйвер" : "Системный API");
}

void SettingsWgt::offerElevatedStart()
{
    // Only Windows keeps the programs of an administrator out of reach of the others.
    ui->runElevatedCheck->setVisible(RunElevatedChoice::isOffered());
    {
        const QSignalBlocker blocker(ui->runElevatedCheck);
        ui->runElevatedCheck->setChecked(RunElevatedChoice::load());
    }
    // Stored at once; an elevated Clavitor that was started to take over ends this one.
    connect(ui->runElevatedCheck, &QCheckBox::toggled, this, [](bool on) {
        if (RunElevatedChoice::apply(on))
            QCoreApplication::quit();
    });
}

void SettingsWgt::offerDriverWhereItExists()
{
    if (DriverInstaller::isMadeForThisSystem() || isVirtualMouseDriverPresent())
        return;
    ui->radioButtonDriver->setEnabled(false);
    ui->radioButtonDriver->setToolTip(tr("Драйвер виртуальной мыши есть только для Windows."));
}

void SettingsWgt::slotSpeechToggled(bool enabled)
{
    enableVoiceControls(enabled);
    publish(AppProperty::scenarioSpeechEnabled, enabled);
    publishVoiceAndRate();
}

void SettingsWgt::slotVoiceChanged(int)
{
    publish(AppProperty::scenarioSpeechVoice, selectedVoiceKey());
    onSettingChanged();
}

void SettingsWgt::slotRateSpinChanged(double value)
{
    publish(AppProperty::scenarioSpeechRate, clampSpeechRate(value));
    onSettingChanged();
}

// The voice and rate controls take input only while speech is on and there is a voice.
void SettingsWgt::enableVoiceControls(bool speech)
{
    const bool usable = speech && ui->scenarioVoiceCombo->count() > 0;
    ui->scenarioVoiceLabel->setEnabled(usable);
    ui->scenarioVoiceCombo->setEnabled(usable);
    ui->scenarioRateLabel->setEnabled(usable);
    ui->scenarioRateSpin->setEnabled(usable);
}

QList<QVoice> SettingsWgt::availableVoices() const
{
    if (const VoiceSource* source = VoiceSource::installed())
        return source->voices();
    return m_speech ? m_speech->availableVoices() : QList<QVoice>();
}

void SettingsWgt::fillVoiceList()
{
    QComboBox* combo = ui->scenarioVoiceCombo;
    const QSignalBlocker blocker(combo);
    combo->clear();
    const QList<VoiceChoices::Item> voices = VoiceChoices::offered(availableVoices());
    if (voices.isEmpty()) {
        const QSignalBlocker checkBlocker(ui->scenarioSpeechCheck);
        ui->scenarioSpeechCheck->setChecked(false);
        ui->scenarioSpeechCheck->setEnabled(false);
        enableVoiceControls(false);
        return;
    }
    ui->scenarioSpeechCheck->setEnabled(true);
    ui->scenarioVoiceLabel->setEnabled(true);
    for (const VoiceChoices::Item& voice : voices) {
        combo->addItem(voice.text, voice.key);
        combo->setItemData(combo->count() - 1, voice.toolTip, Qt::ToolTipRole);
    }
}

void SettingsWgt::selectVoice(const QString& key)
{
    QComboBox* combo = ui->scenarioVoiceCombo;
    const QSignalBlocker blocker(combo);
    const int index = key.isEmpty() ? -1 : combo->findData(key);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

QString SettingsWgt::selectedVoiceKey() const
{
    // Without a voice to choose from, the choice made earlier is kept rather than erased.
    if (ui->scenarioVoiceCombo->count() == 0)
        return m_storedVoice;
    return ui->scenarioVoiceCombo->currentData().toString();
}

void SettingsWgt::publishVoiceAndRate()
{
    publish(AppProperty::scenarioSpeechVoice, selectedVoiceKey());
    publish(AppProperty::scenarioSpeechRate, clampSpeechRate(ui->scenarioRateSpin->value()));
}

// ---- Modifiers tab ---------------------------------------------------------------------

void SettingsWgt::on_resetSystemAPImod_clicked()
{
    for (QDoubleSpinBox* spin : {ui->systemapiXYmod, ui->systemapiXmod, ui->systemapiYmod}) {
        const QSignalBlocker blocker(spin);
        spin->setValue(1.0);
    }
    onSettingChanged();
}

void SettingsWgt::on_resetDriverMod_clicked()
{
    for (QDoubleSpinBox* spin : {ui->driverXYmod, ui->driverXmod, ui->driverYmod}) {
        const QSignalBlocker blocker(spin);
        spin->setValue(1.0);
    }
    onSettingChanged();
}

void SettingsWgt::onSettingChanged()
{
    setDirty(true);
}

// ---- Overlay tab -----------------------------------------------------------------------

void SettingsWgt::prepareOverlayControls()
{
    m_backgroundPalette = OverlayPalette::backgroundPresets();
    m_textPalette = OverlayPalette::textPresets();
    fillAnchorCombo();
    const OverlaySettings defaults;
    fillColorCombo(ui->overlayBackgroundCombo, m_backgroundPalette, defaults.backgroundColor);
    fillColorCombo(ui->overlayTextCombo, m_textPalette, defaults.textColor);
    for (QComboBox* combo : {ui->overlayBackgroundCombo, ui->overlayTextCombo})
        combo->setIconSize(OverlayStyleValues::kSwatchSize);
    for (QSpinBox* spin : {ui->overlayBackgroundOpacitySpin, ui->overlayTextOpacitySpin}) {
        spin->setRange(0, 100);
        spin->setValue(100);
    }

    for (QCheckBox* check : {ui->overlayEnableCheck, ui->overlayShowScenariosCheck,
                             ui->overlayShowAutoclickerCheck, ui->overlayHighlightActiveCheck})
        connect(check, &QCheckBox::toggled, this, &SettingsWgt::onOverlaySettingsChanged);
    for (QComboBox* combo : {ui->overlayBackgroundCombo, ui->overlayTextCombo})
        connect(combo, &QComboBox::currentIndexChanged, this,
                &SettingsWgt::onOverlaySettingsChanged);
    for (QSpinBox* spin : {ui->overlayBackgroundOpacitySpin, ui->overlayTextOpacitySpin})
        connect(spin, &QSpinBox::valueChanged, this, &SettingsWgt::onOverlaySettingsChanged);
    connect(ui->overlayAnchorCombo, &QComboBox::currentIndexChanged, this,
            &SettingsWgt::onOverlayAnchorChanged);
    connect(ui->overlayMoveButton, &QPushButton::clicked, this,
            &SettingsWgt::onOverlayMoveButtonClicked);
    connect(ui->overlayHotkeyEdit, &QLineEdit::textChanged, this,
            &SettingsWgt::onOverlayHotkeyEdited);
    OverlayController& overlay = OverlayController::instance();
    connect(&overlay, &OverlayController::customPositionChanged, this,
            &SettingsWgt::onOverlayPositionChanged);
    connect(&overlay, &OverlayController::overlayEnabledChanged, this,
            &SettingsWgt::onOverlayEnabledChanged);
}

void SettingsWgt::fillAnchorCombo()
{
    QComboBox* combo = ui->overlayAnchorCombo;
    const QSignalBlocker blocker(combo);
    const int index = combo->currentIndex();
    combo->clear();
    for (int mode = OverlayPlacement::TopLeft; mode <= kCustomPosition; ++mode)
        combo->addItem(OverlayPlacement::positionName(mode));
    combo->setCurrentIndex(index >= 0 ? index : OverlayPlacement::TopRight);
}

void SettingsWgt::fillColorCombo(QComboBox* combo, const QList<OverlayColorPreset>& palette,
                                 const QColor& selected)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    int index = -1;
    for (const OverlayColorPreset& preset : palette) {
        if (index < 0 && preset.color.rgb() == selected.rgb())
            index = combo->count();
        combo->addItem(OverlayStyleValues::swatch(preset.color), preset.name, preset.color);
    }
    if (index < 0) {
        index = combo->count();
        combo->addItem(OverlayStyleValues::swatch(selected), tr("Пользовательский"), selected);
    }
    combo->setCurrentIndex(index);
}

void SettingsWgt::fillOverlayControls(const OverlaySettings& overlay, const QString& hotkey)
{
    m_filling = true;
    showOverlayBlock(overlay);
    const QKeySequence sequence = storedHotkey(hotkey);
    m_overlayHotkey = sequence.isEmpty() ? hotkey : sequence.toString(QKeySequence::PortableText);
    showOverlayHotkey(m_overlayHotkey);
    m_customPosition = overlay.customPosition;
    refreshMoveButton();
    refreshPositionLabel();
    m_filling = false;
    OverlayController::instance().setSettings(overlayFromForm());
}

// Puts the block's flags, placement, colours and opacities into the controls (their handlers
// do nothing while the page fills them).
void SettingsWgt::showOverlayBlock(const OverlaySettings& overlay)
{
    ui->overlayEnableCheck->setChecked(overlay.enabled);
    ui->overlayShowScenariosCheck->setChecked(overlay.showScenarios);
    ui->overlayShowAutoclickerCheck->setChecked(overlay.showAutoclickerStatus);
    ui->overlayHighlightActiveCheck->setChecked(overlay.highlightActiveScenario);
    ui->overlayAnchorCombo->setCurrentIndex(std::min<int>(overlay.positionMode, kCustomPosition));
    fillColorCombo(ui->overlayBackgroundCombo, m_backgroundPalette, overlay.backgroundColor);
    fillColorCombo(ui->overlayTextCombo, m_textPalette, overlay.textColor);
    ui->overlayBackgroundOpacitySpin->setValue(OverlayStyleValues::opacityToPercent(overlay.backgroundOpacity));
    ui->overlayTextOpacitySpin->setValue(OverlayStyleValues::opacityToPercent(overlay.textOpacity));
}

OverlaySettings SettingsWgt::overlayFromForm() const
{
    OverlaySettings overlay;
    overlay.enabled = ui->overlayEnableCheck->isChecked();
    overlay.positionMode = static_cast<quint8>(std::max(0, ui->overlayAnchorCombo->currentIndex()));
    overlay.backgroundColor = ui->overlayBackgroundCombo->currentData().value<QColor>();
    overlay.textColor = ui->overlayTextCombo->currentData().value<QColor>();
    overlay.backgroundOpacity = OverlayStyleValues::percentToOpacity(ui->overlayBackgroundOpacitySpin->value());
    overlay.textOpacity = OverlayStyleValues::percentToOpacity(ui->overlayTextOpacitySpin->value());
    overlay.showScenarios = ui->overlayShowScenariosCheck->isChecked();
    overlay.showAutoclickerStatus = ui->overlayShowAutoclickerCheck->isChecked();
    overlay.highlightActiveScenario = ui->overlayHighlightActiveCheck->isChecked();
    overlay.customPosition = m_customPosition;
    return overlay;
}

void SettingsWgt::refreshMoveButton()
{
    ui->overlayMoveButton->setEnabled(ui->overlayAnchorCombo->currentIndex() == kCustomPosition);
}

void SettingsWgt::refreshPositionLabel()
{
    const int index = ui->overlayAnchorCombo->currentIndex();
    ui->overlayPositionLabel->setText(
        index == kCustomPosition
            ? tr("Координаты X: %1    Y: %2").arg(m_customPosition.x()).arg(m_customPosition.y())
            : OverlayPlacement::positionName(index));
}

void SettingsWgt::onOverlayAnchorChanged(int index)
{
    if (m_filling)
        return;
    OverlayController& overlay = OverlayController::instance();
    // A custom position starts where the overlay is now, not where an old position puts it.
    if (index == kCustomPosition)
        m_customPosition = overlay.currentPosition();
    refreshMoveButton();
    refreshPositionLabel();
    if (index != kCustomPosition)
        overlay.stopPositioning();
    overlay.setSettings(overlayFromForm());
    onSettingChanged();
}

void SettingsWgt::onOverlaySettingsChanged()
{
    if (m_filling)
        return;
    OverlayController::instance().setSettings(overlayFromForm());
    onSettingChanged();
}

void SettingsWgt::onOverlayMoveButtonClicked()
{
    if (ui->overlayAnchorCombo->currentIndex() != kCustomPosition)
        ui->overlayAnchorCombo->setCurrentIndex(kCustomPosition);
    OverlaySettings overlay = overlayFromForm();
    overlay.positionMode = kCustomPosition;
    OverlayController::instance().startPositioning(overlay);
    // Save ends positioning, so it is offered even when the window appears where it was.
    onSettingChanged();
}

void SettingsWgt::onOverlayPositionChanged(QPoint position)
{
    m_customPosition = position;
    refreshPositionLabel();
    if (!m_filling)
        onSettingChanged();
}

void SettingsWgt::onOverlayEnabledChanged(bool enabled)
{
    const QSignalBlocker blocker(ui->overlayEnableCheck);
    ui->overlayEnableCheck->setChecked(enabled);
}

void SettingsWgt::onOverlayHotkeyEdited(const QString& text)
{
    const QString previous = m_overlayHotkey;
    if (!assignOverlayHotkey(storedHotkey(text))) {
        showOverlayHotkey(previous);
        return;
    }
    if (m_overlayHotkey != previous) {
        AppSettings settings = loadSettings();
        settings.overlayHotkey = m_overlayHotkey;
        saveSettings(settings);
    }
}

bool SettingsWgt::assignOverlayHotkey(const QKeySequence& sequence)
{
    QString errorText;
    int status = HotkeyAssignment::Assigned;
    if (!OverlayController::instance().setOverlayHotkey(sequence, &errorText, &status)) {
        HotkeyAssignment(static_cast<HotkeyAssignment::Status>(status), sequence, errorText)
            .report(this);
        return false;
    }
    m_overlayHotkey = sequence.toString(QKeySequence::PortableText);
    showOverlayHotkey(m_overlayHotkey);
    return true;
}

void SettingsWgt::showOverlayHotkey(const QString& text)
{
    const QSignalBlocker blocker(ui->overlayHotkeyEdit);
    ui->overlayHotkeyEdit->setText(text);
}

// ---- Save, reset, language -------------------------------------------------------------

AppSettings SettingsWgt::settingsFromForm() const
{
    // Fields this page does not show stay as stored.
    AppSettings settings = loadSettings();
    settings.isSound = ui->radioButtonOn->isChecked();
    settings.scenarioSpeechEnabled = ui->scenarioSpeechCheck->isChecked();
    settings.scenarioSpeechVoice = selectedVoiceKey();
    settings.scenarioSpeechRate = ui->scenarioRateSpin->value();
    settings.controlMode = ui->radioButtonDriver->isChecked() ? 1 : 0;
    settings.systemApiXY = ui->systemapiXYmod->value();
    settings.systemApiX = ui->systemapiXmod->value();
    settings.systemApiY = ui->systemapiYmod->value();
    settings.driverXY = ui->driverXYmod->value();
    settings.driverX = ui->driverXmod->value();
    settings.driverY = ui->driverYmod->value();
    settings.scriptMemoryLimitMiB = ui->scriptMemorySpin->value();
    settings.overlay = overlayFromForm();
    settings.overlayHotkey = m_overlayHotkey;
    return settings;
}

void SettingsWgt::on_pushButtonSave_clicked()
{
    // Positioning ends even with nothing to save: the window would go on taking the mouse.
    OverlayController::instance().stopPositioning();
    if (!m_dirty)
        return;
    const AppSettings settings = settingsFromForm();
    saveSettings(settings);
    publishSettings(settings);
    setDirty(false);
}

void SettingsWgt::on_pushButtonReset_clicked()
{
    if (Prompter::message(Prompt::Kind::Question, this, QStringLiteral("Clavitor"),
                          tr("Сбросить настройки?"),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // Only the fields this page shows: theme, language, last page and profile and the other
    // hotkeys stay as stored.
    const AppSettings defaults;
    showStoredSettings(defaults);

    publish(AppProperty::isSound, ui->radioButtonOn->isChecked());
    slotModeChanged();
    slotSpeechToggled(ui->scenarioSpeechCheck->isChecked());
    fillOverlayControls(defaults.overlay, defaults.overlayHotkey);
    // The default hotkey replaces the current one. When it is refused the user is told, and
    // the current one is given up too: no hotkey goes on working that the page does not show.
    if (!assignOverlayHotkey(storedHotkey(defaults.overlayHotkey)))
        assignOverlayHotkey(QKeySequence());

    saveSettings(settingsFromForm());
    OverlayController::instance().stopPositioning();
    publishSettings(settingsFromForm());
    setDirty(false);
}

void SettingsWgt::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SettingsWgt::retranslate()
{
    const OverlaySettings overlay = overlayFromForm();
    const QString voice = selectedVoiceKey();
    const bool speech = ui->scenarioSpeechCheck->isChecked();
    const double rate = ui->scenarioRateSpin->value();

    m_filling = true;
    ui->retranslateUi(this);
    offerDriverWhereItExists();
    m_backgroundPalette = OverlayPalette::backgroundPresets();
    m_textPalette = OverlayPalette::textPresets();
    fillAnchorCombo();
    showOverlayBlock(overlay);
    m_customPosition = overlay.customPosition;
    refreshMoveButton();
    refreshPositionLabel();
    m_filling = false;

    fillVoiceList();
    selectVoice(voice);
    {
        const QSignalBlocker checkBlocker(ui->scenarioSpeechCheck);
        const QSignalBlocker rateBlocker(ui->scenarioRateSpin);
        ui->scenarioSpeechCheck->setChecked(speech);
        ui->scenarioRateSpin->setValue(rate);
    }
    enableVoiceControls(speech);
}

void SettingsWgt::publishSettings(const AppSettings& settings)
{
    applySettings(settings);
    OverlayController::instance().applyStored(settings.overlay, storedHotkey(settings.overlayHotkey));
}
