#include "PlainInstallerProcess.h"

PlainInstallerProcess::PlainInstallerProcess(QObject* parent) : InstallerProcess(parent)
{
    connect(&m_process, &QProcess::finished, this,
            [this](int exitCode) { emit finished(exitCode); });
}

bool PlainInstallerProcess::start(const QString& program, QString* error)
{
    m_process.setProgram(program);
    m_process.start();
    if (m_process.waitForStarted(kStartTimeoutMs))
        return true;
    if (error)
        *error = m_process.errorString();
    return false;
}

bool PlainInstallerProcess::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}
