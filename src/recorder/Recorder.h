#pragma once

#include "RecordedEvent.h"
#include "Recording.h"
#include "RecordingHotkeys.h"
#include "RecordingStopKeys.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class QGlobalMouseHook;

// Records what the user does: after a countdown, the presses and releases of mouse buttons 1
// to 5, wheel turns, relative movement (unless left out) and keys, each at its time on the
// platform's performance counter in microseconds, until stop(). It hears the mouse hook's
// thread (QGlobalMouseHook with an input listener), which leaves out the program's own input;
// nothing before the countdown ends is heard, the stop combination's keys still held at the
// stop are taken off, and so is every press of the program's own hotkeys. What it hears stays
// in memory, at most Limits::events events for at most Limits::durationMs: then it stops
// listening and says so by limitReached(), and stop() hands over what it heard.
//
// The hook thread is the only one that touches the events while recording; the GUI thread
// reads them after the listener is detached, which waits for the hook thread.
class Recorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kCountdownSeconds = 3;

    struct Limits
    {
        qsizetype events = 1'000'000; // 24 MB of events
        int durationMs = 60 * 60 * 1000;
    };
    enum class Limit
    {
        Events,
        Duration,
    };
    Q_ENUM(Limit)

    explicit Recorder(QObject* parent = nullptr);
    ~Recorder() override;

    // The deactivation hotkey that will stop the recording (MOD_* bits and a virtual key).
    void setStopKeys(const RecordingStopKeys& keys) { m_stop = keys; }
    // The program's hotkeys, whose presses are left out.
    void setHotkeys(const RecordingHotkeys& hotkeys) { m_hotkeys = hotkeys; }
    // Whether relative movement is recorded (it is by default).
    void setMovement(bool recorded) { m_movement = recorded; }
    void setLimits(const Limits& limits) { m_limits = limits; }
    const Limits& limits() const { return m_limits; }

    // Starts the countdown (countdown(n) each second, n from seconds down to 1), then
    // recording (recordingStarted()). With 0 seconds recording starts at once. Nothing while
    // counting down or recording already.
    void start(int seconds = kCountdownSeconds);
    // Ends the countdown or the recording and hands over what was recorded (nothing after a
    // countdown only); the recorder keeps none of it.
    Recording stop();

    bool isCountingDown() const { return m_countdown.isActive(); }
    bool isRecording() const { return m_recording; }

signals:
    void countdown(int secondsLeft);
    void recordingStarted();
    // The recording reached a limit and hears nothing more; stop() hands it over.
    void limitReached(Recorder::Limit limit);

private:
    class Listener;

    void tick();
    void beginRecording();
    void reachLimit(Limit limit);

    RecordingStopKeys m_stop;
    RecordingHotkeys m_hotkeys;
    bool m_movement = true;
    Limits m_limits;
    QTimer m_countdown;
    QTimer m_duration;
    int m_secondsLeft = 0;
    bool m_recording = false;
    QGlobalMouseHook* m_hook = nullptr; // acquired while recording
    std::unique_ptr<Listener> m_listener;
    std::optional<qint64> m_limitReachedUs; // when the recording reached a limit
};
