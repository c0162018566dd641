// Stands in for clavitor.exe in the installer's test. Started with a folder, it holds the
// program's named mutex as the program does, writes "running" into the folder and ends when
// "quit" appears there (or after a minute); started without one, it ends at once.
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 0;
    ::CreateMutexW(nullptr, FALSE, L"Local\\" CLAVITOR_APP_ID);
    const std::string folder = argv[1];
    const HANDLE running = ::CreateFileA((folder + "\\running").c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ::CloseHandle(running);
    const std::string quit = folder + "\\quit";
    for (int i = 0; i < 600 && ::GetFileAttributesA(quit.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        ::Sleep(100);
    return 0;
}
