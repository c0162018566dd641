#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A script file's text with the way it is stored: its encoding and its line endings, so
// that an edited file is written back as it came. Files that are valid UTF-8 (with or
// without a byte order mark) are UTF-8; any other bytes are read as Windows-1251, the code
// page Russian Windows saves scripts in.
class ScriptFileText
{
public:
    enum class Encoding { Utf8, Utf8WithBom, Windows1251 };

    static ScriptFileText decode(const QByteArray& bytes);

    const QString& text() const { return m_text; }
    Encoding encoding() const { return m_encoding; }
    // The first line ending of the file is CR LF.
    bool crlf() const { return m_crlf; }

    // The bytes of a text in this file's encoding, every line ending written as the file's
    // own; nothing when the encoding has no byte for one of its characters.
    std::optional<QByteArray> encode(const QString& text) const;
    // The same in UTF-8, which has a byte sequence for everything.
    QByteArray encodeUtf8(const QString& text) const;

private:
    QString withLineEndings(const QString& text) const;

    QString m_text;
    Encoding m_encoding = Encoding::Utf8;
    bool m_crlf = false;
};
