#include "LuaGlobalsScan.h"

#include <lua.hpp>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Lua 5.1's opcodes for a global read and a global assignment: R(A) := Gbl[Kst(Bx)] and
// Gbl[Kst(Bx)] := R(A). An instruction keeps its opcode in the low 6 bits and Bx above bit 14.
constexpr std::uint32_t kGetGlobal = 5;
constexpr std::uint32_t kSetGlobal = 7;
constexpr int kHeaderSize = 12;

int collectDump(lua_State*, const void* data, size_t size, void* buffer)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(buffer);
    const auto* begin = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
    return 0;
}

// A reader of the dump in the layout of the machine that wrote it (this one): the header
// gives the sizes of int and size_t.
class DumpReader
{
public:
    explicit DumpReader(const std::vector<unsigned char>& bytes) : m_bytes(bytes) {}

    bool readHeader()
    {
        if (m_bytes.size() < kHeaderSize || std::memcmp(m_bytes.data(), LUA_SIGNATURE, 4) != 0 ||
            m_bytes[4] != 0x51)
            return false;
        m_intSize = m_bytes[7];
        m_sizeTSize = m_bytes[8];
        m_numberSize = m_bytes[10];
        m_at = kHeaderSize;
        return m_intSize <= 8 && m_sizeTSize <= 8 && m_bytes[9] == 4;
    }

    // One function with its nested ones; false when the dump ends early or is unknown.
    bool readFunction(QList<LuaGlobalsScan::Access>& accesses)
    {
        skipString();
        skip(2 * m_intSize + 4); // line defined, last line, upvalues, parameters, vararg, stack
        const std::uint64_t codeSize = readUnsigned(m_intSize);
        if (!fits(codeSize * 4))
            return false;
        std::vector<std::uint32_t> code(codeSize);
        for (std::uint32_t& instruction : code)
            instruction = static_cast<std::uint32_t>(readUnsigned(4));

        const std::uint64_t constantCount = readUnsigned(m_intSize);
        if (!fits(constantCount)) // each takes a byte at least
            return false;
        std::vector<QString> constants(constantCount);
        for (QString& constant : constants) {
            if (!m_ok)
                return false;
            switch (readUnsigned(1)) {
            case LUA_TNIL: break;
            case LUA_TBOOLEAN: skip(1); break;
            case LUA_TNUMBER: skip(m_numberSize); break;
            case LUA_TSTRING: constant = readString(); break;
            default: return false;
            }
        }
        QList<LuaGlobalsScan::Access> nested;
        const std::uint64_t functions = readUnsigned(m_intSize);
        for (std::uint64_t i = 0; i < functions && m_ok; ++i)
            if (!readFunction(nested))
                return false;

        const std::uint64_t lines = readUnsigned(m_intSize);
        if (!fits(lines * m_intSize))
            return false;
        std::vector<int> lineOf(lines);
        for (int& line : lineOf)
            line = static_cast<int>(readUnsigned(m_intSize));
        const std::uint64_t locals = readUnsigned(m_intSize);
        for (std::uint64_t i = 0; i < locals && m_ok; ++i) {
            skipString();
            skip(2 * m_intSize);
        }
        const std::uint64_t upvalues = readUnsigned(m_intSize);
        for (std::uint64_t i = 0; i < upvalues && m_ok; ++i)
            skipString();
        if (!m_ok)
            return false;

        for (std::size_t pc = 0; pc < code.size(); ++pc) {
            const std::uint32_t op = code[pc] & 0x3F;
            const std::uint32_t bx = code[pc] >> 14;
            if ((op != kGetGlobal && op != kSetGlobal) || bx >= constants.size())
                continue;
            accesses.append({constants[bx], pc < lineOf.size() ? lineOf[pc] : 0,
                             op == kSetGlobal});
        }
        accesses.append(nested);
        return true;
    }

private:
    bool fits(std::uint64_t count)
    {
        m_ok = m_ok && count <= m_bytes.size() - m_at;
        return m_ok;
    }
    void skip(std::uint64_t count)
    {
        if (fits(count))
            m_at += count;
    }
    std::uint64_t readUnsigned(int size)
    {
        if (!fits(static_cast<std::uint64_t>(size)))
            return 0;
        std::uint64_t value = 0; // little-endian, as the machines the program runs on
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | m_bytes[m_at + i];
        m_at += size;
        return value;
    }
    QString readString()
    {
        const std::uint64_t size = readUnsigned(m_sizeTSize); // with the closing zero
        if (size == 0 || !fits(size))
            return {};
        const auto* text = reinterpret_cast<const char*>(m_bytes.data() + m_at);
        m_at += size;
        return QString::fromUtf8(text, static_cast<qsizetype>(size - 1));
    }
    void skipString() { skip(readUnsigned(m_sizeTSize)); }

    const std::vector<unsigned char>& m_bytes;
    std::size_t m_at = 0;
    int m_intSize = 4;
    int m_sizeTSize = 8;
    int m_numberSize = 8;
    bool m_ok = true;
};

} // namespace

QList<LuaGlobalsScan::Access> LuaGlobalsScan::scan(lua_State* state)
{
    std::vector<unsigned char> bytes;
    if (lua_dump(state, collectDump, &bytes) != 0)
        return {};
    DumpReader reader(bytes);
    QList<Access> accesses;
    if (!reader.readHeader() || !reader.readFunction(accesses))
        return {};
    return accesses;
}
