#include "RecordingPanel.h"

#include "PageButton.h"
#include "PageDialogs.h"
#include "RecordingSaveDialog.h"
#include "ScriptsListWidget.h"
#include "SingleScriptWidget.h"
#include "hotkeys/KeyMapping.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayFeed.h"
#include "profiles/ProfileStore.h"
#include "profiles/ScenarioFiles.h"
#include "recorder/RecordedScriptWriter.h"
#include "recorder/RecordingFileName.h"
#include "recorder/StepBuilder.h"
#include "ui/prompts/Prompter.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kDefaultDelayMs = 50;
constexpr int kMaximumDelayMs = 60'000;

// The first chord of a hotkey as MOD_* bits and a virtual key.
RecordingHotkeys::Combination combinationOf(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return {};
    const QString chord = QKeySequence(sequence[0]).toString(QKeySequence::NativeText);
    return {KeyMapping::modifiersOfChord(chord),
            KeyMapping::virtualKeyOfChord(chord, KeyMapping::keyNameTable())};
}

// Writes the script whole or not at all; false with the reason in `error`.
bool writeScript(const QString& path, const QByteArray& script, QString* error)
{
    QSaveFile file(path);
    if (QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
        file.write(script) == script.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

} // namespace

RecordingPanel::RecordingPanel(ScriptsListWidget& page, PageDialogs& dialogs)
    : m_page(page), m_dialogs(dialogs), m_recorder(this),
      m_record(namedButton(this, "recordButton")), m_stop(namedButton(this, "recordStopButton")),
      m_state(new QLabel(this)), m_movement(new QCheckBox(this)), m_fixedDelay(new QCheckBox(this)),
      m_delay(new QSpinBox(this))
{
    m_state->setObjectName(QStringLiteral("recordingStateLabel"));
    m_movement->setObjectName(QStringLiteral("recordMovementCheckBox"));
    m_fixedDelay->setObjectName(QStringLiteral("recordFixedDelayCheckBox"));
    m_delay->setObjectName(QStringLiteral("recordDelaySpinBox"));
    m_stop->setProperty("buttonStyle", QStringLiteral("secondary"));
    // Red in either theme, like a recording lamp.
    m_state->setStyleSheet(QStringLiteral("color: #F25F5C; font-weight: 600;"));
    m_movement->setChecked(true);
    m_delay->setRange(0, kMaximumDelayMs);
    m_delay->setValue(kDefaultDelayMs);

    // The state has a line of its own under the controls, shown while it has something to
    // say: beside them, its text would widen the row, and the window with it.
    auto* controls = new QHBoxLayout;
    controls->setSpacing(8);
    controls->addWidget(m_record);
    controls->addWidget(m_stop);
    controls->addStretch(1);
    controls->addWidget(m_movement);
    controls->addWidget(m_fixedDelay);
    controls->addWidget(m_delay);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(controls);
    layout->addWidget(m_state);
    m_state->hide();

    connect(m_record, &QPushButton::clicked, this, &RecordingPanel::start);
    connect(m_stop, &QPushButton::clicked, this, &RecordingPanel::stopByButton);
    connect(m_fixedDelay, &QCheckBox::toggled, this, &RecordingPanel::updateControls);
    connect(&m_recorder, &Recorder::countdown, this,
            [this](int secondsLeft) { showState(tr("● Запись через %1").arg(secondsLeft)); });
    connect(&m_recorder, &Recorder::recordingStarted, this, [this] {
        m_startedAt = QDateTime::currentDateTime();
        showState(tr("● Запись"));
    });
    connect(&m_recorder, &Recorder::limitReached, this, [this](Recorder::Limit limit) {
        const Recorder::Limits& limits = m_recorder.limits();
        finish(m_recorder.stop(),
               limit == Recorder::Limit::Events
                   ? tr("Запись остановлена: в ней %1 событий, это предел одной записи.")
                         .arg(QLocale().toString(qlonglong(limits.events)))
                   : tr("Запись остановлена: она длится %1 минут, это предел одной записи.")
                         .arg(limits.durationMs / 60'000));
    });
    retranslate();
    updateControls();
}

void RecordingPanel::start()
{
    if (isActive() || m_dialogs.busy() || !m_page.currentProfile())
        return;
    const RecordingHotkeys::Combination stop = combinationOf(m_page.m_deactivation.sequence());
    m_recorder.setStopKeys({stop.modifiers, stop.virtualKey});
    // Every hotkey of the program: the scenarios', the deactivation's, the autoclicker's, …
    QList<RecordingHotkeys::Combination> hotkeys;
    for (const QKeySequence& sequence : ShortcutRegistry::instance().sequences())
        hotkeys.append(combinationOf(sequence));
    m_recorder.setHotkeys(RecordingHotkeys(hotkeys));
    m_recorder.setMovement(m_movement->isChecked());
    emit activeChanged(true);
    m_recorder.start();
    updateControls();
}

void RecordingPanel::stop()
{
    if (isActive())
        finish(m_recorder.stop());
}

void RecordingPanel::stopByButton()
{
    if (!isActive())
        return;
    Recording recording = m_recorder.stop();
    QList<RecordedEvent>& events = recording.events;
    // The left click on "Стоп" was heard, its release perhaps not yet: the press goes, with
    // what came after it. A "Стоп" pressed from the keyboard leaves the user's clicks alone.
    const auto isLeft = [&events](qsizetype i, RecordedEvent::Kind kind) {
        return i > 0 && events[i - 1].kind == kind && events[i - 1].value == 1;
    };
    const auto skipMoves = [&events](qsizetype i) {
        while (i > 0 && events[i - 1].kind == RecordedEvent::Kind::Move)
            --i;
        return i;
    };
    qsizetype end = skipMoves(events.size());
    if (isLeft(end, RecordedEvent::Kind::ReleaseButton))
        end = skipMoves(end - 1);
    if (isLeft(end, RecordedEvent::Kind::PressButton))
        events.resize(end - 1);
    finish(std::move(recording));
}

void RecordingPanel::finish(Recording recording, const QString& why)
{
    // Recording began once the countdown ended; a countdown alone leaves nothing to save.
    const bool recorded = m_startedAt.isValid();
    showState(QString());
    updateControls();
    emit activeChanged(false);
    if (!why.isEmpty())
        m_dialogs.warn(why);
    if (recorded)
        save(recording);
    m_startedAt = QDateTime();
}

void RecordingPanel::save(const Recording& recording)
{
    StepBuilder::Options options;
    options.withMovement = m_movement->isChecked();
    if (m_fixedDelay->isChecked())
        options.fixedDelayMs = m_delay->value();
    const RecordedSteps steps = StepBuilder(options).build(recording);
    const ScenarioProfile* profile = m_page.currentProfile();
    if (steps.steps.isEmpty() || !profile) {
        m_dialogs.warn(tr("Ничего не записано: сценарий не сохранён."));
        return;
    }
    // The page is busy until the recording is saved or let go: its profile stays current.
    const QString directory = profileDirectory(profile->name);

    QSet<int> pressed;
    for (const RecordedStep& step : steps.steps) {
        if (step.kind == RecordedStep::Kind::PressButton)
            pressed.insert(step.value);
    }
    std::optional<PlaybackTrigger> trigger;
    do {
        trigger = m_dialogs.whileBusy([&]() -> std::optional<PlaybackTrigger> {
            RecordingSaveDialog dialog(pressed, m_dialogs.parent());
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.trigger();
        });
    } while (!trigger && !m_dialogs.confirm(tr("Удалить запись?")));
    if (!trigger)
        return;

    const QByteArray script = RecordedScriptWriter::write(steps, m_startedAt, *trigger);
    QString path = RecordingFileName::freeIn(directory);
    QString error;
    while (!writeScript(path, script, &error)) {
        const std::optional<QString> next = askWhereToSave(path, error);
        if (!next)
            return;
        path = *next;
    }
    if (ScenarioFiles::isInsideDirectory(path, directory))
        m_page.m_rowCommands.addFile(path);
    else
        m_dialogs.warn(tr("Запись сохранена в %1. В профиль она не добавлена: файл лежит вне "
                          "папки профиля.")
                           .arg(QDir::toNativeSeparators(path)));
}

std::optional<QString> RecordingPanel::askWhereToSave(const QString& path, const QString& error)
{
    for (;;) {
        const PromptAnswer answer = m_dialogs.whileBusy([&] {
            return Prompter::current().ask(
                Prompt{.kind = Prompt::Kind::Warning,
                       .parent = m_dialogs.parent(),
                       .title = PageDialogs::kTitle,
                       .text = tr("Не удалось сохранить запись в %1: %2")
                                   .arg(QDir::toNativeSeparators(path), error),
                       .customButtons = {{tr("Повторить"), QMessageBox::AcceptRole},
                                         {tr("Сохранить как…"), QMessageBox::AcceptRole},
                                         {tr("Удалить запись"), QMessageBox::DestructiveRole}},
                       .defaultCustomButton = 0,
                       .escapeCustomButton = 2});
        });
        if (answer.customButton == 0)
            return path;
        if (answer.customButton == 1) {
            const QString chosen = m_dialogs.whileBusy([&] {
                return Prompter::saveFileName(m_dialogs.parent(), tr("Сохранить запись"), path,
                                              SingleScriptWidget::scriptFileFilter());
            });
            if (!chosen.isEmpty())
                return chosen;
        } else if (m_dialogs.confirm(tr("Удалить запись?"))) {
            return std::nullopt;
        }
    }
}

void RecordingPanel::showState(const QString& text)
{
    m_state->setText(text);
    m_state->setVisible(!text.isEmpty());
    OverlayFeed::current().setRecording(text);
}

void RecordingPanel::updateControls()
{
    const bool active = isActive();
    m_record->setEnabled(!active);
    m_stop->setEnabled(active);
    m_movement->setEnabled(!active);
    m_fixedDelay->setEnabled(!active);
    m_delay->setEnabled(!active && m_fixedDelay->isChecked());
}

void RecordingPanel::retranslate()
{
    m_record->setText(tr("Записать"));
    m_stop->setText(tr("Стоп"));
    m_movement->setText(tr("Движение мыши"));
    m_movement->setToolTip(tr("Записывать движение мыши"));
    m_fixedDelay->setText(tr("Задержка, мс:"));
    m_fixedDelay->setToolTip(tr("Вместо записанных пауз ждать между шагами одно и то же время"));
}

void RecordingPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
