#pragma once

#include "PreviewRequest.h"
#include "PreviewResult.h"

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

// Runs a preview in the preview process (the program itself, started with --preview) and
// reports the result through the event loop, never blocking the caller. A process that does
// not answer in time is ended, and that is the result.
class PreviewClient : public QObject
{
    Q_OBJECT

public:
    // Longer than the preview's own bound of real time, with room for the process's start.
    static constexpr int kAnswerTimeoutMs = 10'000;

    // program: the executable to start; empty, the running program's own.
    explicit PreviewClient(QObject* parent = nullptr, const QString& program = QString());
    ~PreviewClient() override;

    // Starts a run; one going on is ended first, and its result never comes.
    void start(const PreviewRequest& request);
    bool isRunning() const { return m_process != nullptr; }
    void setAnswerTimeout(int milliseconds) { m_timeout.setInterval(milliseconds); }

signals:
    void finished(const PreviewResult& result);

private:
    void onProcessFinished(int exitCode, QProcess::ExitStatus status);
    void onProcessError(QProcess::ProcessError error);
    void onTimeout();
    void finish(const PreviewResult& result);
    void stopProcess();

    QString m_program;
    QProcess* m_process = nullptr;
    QTimer m_timeout;
};
