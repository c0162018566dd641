#pragma once

#include "RecordedStep.h"
#include "Recording.h"

#include <QList>

#include <optional>

// Turns what the recorder heard into the steps of a scenario. The steps run from the first
// thing the user did to the last: the idle time before and after is not kept.
//
// Movement between two other events is merged into one step per kMoveWindowUs, the sums
// exact; a merged movement that comes to nothing is left out. Wheel turns are summed into
// whole notches, the rest of a notch kept for the next turn. Keeping the timing, the waits
// between the steps add up to the recording's time: each is a whole number of milliseconds,
// and the fraction left over is carried into the next. Events the scripting functions cannot
// play (a key without a scan code, a button outside 1 to 5) are left out.
class StepBuilder
{
public:
    // How long one movement step gathers movement: a few milliseconds, so that a path keeps
    // its shape and the script its size.
    static constexpr qint64 kMoveWindowUs = 8'000;

    struct Options
    {
        bool withMovement = true;
        // Instead of the recorded timing, this wait between every two steps.
        std::optional<int> fixedDelayMs;
    };

    explicit StepBuilder(const Options& options) : m_options(options) {}

    // The events in the order heard; a time that runs backwards counts as no time. The tail
    // is the time from the last step to the stop, the fraction of a millisecond carried into
    // it; nothing without steps.
    RecordedSteps build(const Recording& recording) const;

private:
    Options m_options;
};
