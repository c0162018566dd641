#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <memory>

namespace platform {

// Xlib reports errors asynchronously to one process-wide handler whose default ends the
// process. The errors of this backend's connections end in a handler of its own: a key grab
// refused because another client holds the combination is noted for the registration
// waiting for it, the rest are dropped (the calls they belong to report no result). Other
// connections' errors go on to the handler that was there before.
struct X11CloseDisplay
{
    void operator()(Display* display) const;
};

// A connection to the display whose errors this backend handles; closed with it.
using X11Connection = std::unique_ptr<Display, X11CloseDisplay>;

// A new connection to the display of $DISPLAY, empty when it cannot be reached. The key
// grabs refused on it set *grabRefused, when given; it must outlive the connection.
X11Connection openX11Connection(std::atomic<bool>* grabRefused = nullptr);

// Puts this backend's error handler in front again should someone have replaced it since.
void takeX11ErrorHandler();

} // namespace platform
