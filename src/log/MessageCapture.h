#pragma once

class LogJournal;

// Feeds the journal from the Qt message log: every line of the program's own categories goes
// to the journal as well as where it went before (the standard error output, the debugger).
class MessageCapture
{
public:
    // Installs the capture; lines go to the journal until uninstall.
    static void install(LogJournal& journal);
    static void uninstall();
};
