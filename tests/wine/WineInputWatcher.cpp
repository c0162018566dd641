// Reports the mouse input that programs inject with SendInput, as Windows hands it to a low-level
// mouse hook: "press" for each left-button press, "move X Y" with the cursor's new position for
// each move. Wine hands injected input to its own windows without passing it through the X
// server, so an X client cannot see it; a second Windows program in the same Wine prefix can.
//
// It ends when its standard input closes, removing its hook first: under Wine 8, a process killed
// while its low-level hook is in place leaves the other programs' low-level hooks uncalled.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK onMouse(int code, WPARAM message, LPARAM data)
{
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && (event->flags & LLMHF_INJECTED)) {
        if (message == WM_LBUTTONDOWN)
            std::printf("press\n");
        else if (message == WM_MOUSEMOVE)
            std::printf("move %ld %ld\n", event->pt.x, event->pt.y);
        std::fflush(stdout);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// Reads standard input until it closes, then ends the main thread's message loop.
DWORD WINAPI waitForEndOfInput(void* mainThread)
{
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) &&
           read > 0) {
    }
    PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(mainThread)), WM_QUIT, 0, 0);
    return 0;
}

} // namespace

int main()
{
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, onMouse, GetModuleHandleW(nullptr), 0);
    if (!hook) {
        std::fprintf(stderr, "wine_input_watcher: no low-level mouse hook (error %lu)\n",
                     GetLastError());
        return 1;
    }
    const auto mainThread = reinterpret_cast<void*>(static_cast<UINT_PTR>(GetCurrentThreadId()));
    if (!CreateThread(nullptr, 0, waitForEndOfInput, mainThread, 0, nullptr)) {
        std::fprintf(stderr, "wine_input_watcher: no input thread (error %lu)\n", GetLastError());
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
