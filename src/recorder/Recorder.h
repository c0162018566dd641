#pragma once

#include "RecordedEvent.h"
#include "RecordingStopKeys.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

class QGlobalMouseHook;

// Records what the user does: after a countdown, the presses and releases of mouse buttons 1
// to 5, wheel turns, relative movement and keys, each at its time on the platform's
// performance counter in microseconds, until stop(). It hears the mouse hook's thread
// (QGlobalMouseHook with an input listener), which leaves out the program's own input; nothing
// before the countdown ends is heard, and the stop combination's keys still held at the stop
// are taken off. What it hears stays in memory and is handed over by stop().
//
// The hook thread is the only one that touches the events while recording; the GUI thread
// reads them after the listener is detached, which waits for the hook thread.
class Recorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kCountdownSeconds = 3;

    explicit Recorder(QObject* parent = nullptr);
    ~Recorder() override;

    // The deactivation hotkey that will stop the recording (MOD_* bits and a virtual key).
    void setStopKeys(const RecordingStopKeys& keys) { m_stop = keys; }

    // Starts the countdown (countdown(n) each second, n from seconds down to 1), then
    // recording (recordingStarted()). With 0 seconds recording starts at once. Nothing while
    // counting down or recording already.
    void start(int seconds = kCountdownSeconds);
    // Ends the countdown or the recording and hands over what was recorded, oldest first
    // (nothing after a countdown only); the recorder keeps none of it.
    QList<RecordedEvent> stop();

    bool isCountingDown() const { return m_countdown.isActive(); }
    bool isRecording() const { return m_recording; }

signals:
    void countdown(int secondsLeft);
    void recordingStarted();

private:
    class Listener;

    void tick();
    void beginRecording();

    RecordingStopKeys m_stop;
    QTimer m_countdown;
    int m_secondsLeft = 0;
    bool m_recording = false;
    QGlobalMouseHook* m_hook = nullptr; // acquired while recording
    std::unique_ptr<Listener> m_listener;
};
