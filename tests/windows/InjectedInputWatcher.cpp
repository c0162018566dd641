#include "InjectedInputWatcher.h"

#include "XdoTool.h"

InjectedInputWatcher::InjectedInputWatcher(const QProcessEnvironment& wine)
{
    m_process.setProcessEnvironment(wine);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

InjectedInputWatcher::~InjectedInputWatcher()
{
    // The watcher ends when its input closes, after it has removed its hook.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(kTimeoutMs)) {
        qWarning("the input watcher did not end when its input closed");
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool InjectedInputWatcher::start()
{
    m_process.start(QStringLiteral("wine"), {QStringLiteral(CLAVITOR_WINE_INPUT_WATCHER)});
    return m_process.waitForReadyRead(kTimeoutMs * 3) &&
           m_process.readLine().trimmed() == "ready";
}

int InjectedInputWatcher::presses()
{
    readReports();
    return m_presses;
}

QList<QPoint> InjectedInputWatcher::moves()
{
    readReports();
    return m_moves;
}

void InjectedInputWatcher::readReports()
{
    m_process.waitForReadyRead(0);
    while (m_process.canReadLine()) {
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        if (words.first() == "press")
            ++m_presses;
        else if (words.first() == "move" && words.size() == 3)
            m_moves.append(QPoint(words[1].toInt(), words[2].toInt()));
    }
}
