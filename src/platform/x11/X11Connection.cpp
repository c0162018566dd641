#include "X11Connection.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The request code of GrabKey (X_GrabKey): <X11/Xproto.h> cannot be included beside the
// Windows vocabulary, whose BOOL and BYTE it defines again.
constexpr unsigned char kGrabKeyRequest = 33;

std::mutex watchedMutex;
std::vector<std::pair<Display*, std::atomic<bool>*>> watchedDisplays;
std::atomic<XErrorHandler> otherErrorHandler{nullptr};

int onXError(Display* display, XErrorEvent* error)
{
    {
        std::lock_guard lock(watchedMutex);
        for (const auto& [watched, grabRefused] : watchedDisplays) {
            if (watched != display)
                continue;
            if (grabRefused && error->request_code == kGrabKeyRequest &&
                error->error_code == BadAccess)
                grabRefused->store(true);
            return 0;
        }
    }
    const XErrorHandler other = otherErrorHandler.load();
    return other ? other(display, error) : 0;
}

} // namespace

void takeX11ErrorHandler()
{
    const XErrorHandler previous = XSetErrorHandler(&onXError);
    if (previous != &onXError)
        otherErrorHandler.store(previous);
}

void X11CloseDisplay::operator()(Display* display) const
{
    XCloseDisplay(display); // still watched: closing waits for the last errors
    // A connection opened meanwhile may have the same address; it was added later.
    std::lock_guard lock(watchedMutex);
    const auto entry =
        std::find_if(watchedDisplays.begin(), watchedDisplays.end(),
                     [display](const auto& watched) { return watched.first == display; });
    if (entry != watchedDisplays.end())
        watchedDisplays.erase(entry);
}

X11Connection openX11Connection(std::atomic<bool>* grabRefused)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    {
        std::lock_guard lock(watchedMutex);
        watchedDisplays.emplace_back(display, grabRefused);
    }
    takeX11ErrorHandler();
    return X11Connection(display);
}

} // namespace platform
