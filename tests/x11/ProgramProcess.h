#pragma once

#include <QProcess>
#include <QString>

// Starts the program as a user would on the test's X server, with its data in `dataHome`
// (XDG_DATA_HOME); `executable` is the build's program unless a copy of it is given.
void startProgram(QProcess& program, const QString& dataHome,
                  const QString& executable = QStringLiteral(CLAVITOR_PROGRAM));
