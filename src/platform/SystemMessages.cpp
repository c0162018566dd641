#include "SystemMessages.h"

#include <string_view>

namespace platform {

namespace {

struct SystemMessage
{
    DWORD code;
    std::wstring_view text;
};

constexpr SystemMessage kSystemMessages[] = {
    {ERROR_ACCESS_DENIED, L"Access is denied.\r\n"},
    {ERROR_INVALID_PARAMETER, L"The parameter is incorrect.\r\n"},
    {ERROR_INVALID_HOOK_HANDLE, L"Invalid hook handle.\r\n"},
    {ERROR_HOTKEY_ALREADY_REGISTERED, L"Hot key is already registered.\r\n"},
    {ERROR_HOTKEY_NOT_REGISTERED, L"Hot key is not registered.\r\n"},
    {ERROR_CANCELLED, L"The operation was canceled by the user.\r\n"},
};

} // namespace

std::wstring systemMessageText(DWORD code)
{
    for (const SystemMessage& message : kSystemMessages) {
        if (message.code == code)
            return std::wstring(message.text);
    }
    return {};
}

} // namespace platform
