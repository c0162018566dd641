#pragma once

#include "../Platform.h"

#include <array>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace platform {

// An in-process desktop: the backend of tests and of runs without a supported desktop.
// It keeps the cursor, the screens and the key, button and lock states, applies every
// record sent to it the way Windows does, and remembers the records for inspection.
class SimulatedPlatform : public Platform
{
public:
    struct Screen
    {
        LONG left;
        LONG top;
        LONG width;
        LONG height;
    };

    // The most recent records kept for inspection; older ones are dropped.
    static constexpr std::size_t kRecordHistory = 1 << 16;

    SimulatedPlatform();

    UINT sendInput(UINT count, const INPUT* inputs, int recordSize) override;
    bool getCursorPos(POINT& point) override;
    int getSystemMetrics(int index) override;
    SHORT getAsyncKeyState(int virtualKey) override;
    SHORT getKeyState(int virtualKey) override;
    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;

    // Replaces the screens. The first is the primary screen; Windows places its top-left
    // corner at (0, 0), so the others are given relative to it. The cursor is kept on them.
    void setScreens(std::vector<Screen> screens);
    // Puts the cursor at a point, kept on the screens as the real cursor is.
    void setCursorPos(POINT point);
    // A physical press or release of a key or mouse button (VK_LBUTTON, VK_CAPITAL, ...).
    // A press of a key that was up flips its toggle, as Windows does.
    void setKeyDown(int virtualKey, bool down);
    // Sets the toggle state of a key directly (Caps Lock, Num Lock, Scroll Lock).
    void setKeyToggled(int virtualKey, bool toggled);

    // The records received since the last call, oldest first.
    std::vector<INPUT> takeSentRecords();

private:
    struct KeyState
    {
        bool down = false;
        bool toggled = false;
    };

    void applyMouseRecord(const MOUSEINPUT& mouse);
    void applyKeyboardRecord(const KEYBDINPUT& keyboard);
    void changeKey(int virtualKey, bool down);
    void moveCursorTo(LONG x, LONG y);
    Screen virtualDesktop() const;

    std::mutex m_mutex;
    std::vector<Screen> m_screens;
    POINT m_cursor{0, 0};
    std::array<KeyState, 256> m_keys{};
    std::deque<INPUT> m_records;
};

} // namespace platform
