#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <optional>

class InstallerProcess;
class QWidget;

// Makes sure the virtual HID mouse driver is there before the driver mode is chosen: when it
// is missing, offers to download its installer into the data directory ("installer.exe"),
// checks the installer against the digest kept in the program and starts it. The user then
// selects the driver mode again. Every question and message goes to the owning page.
class DriverInstaller : public QObject
{
    Q_OBJECT

public:
    // Where the installer comes from and the SHA-256 digest (hexadecimal) it must have.
    struct Source
    {
        QUrl url;
        QByteArray sha256;
    };

    explicit DriverInstaller(QWidget* page);
    // An installer still running is left running: stopping it half-way could leave the
    // driver half installed.
    ~DriverInstaller() override;

    // The installer of this system: the maker's on Windows; none elsewhere, as the driver
    // exists for Windows only, nor while the build carries the placeholder digest.
    static std::optional<Source> systemSource();
    // Whether the driver is made for this system at all: for Windows only.
    static bool isMadeForThisSystem();
    // The source of an address and its digest; none for the placeholder digest (all zeros),
    // which no installer can have.
    static std::optional<Source> sourceOf(const QUrl& url, const QByteArray& sha256);
    void setSource(const std::optional<Source>& source) { m_source = source; }

    // True when the driver is present (an installer still open is left running). Otherwise,
    // without an installer for this build, says the driver is not available; else asks
    // whether to install it and, if so, downloads (unless a file with the right digest is
    // already there), checks and starts the installer; false in every case, as the driver is
    // not there yet.
    bool ensureDriver();

    bool isInstallerRunning() const { return m_installerRunning; }

signals:
    // The installer ended and the user was told whether the driver is now present.
    void installerFinished();

private:
    // True when path holds the installer with the digest kept in the program, downloaded
    // when it is missing or another file is there; otherwise the user is told why not.
    bool obtainInstaller(const QString& path);
    static void removeUntrusted(const QString& path);
    void onInstallerFinished(int exitCode);
    // Lets go of the installer process; one still running is left to run to its end.
    void discardInstaller();
    void critical(const QString& text) const;

    QWidget* m_page;
    std::optional<Source> m_source;
    QPointer<InstallerProcess> m_installer;
    bool m_installerRunning = false;
};
