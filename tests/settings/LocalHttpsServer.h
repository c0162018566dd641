#pragma once

#include <QByteArray>
#include <QList>
#include <QSslServer>
#include <QUrl>

// An HTTPS server on 127.0.0.1 with the test certificate, which it makes trusted for the
// process while it runs. Every request gets the same answer.
class LocalHttpsServer : public QObject
{
    Q_OBJECT

public:
    enum class Answer
    {
        Body,     // 200 with the body
        NotFound, // 404
        Silence,  // reads the request and never answers
    };

    LocalHttpsServer();
    ~LocalHttpsServer() override;

    Answer answer = Answer::Body;
    QByteArray body;
    int requests = 0;

    QUrl url(const QString& path = QStringLiteral("/installer.exe")) const;

private:
    void onConnection();

    QSslServer m_server;
    QSslConfiguration m_previousDefault;
};
