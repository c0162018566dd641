#include "XdoTool.h"

#include <QDebug>
#include <QProcess>

bool runTool(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning() << program << arguments << "failed:" << process.readAllStandardError();
        return false;
    }
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return true;
}

bool xdotool(const QStringList& arguments)
{
    return runTool(QStringLiteral("xdotool"), arguments);
}

QPoint pointer()
{
    QString output;
    if (!runTool(QStringLiteral("xdotool"),
                 {QStringLiteral("getmouselocation"), QStringLiteral("--shell")}, &output))
        return {-1, -1};
    QPoint point;
    for (const QString& line : output.split(u'\n')) {
        if (line.startsWith(u"X="))
            point.setX(line.mid(2).toInt());
        else if (line.startsWith(u"Y="))
            point.setY(line.mid(2).toInt());
    }
    return point;
}
