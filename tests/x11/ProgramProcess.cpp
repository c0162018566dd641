#include "ProgramProcess.h"

#include <QProcessEnvironment>
#include <QStringList>

void startProgram(QProcess& program, const QString& dataHome, const QString& executable)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("CLAVITOR_SIMULATED_DESKTOP"));
    // The program is killed at the end. GStreamer's JACK sink (a candidate of the switch
    // sound's player) holds a lock shared by all the user's programs while it connects;
    // killed then, it would leave every later player of the user hanging.
    environment.insert(QStringLiteral("GST_PLUGIN_FEATURE_RANK"),
                       QStringLiteral("jackaudiosink:NONE"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(executable, QStringList());
}
