#pragma once

#include "../WinApi.h"

#include <vector>

namespace platform {

// The screens of the simulated desktop and the cursor, kept on them as Windows keeps it.
// Not locked: the desktop calls it with its lock held.
class SimulatedScreens
{
public:
    struct Screen
    {
        LONG left;
        LONG top;
        LONG width;
        LONG height;
    };

    // One screen of 1920 x 1080, the cursor in its top-left corner.
    SimulatedScreens() : m_screens{{0, 0, 1920, 1080}} {}

    POINT cursor() const { return m_cursor; }
    // Puts the cursor at a point; a point off every screen goes to the nearest point of
    // the nearest screen.
    void moveCursorTo(LONG x, LONG y);
    // The move of a MOUSEEVENTF_MOVE record, absolute or relative, as Windows applies it.
    void applyMove(const MOUSEINPUT& mouse);
    // Replaces the screens (none: no change), keeping the cursor on them.
    void setScreens(std::vector<Screen> screens);
    // GetSystemMetrics for the SM_* indices of screens and the virtual desktop.
    int getSystemMetrics(int index) const;

private:
    Screen virtualDesktop() const;

    std::vector<Screen> m_screens; // the primary screen first
    POINT m_cursor{0, 0};
};

} // namespace platform
