#include "StepBuilder.h"

#include "platform/WinApi.h"

#include <algorithm>
#include <limits>

namespace {

// The steps as they are written: each action after the wait since the one before.
class StepList
{
public:
    explicit StepList(std::optional<int> fixedDelayMs) : m_fixedDelayMs(fixedDelayMs) {}

    void add(qint64 timeUs, const RecordedStep& action)
    {
        if (m_lastUs)
            addWait(timeUs - *m_lastUs);
        m_lastUs = timeUs;
        m_steps << action;
    }

    // The steps, with the wait from the last of them to the stop.
    RecordedSteps finish(qint64 stoppedUs)
    {
        if (m_steps.isEmpty())
            return {};
        return {m_steps, m_fixedDelayMs ? *m_fixedDelayMs : takeWait(stoppedUs - *m_lastUs)};
    }

private:
    void addWait(qint64 elapsedUs)
    {
        if (m_fixedDelayMs) {
            if (*m_fixedDelayMs > 0)
                m_steps << RecordedStep::sleep(*m_fixedDelayMs);
            return;
        }
        if (const int ms = takeWait(elapsedUs); ms > 0)
            m_steps << RecordedStep::sleep(ms);
    }

    // The whole milliseconds of the time waited so far; the rest is carried.
    int takeWait(qint64 elapsedUs)
    {
        m_carriedUs += std::max<qint64>(elapsedUs, 0);
        const qint64 ms = std::min<qint64>(m_carriedUs / 1000, std::numeric_limits<int>::max());
        m_carriedUs -= ms * 1000;
        return static_cast<int>(ms);
    }

    std::optional<int> m_fixedDelayMs;
    std::optional<qint64> m_lastUs;
    qint64 m_carriedUs = 0; // waited since the last wait written, under a millisecond
    QList<RecordedStep> m_steps;
};

bool isPlayableButton(int button)
{
    return button >= 1 && button <= 5;
}

} // namespace

RecordedSteps StepBuilder::build(const Recording& recording) const
{
    StepList list(m_options.fixedDelayMs);
    struct Movement
    {
        qint64 startUs;
        qint64 dx;
        qint64 dy;
    };
    std::optional<Movement> movement;
    const auto endMovement = [&] {
        if (movement && (movement->dx != 0 || movement->dy != 0))
            list.add(movement->startUs, RecordedStep::move(static_cast<int>(movement->dx),
                                                           static_cast<int>(movement->dy)));
        movement.reset();
    };
    int wheelRest = 0;

    for (const RecordedEvent& event : recording.events) {
        if (event.kind == RecordedEvent::Kind::Move) {
            if (!m_options.withMovement)
                continue;
            if (movement && event.timeUs - movement->startUs < kMoveWindowUs) {
                movement->dx += event.value;
                movement->dy += event.detail;
            } else {
                endMovement();
                movement = Movement{event.timeUs, event.value, event.detail};
            }
            continue;
        }
        endMovement();
        switch (event.kind) {
        case RecordedEvent::Kind::Wheel:
            wheelRest += event.value;
            if (const int notches = wheelRest / WHEEL_DELTA; notches != 0) {
                wheelRest -= notches * WHEEL_DELTA;
                list.add(event.timeUs, RecordedStep::wheel(notches));
            }
            break;
        case RecordedEvent::Kind::PressButton:
        case RecordedEvent::Kind::ReleaseButton:
            if (isPlayableButton(event.value))
                list.add(event.timeUs,
                         RecordedStep::button(event.value,
                                              event.kind == RecordedEvent::Kind::PressButton));
            break;
        case RecordedEvent::Kind::PressKey:
        case RecordedEvent::Kind::ReleaseKey:
            // Scan code 0 would make PressKey type the character "0".
            if (event.value != 0)
                list.add(event.timeUs,
                         RecordedStep::key(event.value, event.detail,
                                           event.kind == RecordedEvent::Kind::PressKey));
            break;
        case RecordedEvent::Kind::Move:
            break;
        }
    }
    endMovement();
    return list.finish(recording.stoppedUs);
}
