#include "InstallerDownload.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressDialog>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <memory>

bool InstallerDownload::run(QWidget* owner, const QUrl& url, const QString& targetPath,
                            QString* errorText, std::chrono::milliseconds stallTimeout)
{
    // The file is started as a program afterwards: it must come over an authenticated
    // connection. Redirects are followed only to HTTPS addresses.
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0) {
        *errorText = tr("разрешено скачивание только по HTTPS");
        return false;
    }

    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(static_cast<int>(stallTimeout.count()));

    QProgressDialog progress(owner);
    progress.setWindowTitle(QStringLiteral("Clavitor"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setLabelText(tr("Скачивание драйвера..."));
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setRange(0, 0);
    progress.show();

    const std::unique_ptr<QNetworkReply> reply(network.get(request));
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &progress,
                     [&progress](qint64 received, qint64 total) {
                         if (total <= 0)
                             return;
                         const qint64 limit = std::numeric_limits<int>::max();
                         progress.setMaximum(static_cast<int>(std::min(total, limit)));
                         progress.setValue(static_cast<int>(std::min(received, limit)));
                     });
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    progress.hide();
    // The loop also ends when the program quits while the transfer runs.
    if (!reply->isFinished())
        reply->abort();

    if (reply->error() == QNetworkReply::OperationCanceledError) {
        *errorText = tr("сервер не отвечает");
        return false;
    }
    if (reply->error() != QNetworkReply::NoError) {
        *errorText = reply->errorString();
        return false;
    }

    const QByteArray body = reply->readAll();
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) {
        *errorText = tr("Не удаётся сохранить файл в %1").arg(QDir::toNativeSeparators(targetPath));
        return false;
    }
    return true;
}
