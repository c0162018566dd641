#pragma once

#include "PreviewTimeline.h"
#include "input/MovementModifiers.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a preview run is asked to do: a script's text, under a timeline of the mouse buttons,
// with Caps Lock on or off and the movement modifiers of the scenario's row. Travels to the
// preview process as one JSON object.
struct PreviewRequest
{
    QString scenarioName;
    QString script;
    PreviewTimeline::Kind timeline = PreviewTimeline::Kind::LeftHold;
    bool capsLock = false;
    MovementModifiers modifiers;

    QByteArray toJson() const;
    // Nothing when the bytes are not such an object.
    static std::optional<PreviewRequest> fromJson(const QByteArray& json);
};
