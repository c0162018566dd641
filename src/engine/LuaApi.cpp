#include "LuaApi.h"

#include "DeadlineWait.h"
#include "EngineState.h"
#include "LuaChunk.h"
#include "RunawayStop.h"
#include "input/InputRecords.h"
#include "input/InputSender.h"
#include "platform/Platform.h"

#include <QLoggingCategory>
#include <QString>

#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcScriptLog, "clavitor.script")

namespace {

// Registry keys of the library functions that the API calls: the script may replace the
// globals, not these.
constexpr const char* kLibraryDate = "clavitor.os.date";
constexpr const char* kLibraryFormat = "clavitor.string.format";

// Arguments: the last one is the one on top of the stack; integers and strings convert as
// the Lua library converts them (anything else gives 0, or no string).

bool hasArguments(lua_State* L)
{
    return lua_gettop(L) > 0;
}

constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

// The argument's integer value as the Lua library converts it (numbers and numeric strings,
// truncated toward zero; anything else 0), but saturated to the 64-bit range where the
// library's conversion would be undefined: a huge number never wraps into its opposite.
std::int64_t integerAt(lua_State* L, int index)
{
    if (index < 1 || lua_gettop(L) < index)
        return 0;
    const lua_Number number = lua_tonumber(L, index);
    constexpr lua_Number kLimit = 9223372036854775808.0; // 2^63
    if (std::isnan(number))
        return 0;
    if (number >= kLimit)
        return kInt64Max;
    if (number <= -kLimit)
        return kInt64Min;
    return static_cast<std::int64_t>(number);
}

std::int64_t lastInteger(lua_State* L)
{
    return integerAt(L, lua_gettop(L));
}

// a + b, saturated to the 64-bit range.
std::int64_t saturatedSum(std::int64_t a, std::int64_t b)
{
    if (b > 0 && a > kInt64Max - b)
        return kInt64Max;
    if (b < 0 && a < kInt64Min - b)
        return kInt64Min;
    return a + b;
}

// The value clamped into the range of T.
template <typename T> T saturated(std::int64_t value)
{
    return static_cast<T>(std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(),
                                                   std::numeric_limits<T>::max()));
}

void sendKey(WORD scan, DWORD flags)
{
    sendInputRecord(keyboardInput(0, scan, flags));
}

// The 0..65535 coordinate of pixel p on an axis that starts at origin and is extent long.
LONG normalised(std::int64_t p, int origin, int extent)
{
    const std::int64_t last = std::int64_t{origin} + std::max(extent, 1) - 1;
    const std::int64_t pixel = std::clamp<std::int64_t>(p, origin, last);
    const std::int64_t w = extent >= 2 ? extent - 1 : 1;
    return static_cast<LONG>(((pixel - origin) * 65535 + w / 2) / w);
}

void moveRelative(lua_State* L, std::int64_t offsetX, std::int64_t offsetY)
{
    const auto dx = saturated<LONG>(saturatedSum(integerAt(L, 1), -offsetX));
    const auto dy = saturated<LONG>(saturatedSum(lastInteger(L), -offsetY));
    sendInputRecord(mouseInput(MOUSEEVENTF_MOVE, dx, dy));
}

// The virtual key of mouse button 1 (left), 2 (middle), 3 (right), 4 (back, X1) or
// 5 (forward, X2), or nothing.
std::optional<int> buttonKey(std::int64_t button)
{
    switch (button) {
    case 1:
        return VK_LBUTTON;
    case 2:
        return VK_MBUTTON;
    case 3:
        return VK_RBUTTON;
    case 4:
        return VK_XBUTTON1;
    case 5:
        return VK_XBUTTON2;
    default:
        return std::nullopt;
    }
}

int lua_doNothing(lua_State*)
{
    return 0;
}

int lua_GetMousePosition(lua_State* L)
{
    POINT cursor{0, 0};
    platform::Platform::current().getCursorPos(cursor);
    lua_pushinteger(L, cursor.x);
    lua_pushinteger(L, cursor.y);
    return 2;
}

int lua_MoveMouseRelative(lua_State* L)
{
    moveRelative(L, 0, 0);
    return 0;
}

int lua_mmr(lua_State* L)
{
    moveRelative(L, 4, 7);
    return 0;
}

int lua_MoveMouseTo(lua_State* L)
{
    platform::Platform& os = platform::Platform::current();
    const LONG dx = normalised(integerAt(L, 1), 0, os.getSystemMetrics(SM_CXSCREEN));
    const LONG dy = normalised(lastInteger(L), 0, os.getSystemMetrics(SM_CYSCREEN));
    sendInputRecord(mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy));
    return 0;
}

int lua_MoveMouseToVirtual(lua_State* L)
{
    platform::Platform& os = platform::Platform::current();
    const LONG dx = normalised(integerAt(L, 1), os.getSystemMetrics(SM_XVIRTUALSCREEN),
                               os.getSystemMetrics(SM_CXVIRTUALSCREEN));
    const LONG dy = normalised(lastInteger(L), os.getSystemMetrics(SM_YVIRTUALSCREEN),
                               os.getSystemMetrics(SM_CYVIRTUALSCREEN));
    sendInputRecord(
        mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, dx, dy));
    return 0;
}

// Waits n milliseconds; a wait the user stops ends the script with the stop's error.
int waitMilliseconds(lua_State* L, std::int64_t n)
{
    if (!DeadlineWait::milliseconds(n, RunawayStop::current()))
        return luaL_error(L, "%s", RunawayStop::kMessage);
    return 0;
}

int lua_Sleep(lua_State* L)
{
    return hasArguments(L) ? waitMilliseconds(L, saturatedSum(lastInteger(L), 1)) : 0;
}

int lua_eep(lua_State* L)
{
    return hasArguments(L) ? waitMilliseconds(L, saturatedSum(lastInteger(L), -2)) : 0;
}

int lua_IsMouseButtonPressed(lua_State* L)
{
    const std::optional<int> key = hasArguments(L) ? buttonKey(lastInteger(L)) : std::nullopt;
    if (!key)
        return 0;
    lua_pushboolean(L, platform::Platform::current().getAsyncKeyState(*key) & 0x8000);
    return 1;
}

int lua_EnablePrimaryMouseButtonEvents(lua_State* L)
{
    // Without an argument the wish for left-button events is withdrawn.
    EngineState::instance().primaryButtonEventsEnabled =
        hasArguments(L) && lua_toboolean(L, lua_gettop(L));
    return 0;
}

int sendButton(lua_State* L, bool press)
{
    if (!hasArguments(L))
        return 0;
    DWORD flags = 0;
    DWORD mouseData = 0;
    switch (lastInteger(L)) {
    case 1:
        flags = press ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        break;
    case 2:
        flags = press ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
        break;
    case 3:
        flags = press ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
        break;
    case 4: // the side buttons: the record says which in its mouse data
        flags = press ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
        mouseData = XBUTTON1;
        break;
    case 5:
        flags = press ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
        mouseData = XBUTTON2;
        break;
    default:
        return 0;
    }
    sendInputRecord(mouseInput(flags, 0, 0, mouseData));
    return 0;
}

int lua_PressMouseButton(lua_State* L)
{
    return sendButton(L, true);
}

int lua_ReleaseMouseButton(lua_State* L)
{
    return sendButton(L, false);
}

int lua_PressAndReleaseMouseButton(lua_State* L)
{
    sendButton(L, true);
    return sendButton(L, false);
}

// The counter reading at which the scenario engine started, with the program.
LONGLONG engineStart()
{
    static const LONGLONG start = platform::Platform::current().queryPerformanceCounter();
    return start;
}

int lua_GetRunningTime(lua_State* L)
{
    platform::Platform& os = platform::Platform::current();
    const LONGLONG ticksPerMs = std::max<LONGLONG>(os.queryPerformanceFrequency() / 1000, 1);
    const LONGLONG elapsed = std::max<LONGLONG>(os.queryPerformanceCounter() - engineStart(), 0);
    lua_pushnumber(L, static_cast<lua_Number>(elapsed / ticksPerMs));
    return 1;
}

// The conversions every C library's strftime knows (C99, without the E and O modifiers).
// Lua 5.1 hands strftime each "%" and the character after it as they come; Windows' C
// library ends the program on one it does not know.
bool isKnownConversion(char c)
{
    return c != '\0' && std::strchr("aAbBcCdDeFgGhHIjmMnprRStTuUVwWxXyYzZ%", c) != nullptr;
}

// Replaces the format at index with one in which every other "%x" is written as the text
// "%x" (glibc's strftime does the same with a conversion it does not know).
void pushKnownConversionsOnly(lua_State* L, int index)
{
    size_t length = 0;
    const char* format = lua_tolstring(L, index, &length);
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    for (size_t i = 0; i < length; ++i) {
        luaL_addchar(&buffer, format[i]);
        if (format[i] != '%' || i + 1 == length)
            continue;
        if (!isKnownConversion(format[i + 1]))
            luaL_addchar(&buffer, '%');
        luaL_addchar(&buffer, format[++i]);
    }
    luaL_pushresult(&buffer);
    lua_replace(L, index);
}

// os.date of the library, with the format made safe; os.date itself is this function too.
int lua_GetDate(lua_State* L)
{
    if (lua_type(L, 1) == LUA_TSTRING)
        pushKnownConversionsOnly(L, 1);
    lua_getfield(L, LUA_REGISTRYINDEX, kLibraryDate);
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

void writeScriptLogLine(const char* text, size_t length)
{
    QByteArray line(text, static_cast<qsizetype>(length));
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    qCInfo(lcScriptLog).noquote() << LuaChunk::decodeMessage(line, {});
}

// string.format(format, ...) written to the log as one line; when the format fails, the
// format as it is. Never an error.
int lua_OutputLogMessage(lua_State* L)
{
    const int count = lua_gettop(L);
    lua_getfield(L, LUA_REGISTRYINDEX, kLibraryFormat);
    for (int i = 1; i <= count; ++i)
        lua_pushvalue(L, i);
    if (lua_pcall(L, count, 1, 0) != 0) {
        lua_pop(L, 1);
        if (count > 0 && lua_type(L, 1) == LUA_TSTRING)
            lua_pushvalue(L, 1);
        else
            lua_pushstring(L, count > 0 ? luaL_typename(L, 1) : "");
    }
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    writeScriptLogLine(text, length);
    return 0;
}

int lua_MoveMouseWheel(lua_State* L)
{
    if (hasArguments(L)) {
        // mouseData carries a signed 32-bit amount.
        const std::int64_t clicks = saturated<std::int32_t>(lastInteger(L));
        const auto delta = saturated<std::int32_t>(clicks * WHEEL_DELTA);
        sendInputRecord(mouseInput(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta)));
    }
    return 0;
}

// The key of a name in a table of exact, lower-case names, or nothing.
template <std::size_t N>
std::optional<int> namedKey(lua_State* L, const std::pair<const char*, int> (&names)[N])
{
    const char* name = lua_tostring(L, lua_gettop(L));
    if (!name)
        return std::nullopt;
    for (const auto& [text, key] : names) {
        if (std::strcmp(name, text) == 0)
            return key;
    }
    return std::nullopt;
}

int lua_IsKeyLockOn(lua_State* L)
{
    static const std::pair<const char*, int> locks[] = {
        {"capslock", VK_CAPITAL}, {"scrolllock", VK_SCROLL}, {"numlock", VK_NUMLOCK}};
    if (!hasArguments(L))
        return 0;
    const std::optional<int> key = namedKey(L, locks);
    lua_pushboolean(L, key && (platform::Platform::current().getKeyState(*key) & 1));
    return 1;
}

int lua_IsModifierPressed(lua_State* L)
{
    static const std::pair<const char*, int> modifiers[] = {
        {"lalt", VK_LMENU},     {"ralt", VK_RMENU},     {"alt", VK_MENU},
        {"lshift", VK_LSHIFT},  {"rshift", VK_RSHIFT},  {"shift", VK_SHIFT},
        {"lctrl", VK_LCONTROL}, {"rctrl", VK_RCONTROL}, {"ctrl", VK_CONTROL}};
    if (!hasArguments(L))
        return 0;
    const std::optional<int> key = namedKey(L, modifiers);
    lua_pushboolean(L, key && (platform::Platform::current().getKeyState(*key) & 0x8000));
    return 1;
}

// A key as the key functions take it: a scan code, or a character typed as itself. A
// character outside the Basic Multilingual Plane is two UTF-16 units, typed one after the
// other.
struct Key
{
    WORD code;
    DWORD flags;       // KEYEVENTF_SCANCODE or KEYEVENTF_UNICODE
    WORD lowSurrogate; // the second unit of a character outside the BMP, else 0
};

// The character of a key argument: the first character of its text (unit 0 for ""), or
// nothing when the argument has no text.
std::optional<Key> characterKey(lua_State* L, int index)
{
    size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    if (!text)
        return std::nullopt;
    const QString characters = QString::fromUtf8(text, static_cast<qsizetype>(length));
    if (characters.isEmpty())
        return Key{0, KEYEVENTF_UNICODE, 0};
    if (characters.size() >= 2 && characters[0].isHighSurrogate() && characters[1].isLowSurrogate())
        return Key{characters[0].unicode(), KEYEVENTF_UNICODE, characters[1].unicode()};
    return Key{characters[0].unicode(), KEYEVENTF_UNICODE, 0};
}

Key scanCodeKey(lua_State* L, int index)
{
    return Key{static_cast<WORD>(integerAt(L, index)), KEYEVENTF_SCANCODE, 0};
}

enum class KeyAction
{
    Press,
    Release,
    PressAndRelease
};

void typeKey(const Key& key, KeyAction action)
{
    if (key.lowSurrogate) {
        // Half a character is no character: the pair is typed whole on the press, and there
        // is nothing left to release.
        if (action == KeyAction::Release)
            return;
        for (WORD unit : {key.code, key.lowSurrogate}) {
            sendKey(unit, key.flags);
            sendKey(unit, key.flags | KEYEVENTF_KEYUP);
        }
        return;
    }
    if (action != KeyAction::Release)
        sendKey(key.code, key.flags);
    if (action != KeyAction::Press)
        sendKey(key.code, key.flags | KEYEVENTF_KEYUP);
}

int sendKeys(lua_State* L, KeyAction action)
{
    std::optional<Key> keys[2];
    const int count = lua_gettop(L);
    if (count < 1 || count > 2)
        return 0;
    // The last argument decides the mode for every key of the call.
    const bool scanCodes = integerAt(L, count) != 0;
    for (int i = 0; i < count; ++i) {
        keys[i] = scanCodes ? scanCodeKey(L, i + 1) : characterKey(L, i + 1);
        if (!keys[i])
            return 0;
    }
    for (int i = 0; i < count; ++i)
        typeKey(*keys[i], action);
    return 0;
}

int lua_PressKey(lua_State* L)
{
    return sendKeys(L, KeyAction::Press);
}

int lua_ReleaseKey(lua_State* L)
{
    return sendKeys(L, KeyAction::Release);
}

int lua_PressAndReleaseKey(lua_State* L)
{
    return sendKeys(L, KeyAction::PressAndRelease);
}

struct Global
{
    const char* name;
    lua_CFunction function;
    // As the scripting reference writes them; "(...)" for the functions that do nothing, and
    // nullptr for an alias, which takes its function's.
    const char* arguments;
};

// In registration order; aliases are further globals bound to the same function.
const Global kGlobals[] = {
    {"QDebug", lua_doNothing, "(...)"},
    {"TestQ", lua_doNothing, "(...)"},
    {"GetMousePosition", lua_GetMousePosition, "()"},
    {"MoveMouseRelative", lua_MoveMouseRelative, "(dx, dy)"},
    {"MoveMouseTo", lua_MoveMouseTo, "(x, y)"},
    {"MoveMouseToVirtual", lua_MoveMouseToVirtual, "(x, y)"},
    {"Sleep", lua_Sleep, "(ms)"},
    {"IsMouseButtonPressed", lua_IsMouseButtonPressed, "(button)"},
    {"EnablePrimaryMouseButtonEvents", lua_EnablePrimaryMouseButtonEvents, "(flag)"},
    {"PressMouseButton", lua_PressMouseButton, "(button)"},
    {"ReleaseMouseButton", lua_ReleaseMouseButton, "(button)"},
    {"MoveMouseWheel", lua_MoveMouseWheel, "(clicks)"},
    {"IsKeyLockOn", lua_IsKeyLockOn, "(name)"},
    {"PressKey", lua_PressKey, "(key [, key2])"},
    {"ReleaseKey", lua_ReleaseKey, "(key [, key2])"},
    {"PressAndReleaseKey", lua_PressAndReleaseKey, "(key [, key2])"},
    {"IsModifierPressed", lua_IsModifierPressed, "(name)"},
    {"eep", lua_eep, "(ms)"},
    {"mmr", lua_mmr, "(dx, dy)"},
    {"IsNowMouseButtonPressed", lua_IsMouseButtonPressed, nullptr},
    {"IsNowButtonPressed", lua_IsMouseButtonPressed, nullptr},
    {"IsButtonPressed", lua_IsMouseButtonPressed, nullptr},
    {"IsMButtonPressed", lua_IsMouseButtonPressed, nullptr},
    {"MoveMouseRelativexy", lua_MoveMouseRelative, nullptr},
    {"Sleepms", lua_Sleep, nullptr},
    {"IsMBP", lua_IsMouseButtonPressed, nullptr},
    {"Moveto", lua_MoveMouseRelative, nullptr},
    {"Delay", lua_Sleep, nullptr},
    // Device features of gaming mice that this program does not have, but for the log, the
    // clock and the click.
    {"GetMKeyState", lua_doNothing, "(...)"},
    {"SetMKeyState", lua_doNothing, "(...)"},
    {"OutputLogMessage", lua_OutputLogMessage, "(format, ...)"},
    {"GetRunningTime", lua_GetRunningTime, "()"},
    {"GetDate", lua_GetDate, "([format [, time]])"},
    {"ClearLog", lua_doNothing, "(...)"},
    {"PressAndReleaseMouseButton", lua_PressAndReleaseMouseButton, "(button)"},
    {"OutputLCDMessage", lua_doNothing, "(...)"},
    {"ClearLCD", lua_doNothing, "(...)"},
    {"PlayMacro", lua_doNothing, "(...)"},
    {"AbortMacro", lua_doNothing, "(...)"},
    {"SetBacklightColor", lua_doNothing, "(...)"},
    {"OutputDebugMessage", lua_doNothing, "(...)"},
    {"SetMouseDPITable", lua_doNothing, "(...)"},
    {"SetMouseDPITableIndex", lua_doNothing, "(...)"},
    {"SetSteeringWheelProperty", lua_doNothing, "(...)"},
    {"G13 Programming", lua_doNothing, "(...)"},
};

// The first global bound to the function of `global`: the global itself, or the one an alias
// stands for.
const Global* firstOfFunction(const Global* global)
{
    return std::find_if(std::begin(kGlobals), global,
                        [&](const Global& earlier) { return earlier.function == global->function; });
}

// Keeps a library function in the registry under key.
void keepLibraryFunction(lua_State* L, const char* library, const char* name, const char* key)
{
    lua_getglobal(L, library);
    lua_getfield(L, -1, name);
    lua_setfield(L, LUA_REGISTRYINDEX, key);
    lua_pop(L, 1);
}

} // namespace

void LuaApi::registerAll(lua_State* state)
{
    engineStart(); // the first state is prepared as the program starts
    keepLibraryFunction(state, "os", "date", kLibraryDate);
    keepLibraryFunction(state, "string", "format", kLibraryFormat);
    for (auto global = std::begin(kGlobals); global != std::end(kGlobals); ++global) {
        // An alias is the very function value of the name registered first.
        const Global* first = firstOfFunction(global);
        if (first != global)
            lua_getglobal(state, first->name);
        else
            lua_pushcfunction(state, global->function);
        lua_setglobal(state, global->name);
    }
    // os.date is GetDate: the same results, and no format that ends the program.
    lua_getglobal(state, "os");
    lua_getglobal(state, "GetDate");
    lua_setfield(state, -2, "date");
    lua_pop(state, 1);
}

QList<LuaApi::Function> LuaApi::functions()
{
    QList<Function> functions;
    for (auto global = std::begin(kGlobals); global != std::end(kGlobals); ++global) {
        Function function{QString::fromLatin1(global->name), {}, {}};
        if (global->arguments) {
            function.arguments = QString::fromLatin1(global->arguments);
        } else {
            function.aliasOf = QString::fromLatin1(firstOfFunction(global)->name);
        }
        functions.append(function);
    }
    return functions;
}

QStringList LuaApi::events()
{
    return {QLatin1String(kProfileActivated), QLatin1String(kProfileDeactivated),
            QLatin1String(kMouseButtonPressed), QLatin1String(kMouseButtonReleased)};
}
