#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray kShow = QByteArrayLiteral("show\n");
const QByteArray kShown = QByteArrayLiteral("shown\n");

} // namespace

SingleInstance::SingleInstance(const QString& dataDirectory)
    : m_name(serverName(dataDirectory)),
      m_lock(QDir(dataDirectory).filePath(QStringLiteral("clavitor.lock")))
{
    // A lock is stale only when its holder is gone, which QLockFile checks by its process.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& dataDirectory)
{
    const QByteArray folder = QDir(dataDirectory).absolutePath().toUtf8();
    return QStringLiteral("clavitor-") +
           QString::fromLatin1(
               QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
}

SingleInstance::Claim SingleInstance::claim()
{
    return claimWithin(0);
}

SingleInstance::Claim SingleInstance::takeOver()
{
    return claimWithin(kTakeOverTimeoutMs);
}

SingleInstance::Claim SingleInstance::claimWithin(int lockTimeoutMs)
{
    if (m_lock.tryLock(lockTimeoutMs)) {
        if (!listen())
            qWarning().noquote() << "Другие запуски Clavitor не смогут показать его окно:"
                                 << m_server->errorString();
        return Claim::First;
    }
    // A folder that takes no lock file takes none of the program's files either: no other
    // instance can be writing there.
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::First;
    return askFirstToShow() ? Claim::HandedOver : Claim::Failed;
}

bool SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    // Whatever socket of this name exists is a crashed instance's: the lock was free.
    QLocalServer::removeServer(m_name);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name))
        return false;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() != kShow) {
                    socket->disconnectFromServer();
                    return;
                }
                emit showRequested();
                // The asking start closes the connection once it has read the answer. Closing
                // it from here could drop the answer unread: on Windows the server's end of a
                // pipe is disconnected with whatever the client has not read yet.
                socket->write(kShown);
                socket->flush();
            });
        }
    });
    return true;
}

bool SingleInstance::askFirstToShow() const
{
    // The first instance may have taken the lock and not yet be listening.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kShow);
            if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
                return false;
            // The answer may come in pieces.
            while (!socket.canReadLine()) {
                if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
                    return false;
            }
            return socket.readLine() == kShown;
        }
        QThread::msleep(50);
    }
    return false;
}
