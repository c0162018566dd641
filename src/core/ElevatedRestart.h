#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Restarts Clavitor with the administrator's rights, which it needs to play scenarios in
// programs that run with them: it starts its own executable so (the system asks the user's
// consent) with the flag kFlag and the data folder, and this instance then ends. The new
// instance waits for this one to let go of the data folder (SingleInstance::takeOver), uses
// the same data folder even when the consent made it run as another user, and never restarts
// itself again, so that a refused consent or a system without elevation cannot loop.
class ElevatedRestart
{
public:
    static constexpr char kFlag[] = "--elevated-restart";

    // The data folder handed to an instance that such a restart started; none otherwise.
    static std::optional<QString> handedDataDirectory(const QStringList& arguments);

    // Whether an instance should restart itself so: the setting asks for the rights, this
    // process lacks them and is not such a restart already.
    static bool isWanted(bool runElevated, const QStringList& arguments);

    // Starts the elevated instance for the data folder `dataDirectory`; true when it started
    // (this instance then ends). A refusal or a failure is logged and this instance runs on.
    static bool start(const QString& dataDirectory);
};
