#pragma once

// The setting "Запускать от имени администратора" of the settings page: kept in the settings
// file; turned on in a Clavitor without the administrator's rights, it restarts Clavitor with
// them at once (ElevatedRestart).
class RunElevatedChoice
{
public:
    // Whether the page offers it: on Windows, the one system that keeps programs apart so.
    static bool isOffered();
    // The stored choice.
    static bool load();
    // Stores the choice. True when an elevated Clavitor was started to take over: the caller
    // then ends this one. A refused consent is logged, and this one runs on.
    static bool apply(bool runElevated);
};
