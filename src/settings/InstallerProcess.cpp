#include "InstallerProcess.h"

#include "ElevatedInstallerProcess.h"
#include "PlainInstallerProcess.h"

InstallerProcess* InstallerProcess::create(QObject* parent)
{
#ifdef Q_OS_WIN
    return new ElevatedInstallerProcess(parent);
#else
    return new PlainInstallerProcess(parent);
#endif
}
