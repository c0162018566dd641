#include "SimulatedElevation.h"

#include <utility>

namespace platform {

DWORD SimulatedElevation::start(const std::wstring& program, const std::wstring& parameters,
                                Platform::ExitReceiver finished)
{
    std::lock_guard lock(m_mutex);
    m_starts.push_back({program, parameters});
    if (m_startError == ERROR_SUCCESS)
        m_running.push_back(std::move(finished));
    return m_startError;
}

void SimulatedElevation::setStartError(DWORD error)
{
    std::lock_guard lock(m_mutex);
    m_startError = error;
}

std::vector<SimulatedElevation::Start> SimulatedElevation::starts() const
{
    std::lock_guard lock(m_mutex);
    return m_starts;
}

bool SimulatedElevation::finish(DWORD exitCode)
{
    Platform::ExitReceiver finished;
    {
        std::lock_guard lock(m_mutex);
        if (m_running.empty())
            return false;
        finished = std::move(m_running.front());
        m_running.pop_front();
    }
    if (finished)
        finished(exitCode);
    return true;
}

} // namespace platform
