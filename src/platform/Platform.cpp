#include "Platform.h"

#include "simulated/SimulatedPlatform.h"

namespace platform {

std::atomic<Platform*> Platform::s_current{nullptr};

void Platform::setCurrent(Platform* platform)
{
    s_current.store(platform, std::memory_order_release);
}

Platform& Platform::installDefault()
{
    static const std::unique_ptr<Platform> fallback = createPlatform({});
    Platform* expected = nullptr;
    s_current.compare_exchange_strong(expected, fallback.get(), std::memory_order_acq_rel);
    return *s_current.load(std::memory_order_acquire);
}

std::unique_ptr<Platform> createPlatform(std::string_view /*qtPlatformName*/)
{
    return std::make_unique<SimulatedPlatform>();
}

} // namespace platform
