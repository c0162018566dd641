#pragma once

// Scenario scripts for tests and benchmarks: writing them, and one that reports what it hears.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <lua.hpp>

// A scenario script whose OnEvent notes every event it hears, with its argument, in the
// global string "heard": "PROFILE_ACTIVATED:nil;MOUSE_BUTTON_PRESSED:1;".
inline const QByteArray kListeningScript =
    "function OnEvent(event, arg)\n"
    "  heard = (heard or '') .. event .. ':' .. tostring(arg) .. ';'\n"
    "end\n";

// What the script in the state heard since the last call.
inline QString takeHeard(lua_State* state)
{
    lua_getglobal(state, "heard");
    const QString heard = QString::fromUtf8(lua_tostring(state, -1));
    lua_pop(state, 1);
    lua_pushnil(state);
    lua_setglobal(state, "heard");
    return heard;
}

// Writes a script file into dir.
inline QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& source)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
