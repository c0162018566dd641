#pragma once

#include "TickTimeline.h"
#include "engine/OvershootMargin.h"
#include "platform/WinApi.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

class ClickClock;

// The autoclicker's click engine. On every tick of its own timer it may move the mouse by an
// offset and then sends one to three clicks of a mouse button or presses of a key, each as
// input records through sendInputRecord, so movement modifiers and the control mode apply as
// they do to scenarios. Each tick is due on the ideal timeline of its run (the run's start
// plus the intervals drawn so far), so neither a tick's own work nor a late tick delays the
// ticks after it; a tick more than one whole interval late is skipped. The timer wakes the
// engine shortly before a tick is due (by a margin learnt from how late it fires, at most a
// millisecond), and the clock's precise wait covers the rest. The time a button is held down
// is slept: it never ends early, and a release a fraction of a millisecond late is worth no
// spinning. Lives on the GUI thread; a tick blocks it for its holds and moves, the wait for
// its start for at most about 2 ms.
class AutoClicker : public QObject
{
    Q_OBJECT

public:
    // How a run ends; the same numbers as the autoclicker page's modes.
    enum Mode
    {
        HotkeyRepeat = 0,  // after repeatCount ticks (never when it is 0 or less), or by stop
        HoldLeft = 1,      // by stop; the first tick clicks at once, without moving
        HoldLeftRight = 2, // likewise
        HotkeyToggle = 3,  // by stop
    };

    explicit AutoClicker(QObject* parent = nullptr);
    // An engine that keeps time with the given clock (tests), which outlives it.
    explicit AutoClicker(ClickClock& clock, QObject* parent = nullptr);

    // The base time between the starts of two ticks; the hold of a click is half of it,
    // at least 5 ms and at most 50 ms.
    void setInterval(int ms);
    // A Qt::MouseButton value: 1 left, 2 right, 4 middle. Clicks become mouse clicks.
    void setMouseButton(int button);
    // The combined key code of a key sequence's first key. Clicks become key presses.
    void setKeyboardKey(int key);
    // Off: ticks only move the mouse.
    void setClickEnabled(bool on);
    void setOffset(QPoint offset);
    // Sends the offset as ten small moves, 5 ms apart.
    void setSmoothMove(bool smooth);
    void setClicksPerTick(int clicks); // bounded to 0..3
    void setMode(int mode);
    void setRepeatCount(int count);
    // 1, 2, 3: the interval varies by up to 10 %, 25 %, 50 %; other levels: not at all.
    void setIntervalRandomization(int level);
    // Not 0: each axis of the offset varies by up to 20 %.
    void setOffsetRandomization(int level);

    bool isRunning() const { return m_timer.isActive(); }

signals:
    void stopped();

public slots:
    // Runs the first tick at once, inside this call; a running engine starts over.
    void start();
    // Always emits stopped(), running or not.
    void stop();
    // One tick, now; the next one is due an interval after the one that was due.
    void click();

private:
    // The timer fired: skips the ticks that are overdue, waits for the due one and runs it.
    void tickWhenDue();
    // Arms the timer to fire shortly before the next tick is due.
    void armTimer();
    // The interval of the next tick, drawn, in nanoseconds.
    qint64 drawnIntervalNs();
    // Sleeps at least this long from now on.
    void holdFor(qint64 microseconds);
    int randomisedInterval(int base);
    QPoint randomisedOffset();
    static int spread(int value, int by);
    void sendMove(QPoint delta);
    void smoothMove(QPoint offset);
    // The press and release of one click; false when the key has no virtual key.
    bool clickRecords(INPUT& press, INPUT& release) const;

    ClickClock& m_clock;
    QTimer m_timer;
    TickTimeline m_timeline;
    OvershootMargin m_timerLateness; // how late the timer fires, in nanoseconds
    qint64 m_timerTargetNs = 0;      // when the armed timer is meant to fire
    bool m_timerMeasured = false;    // armed with a delay: its lateness is the timer's own
    int m_mouseButton = 1;
    int m_keyCode = 0;
    WORD m_virtualKey = 0; // of m_keyCode, looked up once
    bool m_useKeyboard = false;
    bool m_clickEnabled = true;
    int m_intervalMs = 100;
    qint64 m_holdUs = 50000;
    QPoint m_offset;
    bool m_hasOffset = false;
    bool m_smoothMove = false;
    int m_clicksPerTick = 1;
    int m_mode = HotkeyRepeat;
    int m_repeatCount = 0;
    int m_intervalRandomization = 0;
    int m_offsetRandomization = 0;
    int m_remainingTicks = 0;
    bool m_firstTickPending = false;
};
