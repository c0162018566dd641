#pragma once

#include "InstallerProcess.h"

// An installer started with the administrator's rights through the platform (Windows: the
// system's consent prompt first). The platform waits for its end on a thread of its own and
// the end is handed to the GUI thread; an object destroyed meanwhile hears nothing, and the
// installer runs on.
class ElevatedInstallerProcess : public InstallerProcess
{
    Q_OBJECT

public:
    using InstallerProcess::InstallerProcess;

    bool start(const QString& program, QString* error) override;
    bool isRunning() const override { return m_running; }

private:
    bool m_running = false;
};
