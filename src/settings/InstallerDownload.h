#pragma once

#include <QCoreApplication>
#include <QString>

#include <chrono>

class QUrl;
class QWidget;

// Downloads a file over HTTPS into a path while a window-modal progress dialog of the owner
// shows how far it got (busy until the server tells the size). The event loop runs meanwhile.
class InstallerDownload
{
    Q_DECLARE_TR_FUNCTIONS(InstallerDownload)

public:
    // Time a transfer may go without receiving anything before it is given up.
    static constexpr std::chrono::milliseconds kStallTimeout{60'000};

    // Fetches url into targetPath, which is replaced only by a complete body. False with
    // *errorText on failure: an address that is not HTTPS (refused without contacting it),
    // a network error, a server that stalls, or a file that cannot be written.
    static bool run(QWidget* owner, const QUrl& url, const QString& targetPath, QString* errorText,
                    std::chrono::milliseconds stallTimeout = kStallTimeout);
};
