#pragma once

#include <QObject>
#include <QString>

// A started driver installer: it runs on its own, and finished() tells of its end. The
// driver's installer needs the administrator's rights, so on Windows it is started with them
// (ElevatedInstallerProcess); elsewhere, where the driver is not made for the system, the
// tests' installers start as plain processes (PlainInstallerProcess).
class InstallerProcess : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The installer process of this system.
    static InstallerProcess* create(QObject* parent);

    // Starts the program; false, with the system's reason in *error, when it did not start.
    virtual bool start(const QString& program, QString* error) = 0;
    virtual bool isRunning() const = 0;

signals:
    // On the GUI thread, once the installer ended.
    void finished(int exitCode);
};
