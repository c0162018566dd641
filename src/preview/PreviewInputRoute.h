#pragma once

#include "input/MovementModifiers.h"

#include <QByteArray>
#include <QList>
#include <QVariant>

// The input route of a preview run, set on the application properties that the input
// routine reads for every record: the system route (never the virtual HID mouse), neutral
// factors of the control mode and the profile, and the scenario row's modifiers published as
// an activation publishes them. The properties are given back as they were when this ends.
class PreviewInputRoute
{
public:
    explicit PreviewInputRoute(const MovementModifiers& scenario);
    ~PreviewInputRoute();
    PreviewInputRoute(const PreviewInputRoute&) = delete;
    PreviewInputRoute& operator=(const PreviewInputRoute&) = delete;

private:
    void set(const char* name, const QVariant& value);

    QList<QPair<QByteArray, QVariant>> m_saved;
};
