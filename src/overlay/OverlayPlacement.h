#pragma once

#include <QCoreApplication>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

struct OverlaySettings;

// Where the overlay window goes: a corner of the screen's available area with a 24-pixel
// margin, or the custom position, always kept wholly inside the area.
class OverlayPlacement
{
    Q_DECLARE_TR_FUNCTIONS(OverlayPlacement)

public:
    enum Mode
    {
        TopLeft = 0,
        TopRight = 1,
        BottomLeft = 2,
        BottomRight = 3,
        Custom = 4, // and every other value
    };

    // The top-left corner of a window of this size placed by the settings in the area.
    static QPoint position(const OverlaySettings& settings, QSize size, const QRect& area);
    // Moves a top-left corner so that the window lies inside the area (its top-left part,
    // when the window is larger).
    static QPoint clamp(QPoint topLeft, QSize size, const QRect& area);

    // The name of a placement as the settings page lists it.
    static QString positionName(int positionMode);
};
