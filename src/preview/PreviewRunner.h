#pragma once

#include "PreviewRequest.h"
#include "PreviewResult.h"

#include <cstddef>
#include <optional>

class LuaMemoryBound;
class PreviewBounds;
class PreviewLogCapture;
struct lua_State;

namespace platform {
class VirtualClockPlatform;
}

// Runs a script's text ahead of time, as the scenario engine would run it when its hotkey is
// pressed, in a Lua state of its own (the safe library, the memory bound) on a simulated
// desktop with a virtual clock: the chunk, "PROFILE_ACTIVATED", the button events of the
// timeline at their virtual times (one that came while OnEvent was busy is delivered when it
// returns, as the engine's queue delivers it), then "PROFILE_DEACTIVATED". The desktop is
// the process's current platform while the run lasts; the one before is put back after.
class PreviewRunner
{
public:
    // The records kept for the result; the ones sent beyond them are only counted.
    static constexpr std::size_t kRecordLimit = 100'000;
    // Where the pointer starts: the middle of the 1920 x 1080 screen of the desktop.
    static constexpr int kStartX = 960;
    static constexpr int kStartY = 540;

    static PreviewResult run(const PreviewRequest& request);

private:
    PreviewRunner(const PreviewRequest& request, platform::VirtualClockPlatform& clock,
                  PreviewResult& result);
    void play(lua_State* state, LuaMemoryBound& memory, PreviewBounds& bounds,
              PreviewLogCapture& log);
    bool runChunk();
    // Calls OnEvent; false when the run must end (a bound was passed).
    bool callOnEvent(const char* event, std::optional<int> button = std::nullopt);
    // Ends the run when a bound was passed; true when it goes on.
    bool goesOn();
    void collectRecords();

    const PreviewRequest& m_request;
    platform::VirtualClockPlatform& m_clock;
    PreviewResult& m_result;
    lua_State* m_state = nullptr;
    LuaMemoryBound* m_memory = nullptr;
    PreviewBounds* m_bounds = nullptr;
    PreviewLogCapture* m_log = nullptr;
};
