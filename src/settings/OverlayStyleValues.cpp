#include "OverlayStyleValues.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

QIcon OverlayStyleValues::swatch(const QColor& color)
{
    // A rounded swatch on a transparent ground.
    QPixmap pixmap(kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(pixmap.rect()).adjusted(1, 1, -1, -1), 4, 4);
    return QIcon(pixmap);
}

int OverlayStyleValues::opacityToPercent(int opacity)
{
    return std::clamp(static_cast<int>(std::lround(opacity * 100.0 / 255.0)), 0, 100);
}

int OverlayStyleValues::percentToOpacity(int percent)
{
    return std::clamp(percent * 255 / 100, 0, 255);
}
