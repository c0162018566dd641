#pragma once

#include "InstallerProcess.h"

#include <QProcess>

// An installer started as a plain process of the user. Destroying it would kill the
// installer: one still running is kept alive by its owner.
class PlainInstallerProcess : public InstallerProcess
{
    Q_OBJECT

public:
    // How long a start may take before it counts as failed.
    static constexpr int kStartTimeoutMs = 30000;

    explicit PlainInstallerProcess(QObject* parent = nullptr);

    bool start(const QString& program, QString* error) override;
    bool isRunning() const override;

private:
    QProcess m_process;
};
