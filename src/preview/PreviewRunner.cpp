#include "PreviewRunner.h"

#include "PreviewBounds.h"
#include "PreviewInputRoute.h"
#include "PreviewLogCapture.h"
#include "core/SettingsNormalization.h"
#include "engine/EngineState.h"
#include "engine/LuaApi.h"
#include "engine/LuaChunk.h"
#include "engine/LuaMemoryBound.h"
#include "engine/LuaSandbox.h"
#include "engine/OnEventCall.h"
#include "engine/LuaStateSetup.h"
#include "platform/simulated/VirtualClockPlatform.h"

#include <lua.hpp>

#include <cmath>
#include <exception>

namespace {

constexpr LONGLONG kTicksPerMs = platform::VirtualClockPlatform::kTicksPerSecond / 1000;

int virtualKeyOf(int button)
{
    switch (button) {
    case 1:
        return VK_LBUTTON;
    case 2:
        return VK_MBUTTON;
    default:
        return VK_RBUTTON;
    }
}

// The pixel of a 0..65535 coordinate on an axis that starts at origin and is extent long.
int pixelOf(LONG normalised, int origin, int extent)
{
    return origin + static_cast<int>(std::lround(double(normalised) * (std::max(extent, 1) - 1) /
                                                 65535.0));
}

} // namespace

PreviewRunner::PreviewRunner(const PreviewRequest& request, platform::VirtualClockPlatform& clock,
                             PreviewResult& result)
    : m_request(request), m_clock(clock), m_result(result)
{
}

PreviewResult PreviewRunner::run(const PreviewRequest& request)
{
    std::vector<platform::VirtualClockPlatform::ButtonChange> buttons;
    for (const PreviewTimeline::Change& change : PreviewTimeline::changes(request.timeline))
        buttons.push_back({change.atMs * kTicksPerMs, virtualKeyOf(change.button), change.down});
    platform::VirtualClockPlatform clock(std::move(buttons));
    clock.setRecordLimit(kRecordLimit);
    clock.setCursorPos({kStartX, kStartY});
    clock.setKeyToggled(VK_CAPITAL, request.capsLock);

    PreviewResult result;
    result.start = QPoint(kStartX, kStartY);
    platform::Platform& previous = platform::Platform::current();
    platform::Platform::setCurrent(&clock);
    // A run starts as the program does: no scenario active, no wish for left-button events.
    const EngineState engine = EngineState::instance();
    EngineState::instance() = EngineState{};
    {
        const PreviewInputRoute route(request.modifiers);
        PreviewLogCapture log(result, clock);
        LuaMemoryBound memory(std::size_t(kDefaultScriptMemoryLimitMiB) * LuaMemoryBound::kMiB);
        PreviewBounds bounds(clock);
        PreviewRunner runner(request, clock, result);
        lua_State* state = nullptr;
        try {
            state = LuaStateSetup::open(memory, QString(), /*safe*/ true);
        } catch (const std::exception& failure) {
            result.end = PreviewResult::End::Failed;
            result.errorText = QString::fromLocal8Bit(failure.what());
        }
        if (state) {
            runner.play(state, memory, bounds, log);
            lua_close(state);
        }
        result.durationUs = clock.now();
        runner.collectRecords();
    }
    EngineState::instance() = engine;
    platform::Platform::setCurrent(&previous);
    return result;
}

void PreviewRunner::play(lua_State* state, LuaMemoryBound& memory, PreviewBounds& bounds,
                         PreviewLogCapture& log)
{
    m_state = state;
    m_memory = &memory;
    m_bounds = &bounds;
    m_log = &log;
    if (lua_cpcall(state, &PreviewBounds::watchState, nullptr) != 0) {
        m_result.end = PreviewResult::End::Memory;
        return;
    }
    if (!runChunk())
        return;
    EngineState& engine = EngineState::instance();
    engine.eventsEnabled = true;
    if (!callOnEvent(LuaApi::kProfileActivated))
        return;
    engine.scenarioActive = true;
    for (const PreviewTimeline::Change& change : PreviewTimeline::changes(m_request.timeline)) {
        // Idle until the change comes; one that came while OnEvent was busy is due at once.
        m_clock.sleepUntil(change.atMs * kTicksPerMs);
        // The engine's rules: the left button only once the script asked for it.
        const bool heard = change.button == 1
                               ? engine.primaryButtonEventsEnabled && engine.eventsEnabled
                               : engine.eventsEnabled;
        if (heard &&
            !callOnEvent(change.down ? LuaApi::kMouseButtonPressed : LuaApi::kMouseButtonReleased,
                         change.button))
            return;
    }
    callOnEvent(LuaApi::kProfileDeactivated);
}

bool PreviewRunner::runChunk()
{
    QByteArray text = m_request.script.toUtf8();
    // A first line such as "#!/usr/bin/lua" is not Lua; its newline keeps the line numbers.
    if (text.startsWith('#'))
        text.remove(0, text.indexOf('\n') < 0 ? text.size() : text.indexOf('\n'));
    const QByteArray chunkName = "=" + m_request.scenarioName.toUtf8();
    int status = 0;
    if (text.startsWith(LUA_SIGNATURE[0])) {
        m_result.end = PreviewResult::End::ScriptError;
        m_result.errorText = m_request.scenarioName + QStringLiteral(": ") +
                             QString::fromUtf8(LuaSandbox::binaryChunkRefusal());
        return false;
    }
    status = luaL_loadbuffer(m_state, text.constData(), std::size_t(text.size()),
                             chunkName.constData());
    if (status == 0)
        status = lua_pcall(m_state, 0, 0, 0);
    if (!goesOn())
        return false;
    if (status != 0) {
        m_result.end = PreviewResult::End::ScriptError;
        m_result.errorText = LuaChunk::errorText(m_state, -1);
        return false;
    }
    return true;
}

bool PreviewRunner::callOnEvent(const char* event, std::optional<int> button)
{
    const bool failed = OnEventCall::call(m_state, event, button) != 0;
    if (!goesOn())
        return false;
    // As the engine journals it; the scenario stays active.
    if (failed)
        m_log->addError(QStringLiteral("Ошибка Lua в OnEvent: ") + LuaChunk::errorText(m_state, -1));
    lua_settop(m_state, 0);
    return true;
}

bool PreviewRunner::goesOn()
{
    // A script that caught the stop or the bound and went on ends all the same.
    if (m_bounds->stop() != PreviewResult::End::Finished)
        m_result.end = m_bounds->stop();
    else if (m_memory->reached())
        m_result.end = PreviewResult::End::Memory;
    else
        return true;
    return false;
}

void PreviewRunner::collectRecords()
{
    using Record = PreviewResult::Record;
    const int screenWidth = m_clock.getSystemMetrics(SM_CXSCREEN);
    const int screenHeight = m_clock.getSystemMetrics(SM_CYSCREEN);
    for (const platform::VirtualClockPlatform::SentRecord& sent : m_clock.sentRecords()) {
        const qint64 at = sent.atTick;
        if (sent.record.type == INPUT_KEYBOARD) {
            const KEYBDINPUT& key = sent.record.ki;
            m_result.records.append({at, key.dwFlags & KEYEVENTF_KEYUP ? Record::Kind::KeyUp
                                                                        : Record::Kind::KeyDown,
                                     key.wScan, key.dwFlags & KEYEVENTF_UNICODE ? 1 : 0});
            continue;
        }
        const MOUSEINPUT& mouse = sent.record.mi;
        const DWORD flags = mouse.dwFlags;
        if ((flags & MOUSEEVENTF_MOVE) && (flags & MOUSEEVENTF_ABSOLUTE)) {
            const bool virtualDesk = flags & MOUSEEVENTF_VIRTUALDESK;
            const int x = virtualDesk ? pixelOf(mouse.dx, m_clock.getSystemMetrics(SM_XVIRTUALSCREEN),
                                                m_clock.getSystemMetrics(SM_CXVIRTUALSCREEN))
                                      : pixelOf(mouse.dx, 0, screenWidth);
            const int y = virtualDesk ? pixelOf(mouse.dy, m_clock.getSystemMetrics(SM_YVIRTUALSCREEN),
                                                m_clock.getSystemMetrics(SM_CYVIRTUALSCREEN))
                                      : pixelOf(mouse.dy, 0, screenHeight);
            m_result.records.append({at, Record::Kind::Jump, x, y});
        } else if (flags & MOUSEEVENTF_MOVE) {
            m_result.records.append({at, Record::Kind::Move, mouse.dx, mouse.dy});
        }
        const int xButton = mouse.mouseData & XBUTTON2 ? 5 : 4;
        const std::pair<DWORD, std::pair<Record::Kind, int>> buttons[] = {
            {MOUSEEVENTF_LEFTDOWN, {Record::Kind::ButtonDown, 1}},
            {MOUSEEVENTF_LEFTUP, {Record::Kind::ButtonUp, 1}},
            {MOUSEEVENTF_RIGHTDOWN, {Record::Kind::ButtonDown, 3}},
            {MOUSEEVENTF_RIGHTUP, {Record::Kind::ButtonUp, 3}},
            {MOUSEEVENTF_MIDDLEDOWN, {Record::Kind::ButtonDown, 2}},
            {MOUSEEVENTF_MIDDLEUP, {Record::Kind::ButtonUp, 2}},
            {MOUSEEVENTF_XDOWN, {Record::Kind::ButtonDown, xButton}},
            {MOUSEEVENTF_XUP, {Record::Kind::ButtonUp, xButton}},
        };
        for (const auto& [flag, button] : buttons) {
            if (flags & flag)
                m_result.records.append({at, button.first, button.second, 0});
        }
    }
    m_result.droppedRecords = qint64(m_clock.droppedRecords());
}
