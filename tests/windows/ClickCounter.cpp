#include "ClickCounter.h"

#include "XdoTool.h"

ClickCounter::ClickCounter(const QProcessEnvironment& wine)
{
    m_process.setProcessEnvironment(wine);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ClickCounter::~ClickCounter()
{
    // The counter runs until it is told to end: it has nothing of the user's to finish.
    m_process.kill();
    m_process.waitForFinished();
}

bool ClickCounter::start()
{
    m_process.start(QStringLiteral("wine"), {QStringLiteral(CLAVITOR_WINE_CLICK_COUNTER)});
    return m_process.waitForReadyRead(kTimeoutMs * 3) &&
           m_process.readLine().trimmed() == "ready";
}

int ClickCounter::presses()
{
    m_process.waitForReadyRead(0);
    while (m_process.canReadLine()) {
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("presses "))
            m_presses = line.mid(8).toInt();
    }
    return m_presses;
}
