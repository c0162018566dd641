#pragma once

#include <QCoreApplication>
#include <QString>

// Where a new recording is saved: the first of "Запись 1.lua", "Запись 2.lua", … (English:
// "Recording 1.lua", …) that no file of the profile's folder has yet.
class RecordingFileName
{
    Q_DECLARE_TR_FUNCTIONS(RecordingFileName)

public:
    static QString freeIn(const QString& profileDirectory);
};
