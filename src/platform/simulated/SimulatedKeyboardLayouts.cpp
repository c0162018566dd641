#include "SimulatedKeyboardLayouts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace platform {

namespace {

// The four rows of character keys, left to right, as virtual keys, and the characters
// they type in a layout without and with Shift.
constexpr std::array<std::array<BYTE, 13>, 4> kRowKeys = {{
    {VK_OEM_3, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS},
    {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', VK_OEM_4, VK_OEM_6, VK_OEM_5},
    {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', VK_OEM_1, VK_OEM_7},
    {'Z', 'X', 'C', 'V', 'B', 'N', 'M', VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2},
}};

struct KeyboardLayout
{
    std::array<std::u16string_view, 4> plain;
    std::array<std::u16string_view, 4> shifted;
};

constexpr KeyboardLayout kEnglishKeys = {
    {u"`1234567890-=", u"qwertyuiop[]\\", u"asdfghjkl;'", u"zxcvbnm,./"},
    {u"~!@#$%^&*()_+", u"QWERTYUIOP{}|", u"ASDFGHJKL:\"", u"ZXCVBNM<>?"},
};
constexpr KeyboardLayout kRussianKeys = {
    {u"ё1234567890-=", u"йцукенгшщзхъ\\", u"фывапролджэ", u"ячсмитьбю."},
    {u"Ё!\"№;%:?*()_+", u"ЙЦУКЕНГШЩЗХЪ/", u"ФЫВАПРОЛДЖЭ", u"ЯЧСМИТЬБЮ,"},
};

SHORT keyOf(const KeyboardLayout& layout, char16_t character)
{
    if (character == u' ')
        return VK_SPACE;
    for (std::size_t row = 0; row < kRowKeys.size(); ++row) {
        if (const auto at = layout.plain[row].find(character); at != std::u16string_view::npos)
            return kRowKeys[row][at];
        if (const auto at = layout.shifted[row].find(character); at != std::u16string_view::npos)
            return static_cast<SHORT>(0x0100 | kRowKeys[row][at]);
    }
    return -1;
}

} // namespace

int SimulatedKeyboardLayouts::getKeyboardLayoutList(int count, HKL* layouts) const
{
    const int installed = static_cast<int>(m_layouts.size());
    if (count <= 0 || layouts == nullptr)
        return installed;
    const int copied = std::min(count, installed);
    std::copy_n(m_layouts.begin(), copied, layouts);
    return copied;
}

SHORT SimulatedKeyboardLayouts::vkKeyScanEx(WCHAR character, HKL layout)
{
    if (layout == kEnglishLayout)
        return keyOf(kEnglishKeys, character);
    if (layout == kRussianLayout)
        return keyOf(kRussianKeys, character);
    return -1;
}

void SimulatedKeyboardLayouts::setLayouts(std::vector<HKL> layouts)
{
    m_layouts = std::move(layouts);
    m_current = m_layouts.empty() ? nullptr : m_layouts.front();
}

} // namespace platform
