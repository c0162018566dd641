#pragma once

#include "PlaybackTrigger.h"
#include "RecordedStep.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

// The Lua text (UTF-8) of a recorded scenario: a header comment that says when it was
// recorded, how long it lasts and how it plays; the steps as a table of calls of the
// scripting functions, one a line, keys as scan codes with the key's name in a comment; and
// the OnEvent that plays them on the trigger. The player keeps its waits to the clock from
// the start of a playback, so that rounding does not add up, and lets go of every button and
// key the playback still holds when it ends, is stopped or the scenario is left. A playback
// that repeats while a button is held ends each round with the recording's tail, so that a
// round lasts until the moment the recording was stopped and at least kMinimumCycleMs. Besides
// OnEvent the script sets no globals: a profile's scenarios share one Lua state.
class RecordedScriptWriter
{
public:
    static constexpr int kMinimumCycleMs = 10;

    static QByteArray write(const RecordedSteps& recorded, const QDateTime& recordedAt,
                            const PlaybackTrigger& trigger);
};
