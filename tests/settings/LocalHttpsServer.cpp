#include "LocalHttpsServer.h"

#include "TestCertificate.h"

#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

LocalHttpsServer::LocalHttpsServer() : m_previousDefault(QSslConfiguration::defaultConfiguration())
{
    const QSslCertificate certificate(QByteArray(kTestCertificatePem), QSsl::Pem);
    QSslConfiguration server = QSslConfiguration::defaultConfiguration();
    server.setLocalCertificate(certificate);
    server.setPrivateKey(QSslKey(QByteArray(kTestPrivateKeyPem), QSsl::Ec));
    m_server.setSslConfiguration(server);

    QSslConfiguration client = m_previousDefault;
    client.addCaCertificate(certificate);
    QSslConfiguration::setDefaultConfiguration(client);

    connect(&m_server, &QSslServer::pendingConnectionAvailable, this,
            &LocalHttpsServer::onConnection);
    if (!m_server.listen(QHostAddress::LocalHost))
        qFatal("the HTTPS test server cannot listen: %s", qPrintable(m_server.errorString()));
}

LocalHttpsServer::~LocalHttpsServer()
{
    QSslConfiguration::setDefaultConfiguration(m_previousDefault);
}

QUrl LocalHttpsServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LocalHttpsServer::onConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n"))
                return;
            ++requests;
            QByteArray response;
            switch (answer) {
            case Answer::Body:
                response = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                           "Content-Length: " +
                           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
                break;
            case Answer::NotFound:
                response = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n"
                           "Connection: close\r\n\r\n";
                break;
            case Answer::Silence:
                return;
            }
            socket->write(response);
            socket->disconnectFromHost();
        });
    }
}
