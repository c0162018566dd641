#include "TestRegistry.h"

#include "platform/x11/X11Platform.h"

#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <mutex>
#include <unistd.h>
#include <vector>

using platform::ForegroundProgram;
using platform::X11Platform;

// The X11 backend's foreground watcher, with this test playing the window manager: it sets
// _NET_ACTIVE_WINDOW on the root window, as a window manager does.
class X11ForegroundTest : public QObject
{
    Q_OBJECT

    Display* m_display = nullptr;
    std::unique_ptr<X11Platform> m_backend;
    std::mutex m_mutex;
    std::vector<ForegroundProgram> m_seen;

    Window clientWindow(const char* instance, const char* className, unsigned long pid)
    {
        const Window window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0,
                                                  50, 50, 0, 0, 0);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(className)};
        XSetClassHint(m_display, window, &hint);
        XChangeProperty(m_display, window, XInternAtom(m_display, "_NET_WM_PID", False),
                        XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&pid), 1);
        return window;
    }
    void activate(Window window)
    {
        XChangeProperty(m_display, DefaultRootWindow(m_display),
                        XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&window), 1);
        XSync(m_display, False);
    }
    std::size_t seenCount()
    {
        std::lock_guard lock(m_mutex);
        return m_seen.size();
    }
    ForegroundProgram lastSeen()
    {
        std::lock_guard lock(m_mutex);
        return m_seen.back();
    }

private slots:
    void initTestCase()
    {
        m_display = XOpenDisplay(nullptr);
        QVERIFY(m_display);
        m_backend = X11Platform::open();
        QVERIFY(m_backend);
    }
    void cleanupTestCase()
    {
        m_backend.reset();
        XCloseDisplay(m_display);
    }

    void windowsActivatedInTurnNameTheirPrograms()
    {
        const unsigned long self = static_cast<unsigned long>(::getpid());
        const Window game = clientWindow("game.exe", "game.exe", self);
        // A window without a class of its own inside a client window that has one.
        const Window editor = clientWindow("gedit", "Gedit", 0);
        const Window inner =
            XCreateSimpleWindow(m_display, editor, 0, 0, 10, 10, 0, 0, 0);
        XSync(m_display, False);
        QVERIFY(m_backend->watchForeground([this](const ForegroundProgram& program) {
            std::lock_guard lock(m_mutex);
            m_seen.push_back(program);
        }));
        QTRY_COMPARE(seenCount(), std::size_t(1)); // whatever is in front now

        activate(game);
        QTRY_COMPARE(seenCount(), std::size_t(2));
        char executable[256] = {};
        const ssize_t length = ::readlink("/proc/self/exe", executable, sizeof executable - 1);
        QVERIFY(length > 0);
        const std::string name = std::string(executable).substr(
            std::string(executable).find_last_of('/') + 1);
        QCOMPARE(lastSeen(), (ForegroundProgram{{std::wstring(name.begin(), name.end()),
                                                 L"game.exe", L"game.exe"},
                                                false,
                                                static_cast<std::uint32_t>(self)}));

        activate(inner);
        QTRY_COMPARE(seenCount(), std::size_t(3));
        QCOMPARE(lastSeen(), (ForegroundProgram{{L"", L"gedit", L"Gedit"}, false, 0}));

        // A window that is gone by the time the watcher looks: no names, and no harm.
        XDestroyWindow(m_display, editor);
        activate(inner);
        QTRY_COMPARE(seenCount(), std::size_t(4));
        QCOMPARE(lastSeen(), (ForegroundProgram{{L"", L"", L""}, false, 0}));

        QVERIFY(m_backend->watchForeground({}));
        activate(game);
        QTest::qWait(200);
        QCOMPARE(seenCount(), std::size_t(4));
        XDestroyWindow(m_display, game);
        XSync(m_display, False);
    }
};

CLAVITOR_TEST(X11ForegroundTest);
#include "X11ForegroundTest.moc"
