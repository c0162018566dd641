#pragma once

#include <QColor>
#include <QIcon>
#include <QSize>

// How the settings page shows the overlay's colours and opacities: a colour as the swatch of
// its combo box item, a stored opacity (0..255) as a percent, and back.
class OverlayStyleValues
{
public:
    static constexpr QSize kSwatchSize{24, 14};

    static QIcon swatch(const QColor& color);
    static int opacityToPercent(int opacity);
    static int percentToOpacity(int percent);
};
