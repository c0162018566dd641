#include "Platform.h"

#include "simulated/SimulatedPlatform.h"
#ifdef _WIN32
#include "win32/Win32Platform.h"
#elif defined(CLAVITOR_HAS_X11)
#include "x11/X11Platform.h"
#endif

#include <cstdio>
#include <cstdlib>

namespace platform {

std::atomic<Platform*> Platform::s_current{nullptr};
std::atomic<Platform::MessageReceiver> Platform::s_messageReceiver{nullptr};

void Platform::setCurrent(Platform* platform)
{
    s_current.store(platform, std::memory_order_release);
}

void Platform::setMessageReceiver(MessageReceiver receiver)
{
    s_messageReceiver.store(receiver, std::memory_order_release);
}

void Platform::postMessage(const MSG& message)
{
    if (const MessageReceiver receiver = s_messageReceiver.load(std::memory_order_acquire))
        receiver(message);
}

Platform& Platform::installDefault()
{
    static const std::unique_ptr<Platform> fallback = createPlatform({});
    Platform* expected = nullptr;
    s_current.compare_exchange_strong(expected, fallback.get(), std::memory_order_acq_rel);
    return *s_current.load(std::memory_order_acquire);
}

std::unique_ptr<Platform> createPlatform(std::string_view qtPlatformName,
                                         DesktopSupport* support)
{
    DesktopSupport unused = DesktopSupport::Supported;
    DesktopSupport& outcome = support ? *support : unused;
    // Runs the program on a real desktop without touching its mouse and keyboard (tests).
    const char* simulated = std::getenv("CLAVITOR_SIMULATED_DESKTOP");
    if (simulated && *simulated && std::string_view(simulated) != "0") {
        outcome = DesktopSupport::SimulatedOnRequest;
        return std::make_unique<SimulatedPlatform>();
    }
    outcome = DesktopSupport::NoBackend;
#ifdef _WIN32
    if (qtPlatformName == "windows") {
        outcome = DesktopSupport::Supported;
        return std::make_unique<Win32Platform>();
    }
#elif defined(CLAVITOR_HAS_X11)
    if (qtPlatformName == "xcb") {
        if (std::unique_ptr<Platform> x11 = X11Platform::open()) {
            outcome = DesktopSupport::Supported;
            return x11;
        }
        outcome = DesktopSupport::MissingExtensions;
        std::fputs("Рабочий стол X11 недоступен (нет XTEST или XKB): ввод остаётся внутри "
                   "программы\n",
                   stderr);
    }
#else
    (void)qtPlatformName;
#endif
    return std::make_unique<SimulatedPlatform>();
}

} // namespace platform
