#include "PreviewClient.h"

#include "PreviewProcess.h"

#include <QCoreApplication>

namespace {

PreviewResult failure(PreviewResult::End end, const QString& text = QString())
{
    PreviewResult result;
    result.end = end;
    result.errorText = text;
    return result;
}

} // namespace

PreviewClient::PreviewClient(QObject* parent, const QString& program)
    : QObject(parent),
      m_program(program.isEmpty() ? QCoreApplication::applicationFilePath() : program)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kAnswerTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &PreviewClient::onTimeout);
}

PreviewClient::~PreviewClient()
{
    stopProcess();
}

void PreviewClient::start(const PreviewRequest& request)
{
    stopProcess();
    m_process = new QProcess(this);
    m_process->setProgram(m_program);
    m_process->setArguments({QString::fromLatin1(PreviewProcess::kArgument)});
    // The process's warnings go where this program's go.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process, &QProcess::finished, this, &PreviewClient::onProcessFinished);
    connect(m_process, &QProcess::errorOccurred, this, &PreviewClient::onProcessError);
    m_process->start();
    m_process->write(request.toJson());
    m_process->closeWriteChannel();
    m_timeout.start();
}

void PreviewClient::onProcessFinished(int exitCode, QProcess::ExitStatus status)
{
    const QByteArray output = m_process->readAllStandardOutput();
    if (status != QProcess::NormalExit) {
        finish(failure(PreviewResult::End::Failed, tr("процесс предпросмотра завершился аварийно")));
        return;
    }
    const std::optional<PreviewResult> result = PreviewResult::fromJson(output);
    if (exitCode != 0 || !result) {
        finish(failure(PreviewResult::End::Failed,
                       tr("процесс предпросмотра завершился с кодом %1").arg(exitCode)));
        return;
    }
    finish(*result);
}

void PreviewClient::onProcessError(QProcess::ProcessError error)
{
    // A crash is reported by finished() as well; only a start that failed ends here.
    if (error == QProcess::FailedToStart)
        finish(failure(PreviewResult::End::Failed, m_process->errorString()));
}

void PreviewClient::onTimeout()
{
    finish(failure(PreviewResult::End::NoAnswer));
}

void PreviewClient::finish(const PreviewResult& result)
{
    stopProcess();
    emit finished(result);
}

void PreviewClient::stopProcess()
{
    m_timeout.stop();
    if (!m_process)
        return;
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(1000); // a killed process ends at once; not left a zombie
    }
    process->deleteLater();
}
