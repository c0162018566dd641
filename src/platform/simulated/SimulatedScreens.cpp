#include "SimulatedScreens.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace platform {

namespace {

LONG clampValue(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return static_cast<LONG>(std::clamp(value, low, high));
}

} // namespace

void SimulatedScreens::moveCursorTo(LONG x, LONG y)
{
    // Windows keeps the cursor on the screens: a point off every screen goes to the
    // nearest point of the nearest screen.
    // The squared distance of points 2^32 apart does not fit 64 bits: it is compared as a
    // double, exact enough to tell screens apart.
    double bestDistance = std::numeric_limits<double>::infinity();
    POINT best{x, y};
    for (const Screen& screen : m_screens) {
        const LONG cx = clampValue(x, screen.left, std::int64_t{screen.left} + screen.width - 1);
        const LONG cy = clampValue(y, screen.top, std::int64_t{screen.top} + screen.height - 1);
        const auto ddx = static_cast<double>(std::int64_t{cx} - x);
        const auto ddy = static_cast<double>(std::int64_t{cy} - y);
        const double distance = ddx * ddx + ddy * ddy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = {cx, cy};
        }
    }
    m_cursor = best;
}

void SimulatedScreens::applyMove(const MOUSEINPUT& mouse)
{
    if (mouse.dwFlags & MOUSEEVENTF_ABSOLUTE) {
        // The 0..65535 range spans the primary screen, or the virtual desktop.
        const Screen area =
            (mouse.dwFlags & MOUSEEVENTF_VIRTUALDESK) ? virtualDesktop() : m_screens.front();
        auto toPixel = [](LONG normalised, LONG extent) {
            const std::int64_t span = extent >= 2 ? extent - 1 : 1;
            return clampValue((std::int64_t{normalised} * span + 32767) / 65535, 0, span);
        };
        moveCursorTo(area.left + toPixel(mouse.dx, area.width),
                     area.top + toPixel(mouse.dy, area.height));
    } else {
        moveCursorTo(clampValue(std::int64_t{m_cursor.x} + mouse.dx,
                                std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()),
                     clampValue(std::int64_t{m_cursor.y} + mouse.dy,
                                std::numeric_limits<LONG>::min(),
                                std::numeric_limits<LONG>::max()));
    }
}

void SimulatedScreens::setScreens(std::vector<Screen> screens)
{
    if (screens.empty())
        return;
    m_screens = std::move(screens);
    moveCursorTo(m_cursor.x, m_cursor.y);
}

int SimulatedScreens::getSystemMetrics(int index) const
{
    switch (index) {
    case SM_CXSCREEN:
        return m_screens.front().width;
    case SM_CYSCREEN:
        return m_screens.front().height;
    case SM_XVIRTUALSCREEN:
        return virtualDesktop().left;
    case SM_YVIRTUALSCREEN:
        return virtualDesktop().top;
    case SM_CXVIRTUALSCREEN:
        return virtualDesktop().width;
    case SM_CYVIRTUALSCREEN:
        return virtualDesktop().height;
    case SM_CMONITORS:
        return static_cast<int>(m_screens.size());
    default:
        return 0;
    }
}

SimulatedScreens::Screen SimulatedScreens::virtualDesktop() const
{
    std::int64_t left = m_screens.front().left, top = m_screens.front().top;
    std::int64_t right = left + m_screens.front().width;
    std::int64_t bottom = top + m_screens.front().height;
    for (const Screen& screen : m_screens) {
        left = std::min<std::int64_t>(left, screen.left);
        top = std::min<std::int64_t>(top, screen.top);
        right = std::max<std::int64_t>(right, std::int64_t{screen.left} + screen.width);
        bottom = std::max<std::int64_t>(bottom, std::int64_t{screen.top} + screen.height);
    }
    return {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right - left),
            static_cast<LONG>(bottom - top)};
}

} // namespace platform
