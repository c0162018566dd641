#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct lua_State;

// Loading script files into a Lua state, and reading back its error texts.
class LuaChunk
{
public:
    // Whether a precompiled chunk may be loaded: the safe library (LuaSandbox) refuses them.
    enum class Chunks { TextOrBinary, TextOnly };

    // Loads the file at path as a chunk on top of the stack, as the standard loader does
    // (chunk name "@" + the file's name, a first line starting with '#' skipped) but reading
    // the file through Qt, so every path the user can pick is reachable whatever the
    // system's 8-bit code page. Returns the Lua status; on failure the error value is on the
    // stack.
    static int loadFile(lua_State* state, const QString& path,
                        Chunks chunks = Chunks::TextOrBinary);

    // How the chunk of the file at path names it: the path in the system's 8-bit code page,
    // as the standard loader has it (so a script of the full library finds its own file
    // through debug.getinfo and can hand that name to dofile), or UTF-8 when the code page
    // cannot spell the path.
    static QByteArray fileName(const QString& path);

    // The text of the value at index: strings and numbers as they are, any other value
    // described by its type, so an error never has an empty text. Error texts mix the names
    // of chunks, in the code page, with the script's own text, in UTF-8: every name of one
    // of the files (as loadFile named them, whole or shortened by Lua) reads as that path,
    // the rest as UTF-8, or in the code page where it is not UTF-8.
    static QString errorText(lua_State* state, int index, const QStringList& files = {});

    // The same for the bytes of a text, with the names of the files already in the bytes
    // they are written with (name bytes, path) pairs.
    static QString decodeMessage(const QByteArray& bytes,
                                 const QList<QPair<QByteArray, QString>>& names);
};
