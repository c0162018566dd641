#include "Win32RawMouse.h"

namespace platform {

namespace {

constexpr wchar_t kWindowClass[] = L"ClavitorRawMouse";
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;

} // namespace

std::atomic<Platform::RawMouseProc> Win32RawMouse::s_procedure{nullptr};

Win32RawMouse::~Win32RawMouse()
{
    close();
}

bool Win32RawMouse::registerProcedure(Platform::RawMouseProc procedure)
{
    close();
    if (procedure == nullptr)
        return true;
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &windowProcedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass); // fails harmlessly when it is registered already
    m_window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module,
                                 nullptr);
    if (m_window == nullptr)
        return false;
    RAWINPUTDEVICE device{kGenericDesktopPage, kMouseUsage, RIDEV_INPUTSINK, m_window};
    s_procedure.store(procedure, std::memory_order_release);
    if (!::RegisterRawInputDevices(&device, 1, sizeof device)) {
        close();
        return false;
    }
    return true;
}

void Win32RawMouse::close()
{
    if (m_window == nullptr)
        return;
    RAWINPUTDEVICE device{kGenericDesktopPage, kMouseUsage, RIDEV_REMOVE, nullptr};
    ::RegisterRawInputDevices(&device, 1, sizeof device);
    s_procedure.store(nullptr, std::memory_order_release);
    ::DestroyWindow(m_window);
    m_window = nullptr;
}

LRESULT CALLBACK Win32RawMouse::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (message == WM_INPUT) {
        RAWINPUT input;
        UINT size = sizeof input;
        const Platform::RawMouseProc procedure = s_procedure.load(std::memory_order_acquire);
        if (procedure &&
            ::GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size,
                              sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
            input.header.dwType == RIM_TYPEMOUSE)
            procedure(input.data.mouse, input.header.hDevice == nullptr);
    }
    // WM_INPUT too: the system frees the report's resources in the default procedure.
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace platform
