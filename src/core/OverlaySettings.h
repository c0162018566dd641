#pragma once

#include <QColor>
#include <QPoint>
#include <QtGlobal>

// The overlay's settings block, stored inside the settings file.
struct OverlaySettings
{
    bool enabled = false;
    // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right, any other value custom.
    quint8 positionMode = 1;
    QPoint customPosition{0, 0};
    QColor backgroundColor{0x17, 0x17, 0x17};
    QColor textColor{0xe5, 0xe5, 0xe5};
    int backgroundOpacity = 200;
    int textOpacity = 255;
    int textSize = 9;
    bool showScenarios = true;
    bool showAutoclickerStatus = true;
    bool highlightActiveScenario = true;

    bool operator==(const OverlaySettings&) const = default;
};
