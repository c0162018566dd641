#include "Recorder.h"

#include "hooks/InputListener.h"
#include "hooks/QGlobalMouseHook.h"
#include "platform/Platform.h"

#include <algorithm>
#include <functional>

namespace {

// Room kept for this many events when a recording starts, so that the hook thread seldom
// has to grow the list: a minute of steady movement at 1000 reports a second.
constexpr qsizetype kReservedEvents = 60'000;

} // namespace

// Hears the hook thread and notes each event at its time, until it holds `limit` events;
// then `full` runs, once, on the hook thread.
class Recorder::Listener : public InputListener
{
public:
    Listener(bool movement, qsizetype limit, std::function<void()> full)
        : m_system(platform::Platform::current()),
          m_frequency(m_system.queryPerformanceFrequency()), m_movement(movement), m_limit(limit),
          m_full(std::move(full))
    {
        events.reserve(std::min(kReservedEvents, limit));
    }

    void buttonEvent(int button, bool pressed) override
    {
        note(RecordedEvent::button(now(), button, pressed));
    }
    void wheelEvent(int delta) override { note(RecordedEvent::wheel(now(), delta)); }
    void moveEvent(int dx, int dy) override
    {
        if (m_movement)
            note(RecordedEvent::move(now(), dx, dy));
    }
    void keyEvent(int scanCode, int virtualKey, bool pressed) override
    {
        note(RecordedEvent::key(now(), scanCode, virtualKey, pressed));
    }

    // The performance counter in microseconds, whole seconds and the rest apart so that the
    // product cannot overflow.
    qint64 now() const
    {
        const qint64 counter = m_system.queryPerformanceCounter();
        return counter / m_frequency * 1'000'000 + counter % m_frequency * 1'000'000 / m_frequency;
    }

    QList<RecordedEvent> events;

private:
    void note(const RecordedEvent& event)
    {
        if (events.size() >= m_limit)
            return;
        events.append(event);
        if (events.size() == m_limit)
            m_full();
    }

    platform::Platform& m_system;
    const qint64 m_frequency;
    const bool m_movement;
    const qsizetype m_limit;
    const std::function<void()> m_full;
};

Recorder::Recorder(QObject* parent) : QObject(parent)
{
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &Recorder::tick);
    m_duration.setSingleShot(true);
    connect(&m_duration, &QTimer::timeout, this, [this] { reachLimit(Limit::Duration); });
}

Recorder::~Recorder()
{
    stop();
}

void Recorder::start(int seconds)
{
    if (isCountingDown() || m_recording)
        return;
    m_secondsLeft = seconds;
    if (seconds <= 0) {
        beginRecording();
        return;
    }
    emit countdown(m_secondsLeft);
    m_countdown.start();
}

void Recorder::tick()
{
    if (--m_secondsLeft > 0) {
        emit countdown(m_secondsLeft);
        return;
    }
    m_countdown.stop();
    beginRecording();
}

void Recorder::beginRecording()
{
    m_listener = std::make_unique<Listener>(m_movement, m_limits.events, [this] {
        QMetaObject::invokeMethod(
            this, [this] { reachLimit(Limit::Events); }, Qt::QueuedConnection);
    });
    m_hook = QGlobalMouseHook::acquire();
    m_hook->setInputListener(m_listener.get());
    m_recording = true;
    m_duration.start(m_limits.durationMs);
    emit recordingStarted();
}

void Recorder::reachLimit(Limit limit)
{
    // A stop may have come first, while the event limit's note was on its way.
    if (!m_recording || !m_hook)
        return;
    m_duration.stop();
    m_hook->setInputListener(nullptr);
    m_limitReachedUs = m_listener->now();
    emit limitReached(limit);
}

Recording Recorder::stop()
{
    m_countdown.stop();
    if (!m_recording)
        return {};
    m_recording = false;
    m_duration.stop();
    // Once this returns, the hook thread does not touch the events any more; the stop is taken
    // after it, so that it comes after the last event the hook thread passed on.
    m_hook->setInputListener(nullptr);
    m_hook = nullptr;
    Recording recording;
    recording.stoppedUs = m_limitReachedUs.value_or(m_listener->now());
    m_limitReachedUs.reset();
    QGlobalMouseHook::release();
    recording.events = std::move(m_listener->events);
    m_listener.reset();
    m_stop.stripHeldKeys(recording.events);
    m_hotkeys.strip(recording.events);
    return recording;
}
