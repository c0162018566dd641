#include "AutoclickerWidget.h"

#include "AutoclickerFile.h"
#include "app/SettingsFile.h"
#include "app/SettingsNormalization.h"
#include "hooks/QGlobalMouseHook.h"
#include "hotkeys/HotkeyAssignment.h"
#include "hotkeys/HotkeyOwnerTexts.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayFeed.h"
#include "platform/Platform.h"
#include "ui/appearance/IconManager.h"
#include "ui/shell/Prompter.h"
#include "ui_AutoclickerWidget.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSignalBlocker>

namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;

bool isHoldMode(int mode)
{
    return mode == AutoClicker::HoldLeft || mode == AutoClicker::HoldLeftRight;
}

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
    : QWidget(parent), ui(new Ui::AutoclickerWidget), m_clicker(this), m_modeShortcut(this),
      m_toggleShortcut(this)
{
    ui->setupUi(this);
    m_clicker.setObjectName(QStringLiteral("clicker"));
    m_modeShortcut.setObjectName(QStringLiteral("modeShortcut"));
    m_toggleShortcut.setObjectName(QStringLiteral("toggleShortcut"));
    m_previousMode = ui->modeCombo->currentIndex();

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

AutoclickerWidget::~AutoclickerWidget()
{
    m_clicker.disconnect(this);
    useMouseHook(false);
}

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
    connect(&m_toggleShortcut, &QGlobalShortcut::activated, this,
            &AutoclickerWidget::onToggleShortcut);
    connect(&m_modeShortcut, &QGlobalShortcut::activated, this, &AutoclickerWidget::onModeShortcut);
    connect(&m_clicker, &AutoClicker::stopped, this, &AutoclickerWidget::onClickerStopped);

    connect(ui->enableButton, &QPushButton::toggled, this, &AutoclickerWidget::onEnableToggled);
    connect(ui->toggleHotkeyEdit, &QLineEdit::textChanged, this,
            &AutoclickerWidget::onToggleHotkeyEdited);
    connect(ui->hotkeyEdit, &QLineEdit::textChanged, this, &AutoclickerWidget::onModeHotkeyEdited);
    connect(ui->comboBox, &QComboBox::currentIndexChanged, this,
            &AutoclickerWidget::onProfileChanged);
    connect(ui->toolButtonAddAutockecer, &QToolButton::clicked, this,
            &AutoclickerWidget::onProfileAdd);
    connect(ui->toolButtonRenameAutockecer, &QToolButton::clicked, this,
            &AutoclickerWidget::onProfileRename);
    connect(ui->toolButtonDublicateAutockecer, &QToolButton::clicked, this,
            &AutoclickerWidget::onProfileDuplicate);
    connect(ui->toolButtonImportAutockecer, &QToolButton::clicked, this,
            &AutoclickerWidget::onProfileImport);
    connect(ui->toolButtonExportAutockecer, &QToolButton::clicked, this,
            &AutoclickerWidget::onProfileExport);
    connect(ui->toolButtonDeleteAutockecer, &QToolButton::clicked, this,
            &AutoclickerWidget::onProfileDelete);

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
    connect(ui->modeCombo, &QComboBox::currentIndexChanged, this, [this] {
        applyRepeatVisibility();
        evaluateHold(HoldEvent::ModeChange);
        onSettingsChanged();
    });
}

// --- profiles and the file ------------------------------------------------------------------

void AutoclickerWidget::loadProfiles()
{
    const BusyScope busy(*this, Busy::Loading);
    m_enabledState = AutoclickerFile::load(AutoclickerFile::path(), m_profiles) ? 1 : 0;
    fillProfileSelector();
    selectProfile(m_profiles.currentIndex);
    refreshStatus();
    saveProfiles();
}

void AutoclickerWidget::saveProfiles()
{
    if (m_profiles.list.isEmpty())
        return;
    AutoclickerFile::save(AutoclickerFile::path(), m_profiles, m_enabledState == 1);
    const AutoclickerProfile* current = m_profiles.current();
    OverlayFeed::current().setAutoclickerState(current ? current->name : QString(),
                                               m_enabledState == 1);
}

AutoclickerSettings AutoclickerWidget::readUi() const
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
    s.enabled = m_enabledState == 1;
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
    m_previousMode = ui->modeCombo->currentIndex();
    m_loadingUi = false;
    applyProfileHotkey(s.hotkey);
}

void AutoclickerWidget::storeUi(bool save)
{
    if (AutoclickerProfile* current = m_profiles.current())
        current->settings = readUi();
    m_profiles.setEnabled(m_enabledState == 1);
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
    if (m_clicker.isRunning())
        stopClicker(QStringLiteral("profile_change"));
    applyToUi(m_profiles.list[index].settings);
    m_profiles.setEnabled(m_enabledState == 1);
    refreshStatus();
    refreshProfileButtons();
    evaluateHold(HoldEvent::ModeChange); // the new profile's mode, with its settings
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

void AutoclickerWidget::finishListCommand()
{
    fillProfileSelector();
    selectProfile(m_profiles.currentIndex);
    saveProfiles();
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

std::optional<QString> AutoclickerWidget::promptName(const QString& title, const QString& label,
                                                     const QString& initialText, int excludedIndex)
{
    QString text = initialText;
    for (;;) {
        const std::optional<QString> answer = Prompter::text(this, title, label, text);
        if (!answer)
            return std::nullopt;
        const QString name = answer->trimmed();
        if (name.isEmpty())
            warn(tr("Название автокликера не может быть пустым."));
        else if (AutoclickerProfiles::isReservedName(name))
            warn(tr("Название \"default\" зарезервировано."));
        else if (m_profiles.isTaken(name, excludedIndex))
            warn(tr("Автокликер с таким названием уже существует."));
        else
            return name;
        text = *answer;
    }
}

void AutoclickerWidget::warn(const QString& text)
{
    Prompter::message(Prompt::Kind::Warning, this, QString(), text);
}

void AutoclickerWidget::notice(const QString& text)
{
    Prompter::message(Prompt::Kind::Information, this, QString(), text);
}

void AutoclickerWidget::onProfileAdd()
{
    const BusyScope busy(*this, Busy::Command);
    if (!busy.entered())
        return;
    storeUi(false);
    const std::optional<QString> name =
        promptName(tr("Новый автокликер"), tr("Введите название автокликера:"), QString(), -1);
    if (!name)
        return;
    AutoclickerProfile profile{*name, AutoclickerSettings()};
    profile.settings.enabled = m_enabledState == 1;
    m_profiles.list.append(profile);
    m_profiles.currentIndex = int(m_profiles.list.size()) - 1;
    finishListCommand();
}

void AutoclickerWidget::onProfileRename()
{
    const BusyScope busy(*this, Busy::Command);
    if (!busy.entered() || !m_profiles.current())
        return;
    if (m_profiles.isCurrentDefault()) {
        notice(tr("Профиль \"default\" нельзя переименовать."));
        return;
    }
    storeUi(false);
    const std::optional<QString> name =
        promptName(tr("Переименование автокликера"), tr("Введите новое название автокликера:"),
                   m_profiles.current()->name, m_profiles.currentIndex);
    if (!name)
        return;
    m_profiles.current()->name = *name;
    finishListCommand();
}

void AutoclickerWidget::onProfileDuplicate()
{
    const BusyScope busy(*this, Busy::Command);
    if (!busy.entered() || !m_profiles.current())
        return;
    storeUi(false);
    AutoclickerProfile copy = *m_profiles.current();
    copy.name = m_profiles.copyName(copy.name);
    copy.settings.enabled = m_enabledState == 1;
    m_profiles.list.append(copy);
    m_profiles.currentIndex = int(m_profiles.list.size()) - 1;
    finishListCommand();
}

void AutoclickerWidget::onProfileDelete()
{
    const BusyScope busy(*this, Busy::Command);
    if (!busy.entered() || !m_profiles.current())
        return;
    if (m_profiles.isCurrentDefault()) {
        notice(tr("Профиль \"default\" нельзя удалить."));
        return;
    }
    if (Prompter::message(Prompt::Kind::Question, this, QString(),
                          tr("Удалить автокликер \"%1\"?").arg(m_profiles.current()->name),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_profiles.list.removeAt(m_profiles.currentIndex);
    m_profiles.currentIndex = std::min(m_profiles.currentIndex, int(m_profiles.list.size()) - 1);
    finishListCommand();
}

void AutoclickerWidget::onProfileImport()
{
    const BusyScope busy(*this, Busy::Command);
    if (!busy.entered())
        return;
    storeUi(false);
    const QString path = Prompter::openFileName(this, tr("Импорт автокликера"), QString(),
                                                tr("Файлы JSON (*.json)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        warn(tr("Не удалось открыть файл."));
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        warn(tr("Файл автокликера поврежден."));
        return;
    }
    AutoclickerProfile profile =
        AutoclickerFile::importedProfile(document.object(), tr("Новый автокликер"));
    if (!m_profiles.isFree(profile.name)) {
        warn(tr("Автокликер \"%1\" уже существует или недопустим.").arg(profile.name));
        return;
    }
    profile.settings.enabled = m_enabledState == 1;
    m_profiles.list.append(profile);
    m_profiles.currentIndex = int(m_profiles.list.size()) - 1;
    finishListCommand();
}

void AutoclickerWidget::onProfileExport()
{
    const BusyScope busy(*this, Busy::Command);
    if (!busy.entered() || !m_profiles.current())
        return;
    storeUi(true);
    QString path = Prompter::saveFileName(this, tr("Экспорт автокликера"),
                                          m_profiles.current()->name + QStringLiteral(".json"),
                                          tr("Файлы JSON (*.json)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    const QByteArray bytes =
        AutoclickerFile::exportDocument(*m_profiles.current(), m_enabledState == 1);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        warn(tr("Не удалось сохранить файл."));
}

// --- the state machine ----------------------------------------------------------------------

void AutoclickerWidget::startClicker(StartSource source)
{
    const AutoclickerSettings s = readUi();
    m_clicker.setInterval(s.interval);
    switch (s.inputType) {
    case AutoclickerSettings::Mouse:
        m_clicker.setClickEnabled(true);
        m_clicker.setMouseButton(s.button);
        break;
    case AutoclickerSettings::Keyboard:
        m_clicker.setClickEnabled(true);
        m_clicker.setKeyboardKey(s.key);
        break;
    default:
        m_clicker.setClickEnabled(false);
        break;
    }
    m_clicker.setOffset(s.useMove ? s.move : QPoint());
    m_clicker.setSmoothMove(s.smooth);
    m_clicker.setClicksPerTick(s.inputType == AutoclickerSettings::NoClicks ? 0 : s.clickCount);
    m_clicker.setMode(s.mode);
    m_clicker.setRepeatCount(s.repeat);
    m_clicker.setIntervalRandomization(s.delayRand);
    m_clicker.setOffsetRandomization(s.moveRand);
    qCInfo(lcAutoclicker).noquote() << QStringLiteral("Автокликер запущен: %1")
                                           .arg(source == FromUi           ? "ui"
                                                : source == FromModeHotkey ? "mode_hotkey"
                                                                           : "mouse");
    m_clicker.start();
    if (m_clicker.isRunning())
        m_startSource = source;
}

void AutoclickerWidget::stopClicker(const QString& reason)
{
    if (!m_clicker.isRunning())
        return;
    m_lastStopReason = reason;
    m_clicker.stop();
}

void AutoclickerWidget::onClickerStopped()
{
    // A hold run stopped for new settings starts again in the handler that stopped it, once
    // the new settings are in place; starting it here would click once more with the old
    // ones, or while a scenario takes over.
    const QString reason = std::exchange(m_lastStopReason, QString());
    qCInfo(lcAutoclicker).noquote()
        << QStringLiteral("Автокликер остановлен: %1")
               .arg(reason.isEmpty() ? QStringLiteral("run_complete") : reason);
    m_startSource = UnknownSource;
}

bool AutoclickerWidget::holdModeCanRun() const
{
    return isHoldMode(ui->modeCombo->currentIndex()) && m_enabledState == 1 && m_scenarioLock == 0;
}

void AutoclickerWidget::useMouseHook(bool use)
{
    if (use == (m_mouseHook != nullptr))
        return;
    if (use) {
        m_mouseHook = QGlobalMouseHook::acquire();
        connect(m_mouseHook, &QGlobalMouseHook::leftMouseButtonEvent, this,
                &AutoclickerWidget::onLeftMouse, Qt::QueuedConnection);
        connect(m_mouseHook, &QGlobalMouseHook::rightMouseButtonEvent, this,
                &AutoclickerWidget::onRightMouse, Qt::QueuedConnection);
        // The hook hears every change from now on; what it said before it was last given up
        // is stale. The buttons held at this moment count as pressed where it heard them.
        m_hookReleased = 0;
        m_hookButtons = 0;
        m_hookButtons = heldButtons();
    } else {
        m_mouseHook->disconnect(this);
        m_mouseHook = nullptr;
        QGlobalMouseHook::release();
    }
}

// The hook hears only the user's own buttons, while the system's state also follows the
// engine's clicks: what the hook heard last wins over the system's state.
int AutoclickerWidget::heldButtons() const
{
    platform::Platform& system = platform::Platform::current();
    int held = m_hookButtons;
    if (!(m_hookReleased & kLeft) && (system.getAsyncKeyState(VK_LBUTTON) & 0x8000))
        held |= kLeft;
    if (!(m_hookReleased & kRight) && (system.getAsyncKeyState(VK_RBUTTON) & 0x8000))
        held |= kRight;
    return held;
}

void AutoclickerWidget::evaluateHold(HoldEvent event, int buttons, const QString& givenReason)
{
    // The hook listens exactly while a hold mode could run.
    useMouseHook(holdModeCanRun());

    QString reason = givenReason;
    if (reason.isEmpty()) {
        switch (event) {
        case HoldEvent::Mouse:
            reason = QStringLiteral("mouse_release");
            break;
        case HoldEvent::ModeChange:
            reason = QStringLiteral("mode_change");
            break;
        case HoldEvent::SettingsChange:
            reason = QStringLiteral("settings_change");
            break;
        case HoldEvent::Toggle:
            reason = QStringLiteral("toggle_off");
            break;
        case HoldEvent::Scenario:
            reason = QStringLiteral("scenario_active");
            break;
        }
    }
    int held = 0;
    if (event == HoldEvent::Mouse)
        held = m_hookButtons = buttons;
    else
        held = heldButtons();
    const int mode = ui->modeCombo->currentIndex();
    const bool heldRun = m_clicker.isRunning() && m_startSource == FromMouse;

    const int needed = mode == AutoClicker::HoldLeft ? kLeft : kLeft | kRight;
    if (!holdModeCanRun() || (held & needed) != needed) {
        if (heldRun)
            stopClicker(reason);
        return;
    }
    if (m_clicker.isRunning()) {
        if (heldRun && (event == HoldEvent::ModeChange || event == HoldEvent::SettingsChange))
            stopClicker(reason); // the caller's next evaluation starts it again
        return;
    }
    startClicker(FromMouse);
}

void AutoclickerWidget::onLeftMouse(bool down)
{
    m_hookButtons = down ? m_hookButtons | kLeft : m_hookButtons & ~kLeft;
    m_hookReleased = down ? m_hookReleased & ~kLeft : m_hookReleased | kLeft;
    evaluateHold(HoldEvent::Mouse, m_hookButtons);
}

void AutoclickerWidget::onRightMouse(bool down)
{
    m_hookButtons = down ? m_hookButtons | kRight : m_hookButtons & ~kRight;
    m_hookReleased = down ? m_hookReleased & ~kRight : m_hookReleased | kRight;
    evaluateHold(HoldEvent::Mouse, m_hookButtons);
}

void AutoclickerWidget::onEnableToggled(bool checked)
{
    if (m_scenarioLock == 1 && checked) {
        const QSignalBlocker blocker(ui->enableButton);
        ui->enableButton->setChecked(false);
        return;
    }
    m_enabledState = checked ? 1 : 0;
    refreshStatus();
    if (!checked)
        stopClicker(QStringLiteral("toggle_off"));
    m_profiles.setEnabled(checked);
    onSettingsChanged();
    evaluateHold(HoldEvent::Toggle, 0, checked ? QString() : QStringLiteral("toggle_off"));
}

void AutoclickerWidget::onToggleShortcut()
{
    if (m_scenarioLock == 1 || (m_enabledState != 1 && !ui->enableButton->isEnabled()))
        return;
    ui->enableButton->setChecked(!ui->enableButton->isChecked());
}

void AutoclickerWidget::onModeShortcut()
{
    const int mode = ui->modeCombo->currentIndex();
    if (m_scenarioLock == 1 || m_enabledState != 1 || isHoldMode(mode))
        return;
    if (!m_clicker.isRunning())
        startClicker(FromModeHotkey);
    else if (mode == AutoClicker::HotkeyToggle)
        stopClicker(QStringLiteral("mode_hotkey"));
    // A counted run is not cut short by the hotkey.
}

void AutoclickerWidget::onSettingsChanged()
{
    if (m_loadingUi)
        return;
    {
        const BusyScope busy(*this, Busy::Settings);
        if (busy.entered())
            storeUi(true);
        else
            m_storeWhenFree = true; // a hotkey pressed while one of the page's dialogs is open
    }
    const int mode = ui->modeCombo->currentIndex();
    const bool sameMode = mode == m_previousMode;
    const QString reason =
        sameMode ? QStringLiteral("settings_change") : QStringLiteral("mode_change");
    const HoldEvent event = sameMode ? HoldEvent::SettingsChange : HoldEvent::ModeChange;
    if (m_clicker.isRunning()) {
        stopClicker(reason);
        if (isHoldMode(mode)) {
            evaluateHold(event, 0, reason);
        } else {
            if (!sameMode)
                evaluateHold(HoldEvent::ModeChange, 0, reason);
            startClicker(FromUi); // a run in a hotkey mode starts over with the new settings
        }
    } else if (isHoldMode(mode) || !sameMode) {
        evaluateHold(event, 0, reason);
    }
    m_previousMode = mode;
}

void AutoclickerWidget::onScenarioActivationChanged(bool active)
{
    if (active == (m_scenarioLock == 1))
        return;
    if (active) {
        stopClicker(QStringLiteral("scenario_active"));
        if (m_enabledState == 1) {
            m_enabledState = 0;
            refreshStatus();
            m_profiles.setEnabled(false);
            // The file keeps the armed state; the overlay shows the autoclicker as it is.
            const AutoclickerProfile* current = m_profiles.current();
            OverlayFeed::current().setAutoclickerState(current ? current->name : QString(), false);
        }
    }
    m_modeShortcut.setEnabled(!active);
    m_toggleShortcut.setEnabled(!active);
    m_scenarioLock = active ? 1 : 0;
    refreshStatus();
    evaluateHold(HoldEvent::Scenario, 0, active ? QStringLiteral("scenario_active") : QString());
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
    const bool on = m_enabledState == 1;
    {
        const QSignalBlocker blocker(ui->enableButton);
        ui->enableButton->setChecked(on);
    }
    ui->enableButton->setText(on ? tr("Выключить") : tr("Включить"));
    ui->enableButton->setEnabled(m_scenarioLock != 1);
    if (m_scenarioLock == 1)
        ui->enableStatusLabel->setText(tr("Автокликер недоступен при активном сценарии"));
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
