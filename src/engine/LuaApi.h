#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct lua_State;

// The global functions offered to scenario scripts: mouse, keyboard, timing and state
// queries on the program's input routine, the running time, the date and the script's own
// log lines (category "clavitor.script"), and the device functions of the gaming-mouse
// scripting interface that do nothing here. No function raises a Lua error, but for the
// waits, which end a script the user stops (RunawayStop), and GetDate, which raises the
// errors of os.date.
class LuaApi
{
public:
    // The events OnEvent hears.
    static constexpr const char* kProfileActivated = "PROFILE_ACTIVATED";
    static constexpr const char* kProfileDeactivated = "PROFILE_DEACTIVATED";
    static constexpr const char* kMouseButtonPressed = "MOUSE_BUTTON_PRESSED";
    static constexpr const char* kMouseButtonReleased = "MOUSE_BUTTON_RELEASED";

    // A global function as completion and call tips offer it: its name, its arguments as the
    // scripting reference writes them ("(dx, dy)"), or for an alias the name of the function
    // it stands for.
    struct Function
    {
        QString name;
        QString arguments;
        QString aliasOf;
    };

    // Registers every function, with its aliases, as a global of the state.
    static void registerAll(lua_State* state);
    // Every function registerAll registers, aliases included, in its order.
    static QList<Function> functions();
    // The events, the scenario's own first.
    static QStringList events();
};
