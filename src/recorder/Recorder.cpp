#include "Recorder.h"

#include "hooks/InputListener.h"
#include "hooks/QGlobalMouseHook.h"
#include "platform/Platform.h"

namespace {

// Room kept for this many events when a recording starts, so that the hook thread seldom
// has to grow the list: a minute of steady movement at 1000 reports a second.
constexpr qsizetype kReservedEvents = 60'000;

} // namespace

// Hears the hook thread and notes each event at its time.
class Recorder::Listener : public InputListener
{
public:
    Listener()
        : m_system(platform::Platform::current()), m_frequency(m_system.queryPerformanceFrequency())
    {
        events.reserve(kReservedEvents);
    }

    void buttonEvent(int button, bool pressed) override
    {
        events.append(RecordedEvent::button(now(), button, pressed));
    }
    void wheelEvent(int delta) override { events.append(RecordedEvent::wheel(now(), delta)); }
    void moveEvent(int dx, int dy) override { events.append(RecordedEvent::move(now(), dx, dy)); }
    void keyEvent(int scanCode, int virtualKey, bool pressed) override
    {
        events.append(RecordedEvent::key(now(), scanCode, virtualKey, pressed));
    }

    QList<RecordedEvent> events;

private:
    // The performance counter in microseconds, whole seconds and the rest apart so that the
    // product cannot overflow.
    qint64 now() const
    {
        const qint64 counter = m_system.queryPerformanceCounter();
        return counter / m_frequency * 1'000'000 + counter % m_frequency * 1'000'000 / m_frequency;
    }

    platform::Platform& m_system;
    const qint64 m_frequency;
};

Recorder::Recorder(QObject* parent) : QObject(parent)
{
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &Recorder::tick);
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
    m_listener = std::make_unique<Listener>();
    m_hook = QGlobalMouseHook::acquire();
    m_hook->setInputListener(m_listener.get());
    m_recording = true;
    emit recordingStarted();
}

QList<RecordedEvent> Recorder::stop()
{
    m_countdown.stop();
    if (!m_recording)
        return {};
    m_recording = false;
    // Once this returns, the hook thread does not touch the events any more.
    m_hook->setInputListener(nullptr);
    m_hook = nullptr;
    QGlobalMouseHook::release();
    QList<RecordedEvent> events = std::move(m_listener->events);
    m_listener.reset();
    m_stop.stripHeldKeys(events);
    return events;
}
