#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

// One running Clavitor per user and data folder: two would fight over the hotkeys, the mouse
// hook and the tray, and each would write its own Settings, profiles.json and autoclicker.json
// over the other's. The first start holds a lock file in the data folder (a crashed holder's
// lock is taken over) and listens on a local socket named after that folder; a later start
// finds the lock held, asks the first through the socket to show its window, and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // How long a later start waits for the first one to answer (it may still be starting).
    static constexpr int kAnswerTimeoutMs = 5000;
    // How long a start that takes over from the running instance (which started it, as the
    // restart with the administrator's rights does, and then ends) waits for the lock.
    static constexpr int kTakeOverTimeoutMs = 15000;

    // The lock and the socket of the data folder `dataDirectory`.
    explicit SingleInstance(const QString& dataDirectory);
    ~SingleInstance() override;

    enum class Claim
    {
        First,      // this process is the instance; showRequested() tells of later starts
        HandedOver, // another instance runs and was asked to show its window
        Failed,     // another instance holds the lock but did not answer
    };
    Claim claim();
    // As claim(), but first waits up to kTakeOverTimeoutMs for the running instance to end:
    // one that started this one to take over. Nothing is asked of it meanwhile: its socket
    // may refuse a process with other rights than its own.
    Claim takeOver();

    // The local socket's name for a data folder: the same folder, the same name.
    static QString serverName(const QString& dataDirectory);

signals:
    // A later start asked this instance to show its window.
    void showRequested();

private:
    // Takes the lock, waiting up to lockTimeoutMs for its holder to end.
    Claim claimWithin(int lockTimeoutMs);
    bool listen();
    bool askFirstToShow() const;

    const QString m_name;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
