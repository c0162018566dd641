#pragma once

#include "../WinApi.h"

#include <cstdint>
#include <vector>

namespace platform {

// The keyboard layouts installed on the simulated desktop and the one typed with now, and
// the keys of the character rows of the two it knows: English (United States) and Russian.
// Not locked: the desktop calls it with its lock held (vkKeyScanEx needs none).
class SimulatedKeyboardLayouts
{
public:
    static inline const HKL kEnglishLayout = reinterpret_cast<HKL>(std::uintptr_t{0x04090409});
    static inline const HKL kRussianLayout = reinterpret_cast<HKL>(std::uintptr_t{0x04190419});

    // GetKeyboardLayoutList and GetKeyboardLayout.
    int getKeyboardLayoutList(int count, HKL* layouts) const;
    HKL getKeyboardLayout() const { return m_current; }
    // VkKeyScanExW in a layout the desktop knows; -1 in others.
    static SHORT vkKeyScanEx(WCHAR character, HKL layout);

    // Replaces the installed layouts; the first becomes the one typed with.
    void setLayouts(std::vector<HKL> layouts);
    void setCurrent(HKL layout) { m_current = layout; }

private:
    std::vector<HKL> m_layouts{kEnglishLayout, kRussianLayout};
    HKL m_current = kEnglishLayout;
};

} // namespace platform
