#include "Win32ElevatedStart.h"

#include <shellapi.h>

#include <memory>
#include <utility>

namespace platform {

namespace {

// What the waiting thread owns: the process and whom to tell of its end.
struct Waiter
{
    HANDLE process;
    Platform::ExitReceiver finished;
};

} // namespace

DWORD Win32ElevatedStart::start(const std::wstring& program, const std::wstring& parameters,
                                Platform::ExitReceiver finished)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // NOASYNC: the start is done when the call returns, whichever thread makes it.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info)) {
        const DWORD error = ::GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
    }
    if (!info.hProcess) {
        // The shell handed the start to a program already running: nothing of its own to
        // wait for, and no exit code to tell.
        if (finished)
            finished(STILL_ACTIVE);
        return ERROR_SUCCESS;
    }
    if (!finished) {
        ::CloseHandle(info.hProcess);
        return ERROR_SUCCESS;
    }
    auto waiter = std::make_unique<Waiter>(Waiter{info.hProcess, std::move(finished)});
    const HANDLE thread =
        ::CreateThread(nullptr, 0, &Win32ElevatedStart::waitForExit, waiter.get(), 0, nullptr);
    if (!thread) {
        // The program runs; only its end cannot be heard of. Told as unknown at once.
        ::CloseHandle(waiter->process);
        waiter->finished(STILL_ACTIVE);
        return ERROR_SUCCESS;
    }
    waiter.release(); // the thread's now
    ::CloseHandle(thread);
    return ERROR_SUCCESS;
}

DWORD WINAPI Win32ElevatedStart::waitForExit(void* context)
{
    const std::unique_ptr<Waiter> waiter(static_cast<Waiter*>(context));
    ::WaitForSingleObject(waiter->process, INFINITE);
    DWORD exitCode = STILL_ACTIVE;
    ::GetExitCodeProcess(waiter->process, &exitCode);
    ::CloseHandle(waiter->process);
    waiter->finished(exitCode);
    return 0;
}

} // namespace platform
