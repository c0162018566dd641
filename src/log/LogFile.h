#pragma once

#include <QFile>
#include <QString>

// The journal's file, clavitor.log in the data folder, that a user can attach to a bug report.
// It is rotated before it would pass 1 MiB: clavitor.log becomes clavitor.log.1, the older
// copies move up one number, and the oldest beyond the third goes.
class LogFile
{
public:
    static constexpr qint64 kRotateBytes = 1024 * 1024;
    static constexpr int kOldFiles = 3;

    explicit LogFile(const QString& folder);
    QString path() const { return m_file.fileName(); }
    // Appends the bytes, rotating first when they would take the file past its size. False,
    // with errorString() saying why, when they could not be written.
    bool append(const QByteArray& bytes);
    QString errorString() const { return m_file.errorString(); }

private:
    void rotate();

    QFile m_file;
};
