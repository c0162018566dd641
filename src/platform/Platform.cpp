#include "Platform.h"

#include "simulated/SimulatedPlatform.h"
#ifdef _WIN32
#include "win32/Win32Platform.h"
#endif

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

std::unique_ptr<Platform> createPlatform(std::string_view qtPlatformName)
{
#ifdef _WIN32
    if (qtPlatformName == "windows")
        return std::make_unique<Win32Platform>();
#else
    (void)qtPlatformName;
#endif
    return std::make_unique<SimulatedPlatform>();
}

} // namespace platform
