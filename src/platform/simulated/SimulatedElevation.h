#pragma once

#include "../Platform.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

// The administrator's rights on the simulated desktop: whether the process has them, and the
// programs started with them. A test sets the answer of the next starts (at first
// ERROR_NOT_SUPPORTED, as for a run on a desktop without such rights, where nothing starts),
// reads what was started and ends the programs that run, whose receivers then hear their exit
// codes on the calling thread. Thread-safe.
class SimulatedElevation
{
public:
    struct Start
    {
        std::wstring program;
        std::wstring parameters;
    };

    bool isElevated() const { return m_elevated.load(std::memory_order_acquire); }
    void setElevated(bool elevated) { m_elevated.store(elevated, std::memory_order_release); }

    // As Platform::startElevated: recorded, and running until finish() when it started.
    DWORD start(const std::wstring& program, const std::wstring& parameters,
                Platform::ExitReceiver finished);
    void setStartError(DWORD error);
    // Every start asked for, refused ones too, oldest first.
    std::vector<Start> starts() const;
    // Ends the program started first of those still running; false when none runs.
    bool finish(DWORD exitCode);

private:
    std::atomic<bool> m_elevated{false};
    mutable std::mutex m_mutex;
    DWORD m_startError = ERROR_NOT_SUPPORTED;
    std::vector<Start> m_starts;
    std::deque<Platform::ExitReceiver> m_running;
};

} // namespace platform
