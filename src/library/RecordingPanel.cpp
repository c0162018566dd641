#include "RecordingPanel.h"

#include "PageButton.h"
#include "PageDialogs.h"
#include "ProfileStore.h"
#include "RecordingSaveDialog.h"
#include "ScriptsListWidget.h"
#include "hotkeys/KeyMapping.h"
#include "overlay/OverlayFeed.h"
#include "recorder/RecordedScriptWriter.h"
#include "recorder/RecordingFileName.h"
#include "recorder/StepBuilder.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>

namespace {

constexpr int kDefaultDelayMs = 50;
constexpr int kMaximumDelayMs = 60'000;

// The deactivation hotkey's first chord as the keys that stop a recording.
RecordingStopKeys stopKeysOf(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return {};
    const QString chord = QKeySequence(sequence[0]).toString(QKeySequence::NativeText);
    return {KeyMapping::modifiersOfChord(chord),
            KeyMapping::virtualKeyOfChord(chord, KeyMapping::keyNameTable())};
}

} // namespace

RecordingPanel::RecordingPanel(ScriptsListWidget& page, PageDialogs& dialogs)
    : m_page(page), m_dialogs(dialogs), m_record(namedButton(this, "recordButton")),
      m_stop(namedButton(this, "recordStopButton")), m_state(new QLabel(this)),
      m_movement(new QCheckBox(this)), m_fixedDelay(new QCheckBox(this)),
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

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_record);
    layout->addWidget(m_stop);
    layout->addWidget(m_state, 1);
    layout->addWidget(m_movement);
    layout->addWidget(m_fixedDelay);
    layout->addWidget(m_delay);

    connect(m_record, &QPushButton::clicked, this, &RecordingPanel::start);
    connect(m_stop, &QPushButton::clicked, this, &RecordingPanel::stopByButton);
    connect(m_fixedDelay, &QCheckBox::toggled, this, &RecordingPanel::updateControls);
    connect(&m_recorder, &Recorder::countdown, this,
            [this](int secondsLeft) { showState(tr("● Запись через %1").arg(secondsLeft)); });
    connect(&m_recorder, &Recorder::recordingStarted, this, [this] {
        m_startedAt = QDateTime::currentDateTime();
        showState(tr("● Запись"));
    });
    retranslate();
    updateControls();
}

void RecordingPanel::start()
{
    if (isActive() || m_dialogs.busy() || !m_page.currentProfile())
        return;
    m_recorder.setStopKeys(stopKeysOf(m_page.m_deactivation.sequence()));
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
    QList<RecordedEvent> events = m_recorder.stop();
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
    finish(std::move(events));
}

void RecordingPanel::finish(QList<RecordedEvent> events)
{
    // Recording began once the countdown ended; a countdown alone leaves nothing to save.
    const bool recorded = m_startedAt.isValid();
    showState(QString());
    updateControls();
    emit activeChanged(false);
    if (recorded)
        save(events);
    m_startedAt = QDateTime();
}

void RecordingPanel::save(const QList<RecordedEvent>& events)
{
    StepBuilder::Options options;
    options.withMovement = m_movement->isChecked();
    if (m_fixedDelay->isChecked())
        options.fixedDelayMs = m_delay->value();
    const QList<RecordedStep> steps = StepBuilder(options).build(events);
    const ScenarioProfile* profile = m_page.currentProfile();
    if (steps.isEmpty() || !profile) {
        m_dialogs.warn(tr("Ничего не записано: сценарий не сохранён."));
        return;
    }

    QSet<int> pressed;
    for (const RecordedStep& step : steps) {
        if (step.kind == RecordedStep::Kind::PressButton)
            pressed.insert(step.value);
    }
    const std::optional<PlaybackTrigger> trigger =
        m_dialogs.whileBusy([&]() -> std::optional<PlaybackTrigger> {
            RecordingSaveDialog dialog(pressed, m_dialogs.parent());
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.trigger();
        });
    profile = m_page.currentProfile();
    if (!trigger || !profile)
        return;

    const QString directory = profileDirectory(profile->name);
    const QString path = RecordingFileName::freeIn(directory);
    QSaveFile file(path);
    const QByteArray script = RecordedScriptWriter::write(steps, m_startedAt, *trigger);
    if (!QDir().mkpath(directory) || !file.open(QIODevice::WriteOnly) ||
        file.write(script) != script.size() || !file.commit()) {
        m_dialogs.warn(tr("Не удалось сохранить запись в %1: %2").arg(path, file.errorString()));
        return;
    }
    m_page.m_rowCommands.addFile(path);
}

void RecordingPanel::showState(const QString& text)
{
    m_state->setText(text);
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
