#include "OverlayPlacement.h"

#include "core/OverlaySettings.h"

#include <algorithm>

namespace {

constexpr int kMargin = 24;

} // namespace

QPoint OverlayPlacement::position(const OverlaySettings& settings, QSize size, const QRect& area)
{
    // right() and bottom() are the last pixel column and row of the area.
    const int left = area.left() + kMargin;
    const int top = area.top() + kMargin;
    const int right = area.right() - size.width() - (kMargin - 1);
    const int bottom = area.bottom() - size.height() - (kMargin - 1);
    QPoint topLeft;
    switch (settings.positionMode) {
    case TopLeft:
        topLeft = {left, top};
        break;
    case TopRight:
        topLeft = {right, top};
        break;
    case BottomLeft:
        topLeft = {left, bottom};
        break;
    case BottomRight:
        topLeft = {right, bottom};
        break;
    default:
        topLeft = settings.customPosition;
        break;
    }
    return clamp(topLeft, size, area);
}

QPoint OverlayPlacement::clamp(QPoint topLeft, QSize size, const QRect& area)
{
    const int maxX = area.left() + std::max(0, area.width() - size.width());
    const int maxY = area.top() + std::max(0, area.height() - size.height());
    return {std::clamp(topLeft.x(), area.left(), maxX), std::clamp(topLeft.y(), area.top(), maxY)};
}

QString OverlayPlacement::positionName(int positionMode)
{
    switch (positionMode) {
    case TopLeft:
        return tr("Верхний левый угол");
    case TopRight:
        return tr("Верхний правый угол");
    case BottomLeft:
        return tr("Нижний левый угол");
    case BottomRight:
        return tr("Нижний правый угол");
    default:
        return tr("Произвольное положение");
    }
}
