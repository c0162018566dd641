#include "VirtualMouse.h"

#include "ButtonEchoes.h"
#include "platform/Platform.h"

#include <QLoggingCategory>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdint>

Q_LOGGING_CATEGORY(lcHid, "clavitor.hid")

namespace {

constexpr wchar_t kProductName[] = L"Tetherscript Virtual Mouse Rel";
constexpr int kMaxStep = 127;
constexpr qint64 kReportIntervalNs = 1'000'000;

// The button bits of a report, the record's flags that press and release them, and the
// events the system makes of their changes.
struct ButtonBit
{
    unsigned char bit;
    DWORD down;
    DWORD up;
    UINT pressed;
    UINT released;
};
constexpr std::array<ButtonBit, 3> kButtonBits{
    {{0x01, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, WM_LBUTTONDOWN, WM_LBUTTONUP},
     {0x02, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, WM_RBUTTONDOWN, WM_RBUTTONUP},
     {0x04, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, WM_MBUTTONDOWN, WM_MBUTTONUP}}};

bool isVirtualMouse(const HidApi::DeviceInfo& device)
{
    return device.product && device.product->find(kProductName) != std::wstring::npos;
}

// The pixel of a 0..65535 coordinate on an axis starting at origin and extent pixels long.
LONG pixelFromNormalised(LONG normalised, int origin, int extent)
{
    const std::int64_t span = extent >= 2 ? extent - 1 : 1;
    const std::int64_t pixel =
        std::clamp<std::int64_t>((std::int64_t{normalised} * span + 32767) / 65535, 0, span);
    return static_cast<LONG>(origin + pixel);
}

} // namespace

bool VirtualMouse::isDriverPresent()
{
    HidApi& hid = HidApi::current();
    if (hid.init() != 0)
        return false;
    const std::vector<HidApi::DeviceInfo> devices = hid.enumerate();
    return std::any_of(devices.begin(), devices.end(), isVirtualMouse);
}

bool VirtualMouse::open()
{
    HidApi& hid = HidApi::current();
    if (!m_hidInitialised) {
        if (hid.init() != 0)
            return false;
        m_hidInitialised = true;
    }
    for (const HidApi::DeviceInfo& device : hid.enumerate()) {
        if (isVirtualMouse(device)) {
            m_device = hid.openPath(device.path);
            break;
        }
    }
    if (!m_device) {
        qCInfo(lcHid) << "Не удалось открыть устройство Tetherscript HID: не найдено";
        return false;
    }
    hid.setNonblocking(m_device, 1);
    qCInfo(lcHid) << "Устройство Tetherscript HID открыто";
    return true;
}

void VirtualMouse::close()
{
    HidApi& hid = HidApi::current();
    if (m_device) {
        hid.close(m_device);
        m_device = nullptr;
    }
    if (m_hidInitialised) {
        hid.exit();
        m_hidInitialised = false;
    }
}

void VirtualMouse::pace()
{
    if (m_reportTimer.isValid()) {
        const qint64 elapsed = m_reportTimer.nsecsElapsed();
        if (elapsed < kReportIntervalNs)
            QThread::usleep(static_cast<unsigned long>((kReportIntervalNs - elapsed) / 1000));
    }
    m_reportTimer.start();
}

bool VirtualMouse::sendReport(unsigned char buttons, int x, int y)
{
    pace();
    // Every button the report changes becomes an event that the hook must not take for the
    // user's. It is noted first: it can come back before the send returns.
    ButtonEchoes& echoes = ButtonEchoes::instance();
    const unsigned char changed = buttons ^ m_buttons;
    std::array<int, kButtonBits.size()> tickets{-1, -1, -1};
    for (std::size_t i = 0; i < kButtonBits.size(); ++i) {
        const ButtonBit& button = kButtonBits[i];
        if (changed & button.bit)
            tickets[i] = echoes.expect((buttons & button.bit) ? button.pressed : button.released);
    }
    const unsigned char report[5] = {0x01, 0x02, buttons, static_cast<unsigned char>(x),
                                     static_cast<unsigned char>(y)};
    if (HidApi::current().sendFeatureReport(m_device, report, sizeof report) < 0) {
        for (int ticket : tickets)
            echoes.withdraw(ticket);
        return false; // the device still holds the buttons of its last report
    }
    m_buttons = buttons;
    return true;
}

bool VirtualMouse::send(const INPUT& record)
{
    if (record.type == INPUT_KEYBOARD)
        return false;
    if (!m_device && !open())
        return false;

    const MOUSEINPUT& mouse = record.mi;
    const DWORD flags = mouse.dwFlags;
    if (flags & (MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP | MOUSEEVENTF_WHEEL | MOUSEEVENTF_HWHEEL))
        return false;

    // A record's press comes before its release, as Windows applies them. Every button the
    // record names must change on the device; one that would not (pressed where the device
    // holds it, released where it does not, or clicked in one record, which a report cannot
    // carry) is pressed or released through the system, and with it the whole record.
    unsigned char buttons = m_buttons;
    for (const ButtonBit& button : kButtonBits) {
        if (!(flags & (button.down | button.up)))
            continue;
        unsigned char wanted = buttons;
        if (flags & button.down)
            wanted |= button.bit;
        if (flags & button.up)
            wanted &= ~button.bit;
        if (wanted == buttons)
            return false;
        buttons = wanted;
    }

    if (!(flags & MOUSEEVENTF_MOVE))
        return sendReport(buttons, 0, 0);

    std::int64_t deltaX = mouse.dx;
    std::int64_t deltaY = mouse.dy;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        platform::Platform& os = platform::Platform::current();
        const bool virtualDesk = flags & MOUSEEVENTF_VIRTUALDESK;
        const int left = virtualDesk ? os.getSystemMetrics(SM_XVIRTUALSCREEN) : 0;
        const int top = virtualDesk ? os.getSystemMetrics(SM_YVIRTUALSCREEN) : 0;
        const int width = os.getSystemMetrics(virtualDesk ? SM_CXVIRTUALSCREEN : SM_CXSCREEN);
        const int height = os.getSystemMetrics(virtualDesk ? SM_CYVIRTUALSCREEN : SM_CYSCREEN);
        POINT cursor{0, 0};
        os.getCursorPos(cursor);
        deltaX = std::int64_t{pixelFromNormalised(mouse.dx, left, width)} - cursor.x;
        deltaY = std::int64_t{pixelFromNormalised(mouse.dy, top, height)} - cursor.y;
    }
    do {
        const auto stepX = static_cast<int>(std::clamp<std::int64_t>(deltaX, -kMaxStep, kMaxStep));
        const auto stepY = static_cast<int>(std::clamp<std::int64_t>(deltaY, -kMaxStep, kMaxStep));
        if (!sendReport(buttons, stepX, stepY))
            return false;
        deltaX -= stepX;
        deltaY -= stepY;
    } while (deltaX != 0 || deltaY != 0);
    return true;
}
