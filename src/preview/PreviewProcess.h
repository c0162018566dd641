#pragma once

// The preview process: `clavitor --preview` reads one request (JSON) from its standard
// input, runs it with PreviewRunner and writes one result (JSON) to its standard output.
// Only simulated desktops exist in it: the real mouse and keyboard are never reached, the
// user's settings are never read, and the input goes the system route of the simulation.
class PreviewProcess
{
public:
    static constexpr const char* kArgument = "--preview";

    // Whether the command line asks for the preview process.
    static bool isRequested(int argc, char* argv[]);
    // Runs the process's one request; needs the application object. The exit code.
    static int run();
};
