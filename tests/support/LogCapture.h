#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the program's log lines while it lives, instead of printing them: each as
// "<category>: <message>". Outside a capture the tests leave the per-record input lines
// out of their output.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    // The logging rules of a test run without a capture.
    static void quietDefaults();

    QStringList lines;

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text);
    static LogCapture* s_active;
    QtMessageHandler m_previous;
};
