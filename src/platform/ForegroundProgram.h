#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The program of the window in front, by the names a user may list it under.
struct ForegroundProgram
{
    // Windows: the executable's file name ("game.exe"), or the window's class when the
    // process may not be opened (a protected one). X11: those of the executable's file name
    // (through _NET_WM_PID; a Windows program run through Wine by its Windows executable's,
    // never by Wine's loader), the WM_CLASS instance and the WM_CLASS class that are known.
    std::vector<std::wstring> names;
    // Whether the names compare without regard to case (Windows file names).
    bool namesIgnoreCase = false;
    // The process that owns the window; 0 when unknown.
    std::uint32_t processId = 0;
    // A name the system cut to its first 15 characters (the process name Wine gives a Windows
    // program), known where no whole name of the executable is: a listed name whose first 15
    // characters equal it matches.
    std::wstring truncatedName;
    // Windows: the process runs with the administrator's rights, or is protected; a program
    // without those rights can neither send it input nor hook its mouse. False elsewhere.
    bool elevated = false;

    friend bool operator==(const ForegroundProgram&, const ForegroundProgram&) = default;
};

} // namespace platform
