#include "LuaChunk.h"

#include "LuaSandbox.h"

#include <QFile>
#include <QStringDecoder>

#include <lua.hpp>

namespace {

// Lua shortens a chunk's file name in messages to its last bytes, after "...".
constexpr qsizetype kShownNameBytes = LUA_IDSIZE - static_cast<qsizetype>(sizeof(" '...' "));

bool spelledInCodePage(const QString& path)
{
    return QString::fromLocal8Bit(path.toLocal8Bit()) == path;
}

// Bytes of the script's own text: UTF-8, or the code page where they are not UTF-8.
QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(bytes);
    return utf8.hasError() ? QString::fromLocal8Bit(bytes) : decoded;
}

} // namespace

QByteArray LuaChunk::fileName(const QString& path)
{
    return spelledInCodePage(path) ? path.toLocal8Bit() : path.toUtf8();
}

int LuaChunk::loadFile(lua_State* state, const QString& path, Chunks chunks)
{
    const QByteArray chunkName = "@" + fileName(path);
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
    if (chunks == Chunks::TextOnly && source.startsWith(LUA_SIGNATURE[0])) {
        const QByteArray refusal = LuaSandbox::binaryChunkRefusal();
        lua_pushfstring(state, "%s: %s", chunkName.constData() + 1, refusal.constData());
        return LUA_ERRSYNTAX;
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

QString LuaChunk::errorText(lua_State* state, int index, const QStringList& files)
{
    if (lua_type(state, index) == LUA_TSTRING || lua_type(state, index) == LUA_TNUMBER) {
        size_t length = 0;
        const char* text = lua_tolstring(state, index, &length);
        QList<QPair<QByteArray, QString>> names;
        for (const QString& path : files) {
            const QByteArray name = fileName(path);
            names.append({name, path});
            if (name.size() > kShownNameBytes) {
                const QByteArray tail = name.right(kShownNameBytes);
                names.append({"..." + tail, QStringLiteral("...") +
                                                (spelledInCodePage(path)
                                                     ? QString::fromLocal8Bit(tail)
                                                     : QString::fromUtf8(tail))});
            }
        }
        return decodeMessage(QByteArray(text, static_cast<qsizetype>(length)), names);
    }
    return QStringLiteral("(error object is a %1 value)")
        .arg(QString::fromLatin1(luaL_typename(state, index)));
}

QString LuaChunk::decodeMessage(const QByteArray& bytes,
                                const QList<QPair<QByteArray, QString>>& names)
{
    QString message;
    qsizetype textStart = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype matched = 0;
        const QString* path = nullptr;
        for (const auto& [name, namePath] : names) {
            if (name.size() > matched && QByteArrayView(bytes).sliced(at).startsWith(name)) {
                matched = name.size();
                path = &namePath;
            }
        }
        if (!path) {
            ++at;
            continue;
        }
        message += decodeText(bytes.mid(textStart, at - textStart)) + *path;
        at += matched;
        textStart = at;
    }
    return message + decodeText(bytes.mid(textStart));
}
