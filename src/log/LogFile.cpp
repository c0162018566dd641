#include "LogFile.h"

#include <QDir>
#include <QFileInfo>

LogFile::LogFile(const QString& folder)
    : m_file(QDir(folder).filePath(QStringLiteral("clavitor.log")))
{
}

bool LogFile::append(const QByteArray& bytes)
{
    const qint64 size = m_file.isOpen() ? m_file.size() : QFileInfo(m_file.fileName()).size();
    if (size > 0 && size + bytes.size() > kRotateBytes)
        rotate();
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        // Opened again at the next write: the folder may have come back meanwhile.
        m_file.close();
        return false;
    }
    return true;
}

void LogFile::rotate()
{
    m_file.close();
    const QString name = m_file.fileName();
    const auto numbered = [&name](int n) { return name + QLatin1Char('.') + QString::number(n); };
    QFile::remove(numbered(kOldFiles));
    for (int n = kOldFiles - 1; n >= 1; --n)
        QFile::rename(numbered(n), numbered(n + 1));
    QFile::rename(name, numbered(1));
}
