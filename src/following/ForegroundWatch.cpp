#include "ForegroundWatch.h"

#include "platform/Platform.h"
#include "profiles/ProgramMatch.h"

#include <QCoreApplication>

ForegroundWatch::ForegroundWatch(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ForegroundWatch::onSettled);
}

ForegroundWatch::~ForegroundWatch()
{
    if (!m_users.isEmpty())
        platform::Platform::current().watchForeground({});
}

void ForegroundWatch::want(const QObject* user, bool wanted)
{
    const bool watching = !m_users.isEmpty();
    if (wanted && !m_users.contains(user)) {
        m_users.insert(user);
        // A user that goes away stops wanting the reports.
        connect(user, &QObject::destroyed, this, [this, user] { want(user, false); });
    } else if (!wanted && m_users.remove(user)) {
        disconnect(user, &QObject::destroyed, this, nullptr);
    }
    if (watching == !m_users.isEmpty())
        return;
    m_settle.stop();
    if (!watching) {
        // The reports may come on another thread: each is handed to the GUI thread, and
        // dropped with this object.
        platform::Platform::current().watchForeground([this](const platform::ForegroundProgram& p) {
            QMetaObject::invokeMethod(
                this, [this, p] { report(p); }, Qt::QueuedConnection);
        });
    } else {
        platform::Platform::current().watchForeground({});
    }
}

void ForegroundWatch::pick(bool pending)
{
    m_picking = pending;
    want(this, pending);
}

void ForegroundWatch::report(const platform::ForegroundProgram& program)
{
    if (m_users.isEmpty())
        return;
    if (program.processId == QCoreApplication::applicationPid()) {
        m_settle.stop();
        return;
    }
    m_pending = program;
    m_settle.start();
}

void ForegroundWatch::onSettled()
{
    if (!m_picking) {
        emit programInFront(m_pending);
        return;
    }
    const QString name = listedNameOf(m_pending);
    if (name.isEmpty())
        return; // a window without a name: the next one may have one
    pick(false);
    emit programPicked(name);
}
