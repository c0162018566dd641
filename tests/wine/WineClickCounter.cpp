// Counts the left-button presses that programs inject with SendInput, as Windows reports them to
// a low-level mouse hook, and prints the count after each one ("presses N"). Wine hands injected
// input to its own windows without passing it through the X server, so an X client cannot count
// these clicks; a second Windows program in the same Wine prefix can.
#include <windows.h>

#include <cstdio>

namespace {

int g_presses = 0;

LRESULT CALLBACK onMouse(int code, WPARAM message, LPARAM data)
{
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && message == WM_LBUTTONDOWN && (event->flags & LLMHF_INJECTED)) {
        std::printf("presses %d\n", ++g_presses);
        std::fflush(stdout);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

} // namespace

int main()
{
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, onMouse, GetModuleHandleW(nullptr), 0);
    if (!hook) {
        std::fprintf(stderr, "wine_click_counter: no low-level mouse hook (error %lu)\n",
                     GetLastError());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    UnhookWindowsHookEx(hook);
    return 0;
}
