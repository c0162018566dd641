#include "LuaChunk.h"

#include <QFile>
#include <QStringDecoder>

#include <lua.hpp>

int LuaChunk::loadFile(lua_State* state, const QString& path)
{
    // The chunk is named as the standard loader names it, "@" and the path in the system's
    // 8-bit code page, so a script finds its own file through debug.getinfo and can hand
    // that name to dofile; a path the code page cannot spell is named in UTF-8.
    QByteArray fileName = path.toLocal8Bit();
    if (QString::fromLocal8Bit(fileName) != path)
        fileName = path.toUtf8();
    const QByteArray chunkName = "@" + fileName;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        lua_pushfstring(state, "cannot open %s: %s", path.toUtf8().constData(),
                        file.errorString().toUtf8().constData());
        return LUA_ERRFILE;
    }
    QByteArray source = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        lua_pushfstring(state, "cannot read %s: %s", path.toUtf8().constData(),
                        file.errorString().toUtf8().constData());
        return LUA_ERRFILE;
    }
    // A first line such as "#!/usr/bin/lua" is not Lua; its newline is kept so that line
    // numbers in error messages stay those of the file.
    if (source.startsWith('#')) {
        const qsizetype newline = source.indexOf('\n');
        source = newline < 0 ? QByteArray("\n") : source.mid(newline);
    }
    return luaL_loadbuffer(state, source.constData(), static_cast<size_t>(source.size()),
                           chunkName.constData());
}

QString LuaChunk::errorText(lua_State* state, int index)
{
    if (lua_type(state, index) == LUA_TSTRING || lua_type(state, index) == LUA_TNUMBER) {
        size_t length = 0;
        const char* text = lua_tolstring(state, index, &length);
        const QByteArray bytes(text, static_cast<qsizetype>(length));
        // Scripts are UTF-8; an error that names the file in the 8-bit code page is not.
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(bytes);
        return utf8.hasError() ? QString::fromLocal8Bit(bytes) : decoded;
    }
    return QStringLiteral("(error object is a %1 value)")
        .arg(QString::fromLatin1(luaL_typename(state, index)));
}
