#include "AutoClicker.h"

#include "ClickClock.h"
#include "hotkeys/KeyMapping.h"
#include "input/InputRecords.h"
#include "input/InputSender.h"

#include <QKeySequence>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The virtual key of a combined key code, without its modifiers: letters, digits and space
// are their own virtual keys, other keys go by the hotkeys' key rule; 0 when it knows none.
// The keypad flag is no modifier but part of the key: keypad 5 is VK_NUMPAD5, not the 5 key.
WORD virtualKeyOf(int keyCode)
{
    const int key = keyCode & ~int(Qt::KeyboardModifierMask);
    const int keypad = keyCode & int(Qt::KeypadModifier);
    if (key == 0)
        return 0;
    if (!keypad && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == ' '))
        return static_cast<WORD>(key);
    const QString text = QKeySequence(key | keypad).toString(QKeySequence::NativeText);
    const int virtualKey = KeyMapping::virtualKeyOfChord(text, KeyMapping::keyNameTable());
    return virtualKey > 0 && virtualKey <= 0xFF ? static_cast<WORD>(virtualKey) : WORD{0};
}

constexpr qint64 kNsPerSecond = 1'000'000'000;
constexpr qint64 kNsPerMs = 1'000'000;
// The timer wakes the engine at most this long before a tick is due, however late it has
// been firing: the engine blocks the GUI thread from the wake-up to the tick, and this plus
// the millisecond by which the timer's delay is rounded down keeps that within about 2 ms.
// A timer that fires later still makes its tick late, not the page unresponsive.
constexpr qint64 kLongestTimerMarginNs = 1'000'000;

// A uniform integer in 0..highest.
int uniformUpTo(qint64 highest)
{
    return static_cast<int>(QRandomGenerator::global()->bounded(static_cast<quint32>(highest + 1)));
}

} // namespace

AutoClicker::AutoClicker(QObject* parent) : AutoClicker(ClickClock::system(), parent) {}

AutoClicker::AutoClicker(ClickClock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_timer(this)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AutoClicker::tickWhenDue);
}

void AutoClicker::setInterval(int ms)
{
    m_intervalMs = ms;
    m_holdUs = ms <= 0 ? 5000 : std::clamp<qint64>(qint64{ms} * 500, 5000, 50000);
}

void AutoClicker::setMouseButton(int button)
{
    m_mouseButton = button;
    m_useKeyboard = false;
}

void AutoClicker::setKeyboardKey(int key)
{
    m_keyCode = key;
    m_virtualKey = virtualKeyOf(key);
    m_useKeyboard = true;
}

void AutoClicker::setClickEnabled(bool on)
{
    m_clickEnabled = on;
    if (!on)
        m_useKeyboard = false;
}

void AutoClicker::setOffset(QPoint offset)
{
    m_offset = offset;
    m_hasOffset = !offset.isNull();
}

void AutoClicker::setSmoothMove(bool smooth)
{
    m_smoothMove = smooth;
}

void AutoClicker::setClicksPerTick(int clicks)
{
    m_clicksPerTick = std::clamp(clicks, 0, 3);
}

void AutoClicker::setMode(int mode)
{
    m_mode = mode;
}

void AutoClicker::setRepeatCount(int count)
{
    m_repeatCount = count;
}

void AutoClicker::setIntervalRandomization(int level)
{
    m_intervalRandomization = level;
}

void AutoClicker::setOffsetRandomization(int level)
{
    m_offsetRandomization = level;
}

void AutoClicker::start()
{
    if (m_mode == HotkeyRepeat) {
        m_remainingTicks = m_repeatCount >= 1 ? m_repeatCount : std::numeric_limits<int>::max();
        m_firstTickPending = false;
    } else {
        m_firstTickPending = (m_mode == HoldLeft || m_mode == HoldLeftRight) && m_clickEnabled;
    }
    m_timer.stop();
    m_timeline.start(m_clock.nowNs(), drawnIntervalNs());
    click();
}

void AutoClicker::stop()
{
    m_timer.stop();
    emit stopped();
}

void AutoClicker::click()
{
    // The first tick of a hold mode clicks at once: the user is holding the button now.
    bool firstHoldTick = false;
    if ((m_mode == HoldLeft || m_mode == HoldLeftRight) && m_clickEnabled && m_firstTickPending) {
        m_firstTickPending = false;
        if (m_hasOffset)
            randomisedOffset(); // drawn, not sent
        firstHoldTick = true;
    } else if (m_hasOffset) {
        const QPoint offset = randomisedOffset();
        if (m_smoothMove)
            smoothMove(offset);
        else if (!offset.isNull())
            sendMove(offset);
    }

    INPUT press;
    INPUT release;
    if (m_clickEnabled && m_clicksPerTick > 0 && clickRecords(press, release)) {
        int clicks = m_clicksPerTick;
        if (firstHoldTick) {
            sendInputRecord(press);
            holdFor(m_holdUs);
            sendInputRecord(release);
            --clicks;
        }
        for (int i = 0; i < clicks; ++i) {
            if (i > 0)
                holdFor(m_holdUs / 2);
            sendInputRecord(press);
            holdFor(m_holdUs);
            sendInputRecord(release);
        }
    }

    if (m_mode == HotkeyRepeat && --m_remainingTicks <= 0) {
        m_timer.stop();
        emit stopped();
        return;
    }
    m_timeline.advance(drawnIntervalNs());
    armTimer();
}

void AutoClicker::tickWhenDue()
{
    const qint64 now = m_clock.nowNs();
    if (m_timerMeasured)
        m_timerLateness.record(now - m_timerTargetNs, kNsPerSecond);
    while (m_timeline.isOverdue(now))
        m_timeline.advance(drawnIntervalNs());
    m_clock.waitUntil(m_timeline.dueNs());
    click();
}

void AutoClicker::armTimer()
{
    // Qt's timers count whole milliseconds: the delay is rounded down, never past the wake-up.
    const qint64 now = m_clock.nowNs();
    const qint64 margin = std::min<qint64>(m_timerLateness.ticks(kNsPerSecond),
                                           kLongestTimerMarginNs);
    const qint64 wake = m_timeline.dueNs() - margin;
    const qint64 delayMs = wake > now ? (wake - now) / kNsPerMs : 0;
    m_timerTargetNs = now + delayMs * kNsPerMs;
    m_timerMeasured = delayMs > 0;
    m_timer.start(static_cast<int>(std::min<qint64>(delayMs, std::numeric_limits<int>::max())));
}

qint64 AutoClicker::drawnIntervalNs()
{
    return m_intervalMs <= 0 ? 0 : qint64{randomisedInterval(m_intervalMs)} * kNsPerMs;
}

void AutoClicker::holdFor(qint64 microseconds)
{
    m_clock.sleepUntil(m_clock.nowNs() + microseconds * 1000);
}

int AutoClicker::randomisedInterval(int base)
{
    double share = 0.0;
    switch (m_intervalRandomization) {
    case 1:
        share = 0.1;
        break;
    case 2:
        share = 0.25;
        break;
    case 3:
        share = 0.5;
        break;
    default:
        return base;
    }
    return spread(base, static_cast<int>(std::trunc(base * share)));
}

// value − by + a uniform draw in 0..2·by.
int AutoClicker::spread(int value, int by)
{
    if (by <= 0)
        return value;
    return static_cast<int>(qint64{value} - by + uniformUpTo(2 * qint64{by}));
}

QPoint AutoClicker::randomisedOffset()
{
    if (m_offsetRandomization == 0)
        return m_offset;
    const auto axis = [](int v) {
        return spread(v, static_cast<int>(std::trunc(std::abs(double(v)) * 0.2)));
    };
    const int y = axis(m_offset.y()); // y is drawn first
    const int x = axis(m_offset.x());
    return {x, y};
}

void AutoClicker::sendMove(QPoint delta)
{
    sendInputRecord(mouseInput(MOUSEEVENTF_MOVE, delta.x(), delta.y()));
}

void AutoClicker::smoothMove(QPoint offset)
{
    if (offset.isNull())
        return;
    double sumX = 0.0;
    double sumY = 0.0;
    QPoint sent;
    for (int step = 0; step < 10; ++step) {
        sumX += offset.x() / 10.0;
        sumY += offset.y() / 10.0;
        const QPoint reached(static_cast<int>(std::round(sumX)),
                             static_cast<int>(std::round(sumY)));
        if (reached != sent)
            sendMove(reached - sent);
        m_clock.sleepUs(5000);
        sent = reached;
    }
    if (offset != sent)
        sendMove(offset - sent);
}

bool AutoClicker::clickRecords(INPUT& press, INPUT& release) const
{
    if (m_useKeyboard) {
        if (m_virtualKey == 0)
            return false; // a key the system has no virtual key for: nothing to press
        press = keyboardInput(m_virtualKey, 0, 0);
        release = keyboardInput(m_virtualKey, 0, KEYEVENTF_KEYUP);
        return true;
    }
    switch (m_mouseButton) {
    case Qt::RightButton:
        press = mouseInput(MOUSEEVENTF_RIGHTDOWN);
        release = mouseInput(MOUSEEVENTF_RIGHTUP);
        break;
    case Qt::MiddleButton:
        press = mouseInput(MOUSEEVENTF_MIDDLEDOWN);
        release = mouseInput(MOUSEEVENTF_MIDDLEUP);
        break;
    default:
        press = mouseInput(MOUSEEVENTF_LEFTDOWN);
        release = mouseInput(MOUSEEVENTF_LEFTUP);
        break;
    }
    return true;
}
