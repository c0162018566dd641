#pragma once

#include "RecordedEvent.h"

#include <QList>

// What one recording heard, oldest first, and the moment it was stopped on the events' clock:
// a playback that repeats waits from its last step until that moment before it starts again.
struct Recording
{
    QList<RecordedEvent> events;
    qint64 stoppedUs = 0;
};
