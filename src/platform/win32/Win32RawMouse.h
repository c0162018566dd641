#pragma once

#include "../Platform.h"

#include <atomic>

namespace platform {

// Raw mouse input through a message-only window of the thread that registers: the system
// posts WM_INPUT to it for every report of every mouse (RIDEV_INPUTSINK: also while other
// programs are in front), which the thread's message loop hands to the window; the window
// reads the report with GetRawInputData into a buffer on the stack and calls the procedure.
class Win32RawMouse
{
public:
    ~Win32RawMouse();

    // From the thread whose message loop is to receive the reports; nullptr, from the same
    // thread, unregisters and destroys the window.
    bool registerProcedure(Platform::RawMouseProc procedure);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void close();

    HWND m_window = nullptr;
    // The window procedure has no object: the procedure is the process's one receiver.
    static std::atomic<Platform::RawMouseProc> s_procedure;
};

} // namespace platform
