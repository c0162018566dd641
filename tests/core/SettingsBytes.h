#pragma once

#include <QByteArray>
#include <QString>

#include <cstring>

// Builds the bytes of a settings file by hand, field by field, as the format prescribes:
// big-endian, one byte for bools and 8-bit values, 64-bit IEEE doubles, 32-bit ints,
// strings as a 32-bit byte length and UTF-16BE code units (0xFFFFFFFF for a null string),
// colours as colour model, alpha, red, green, blue and padding (16 bits each), points as
// two ints.
class SettingsBytes
{
public:
    SettingsBytes& byte(quint8 value)
    {
        m_data.append(static_cast<char>(value));
        return *this;
    }
    SettingsBytes& boolean(bool value) { return byte(value ? 1 : 0); }
    SettingsBytes& u16(quint16 value) { return byte(value >> 8).byte(value & 0xFF); }
    SettingsBytes& i32(qint32 value)
    {
        const auto bits = static_cast<quint32>(value);
        return u16(bits >> 16).u16(bits & 0xFFFF);
    }
    SettingsBytes& real(double value)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return i32(static_cast<qint32>(bits >> 32)).i32(static_cast<qint32>(bits & 0xFFFFFFFF));
    }
    SettingsBytes& text(const QString& value)
    {
        i32(static_cast<qint32>(value.size() * 2));
        for (QChar c : value)
            u16(c.unicode());
        return *this;
    }
    SettingsBytes& nullText() { return i32(-1); }
    // An RGB colour with 8-bit components as they are stored: each widened to 16 bits.
    SettingsBytes& color(quint8 r, quint8 g, quint8 b, quint8 a)
    {
        return byte(1).u16(a * 0x101).u16(r * 0x101).u16(g * 0x101).u16(b * 0x101).u16(0);
    }
    SettingsBytes& point(qint32 x, qint32 y) { return i32(x).i32(y); }

    QByteArray data() const { return m_data; }

private:
    QByteArray m_data;
};
