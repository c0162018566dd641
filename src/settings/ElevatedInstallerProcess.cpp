#include "ElevatedInstallerProcess.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

bool ElevatedInstallerProcess::start(const QString& program, QString* error)
{
    // Made here, on the GUI thread, and read only there: the receiver only carries it over.
    const QPointer<ElevatedInstallerProcess> self(this);
    platform::Platform& system = platform::Platform::current();
    const DWORD started = system.startElevated(
        QDir::toNativeSeparators(program).toStdWString(), {}, [self](DWORD exitCode) {
            QCoreApplication* application = QCoreApplication::instance();
            if (!application)
                return;
            QMetaObject::invokeMethod(
                application,
                [self, exitCode] {
                    if (!self)
                        return;
                    self->m_running = false;
                    emit self->finished(static_cast<int>(exitCode));
                },
                Qt::QueuedConnection);
        });
    if (started == ERROR_SUCCESS) {
        m_running = true;
        return true;
    }
    if (error) {
        *error = QString::fromStdWString(system.formatMessage(started)).trimmed();
        if (error->isEmpty())
            *error = tr("ошибка %1").arg(started);
    }
    return false;
}
