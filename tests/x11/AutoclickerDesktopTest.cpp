#include "ClickRecorder.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "app/Startup.h"
#include "autoclicker/AutoClicker.h"
#include "autoclicker/AutoclickerWidget.h"
#include "core/AppProperties.h"
#include "core/DataDirectory.h"
#include "core/SettingsFile.h"
#include "platform/x11/X11Platform.h"
#include "ui/shell/FramelessWindow.h"
#include "ui/shell/MainWidget.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <memory>

using platform::Platform;

namespace {

QString number(int value)
{
    return QString::number(value);
}

// Moves the pointer to a point of a widget and clicks there, as the user does.
bool clickAt(const QWidget* widget, QPoint point, int repeat = 1)
{
    const QPoint global = widget->mapToGlobal(point);
    return xdotool({QStringLiteral("mousemove"), number(global.x()), number(global.y())}) &&
           xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), number(repeat),
                    QStringLiteral("1")});
}

bool clickOn(const QWidget* widget, int repeat = 1)
{
    return clickAt(widget, widget->rect().center(), repeat);
}

// Picks an item of a combo box the way the user does: a click opens its list, the arrow
// keys walk it, Return takes the item.
bool pick(QComboBox* combo, int index)
{
    const int steps = index - combo->currentIndex();
    // The keys reach the list once it is on the screen.
    const auto listShown = [combo] {
        const QWindow* list = combo->view()->window()->windowHandle();
        return list && list->isExposed();
    };
    if (!clickOn(combo) || !QTest::qWaitFor(listShown, kTimeoutMs))
        return false;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (!xdotool(
                {QStringLiteral("key"), steps > 0 ? QStringLiteral("Down") : QStringLiteral("Up")}))
            return false;
    }
    return xdotool({QStringLiteral("key"), QStringLiteral("Return")});
}

// A point of the screen outside the window, where clicks land on the bare root window.
bool pointerAway()
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("1250"), QStringLiteral("790")});
}

// The presses the recorder sees while the event loop runs for the given time.
int pressesWithin(ClickRecorder& recorder, int milliseconds)
{
    const int before = recorder.presses();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QTest::qWait(5);
    return recorder.presses() - before;
}

} // namespace

// The autoclicker page in the program's window on a real X server: set up with the mouse and
// the keyboard, started and stopped by its hotkeys and by a held button, its clicks counted
// by another client. Runs under run-under-xvfb.sh.
class AutoclickerDesktopTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;
    std::unique_ptr<ScriptedPrompter> m_prompter;

private slots:
    void initTestCase()
    {
        m_backend = platform::createPlatform("xcb");
        QVERIFY(dynamic_cast<platform::X11Platform*>(m_backend.get()));
        Platform::setCurrent(m_backend.get());
        m_prompter = std::make_unique<ScriptedPrompter>();
        qApp->setProperty(AppProperty::isSound, false);
        QFile::remove(dataFilePath(QStringLiteral("autoclicker.json")));
        QFile::remove(dataFilePath(QStringLiteral("Settings")));
    }

    void cleanupTestCase()
    {
        m_prompter.reset();
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void clicksByHotkeyAndWhileTheButtonIsHeld()
    {
        ClickRecorder recorder;
        QVERIFY(recorder.isListening());
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get(), kTimeoutMs));
        auto* content = qobject_cast<MainWidget*>(window->contentWidget());
        // The page's controls; other pages have controls of the same names.
        const auto* page = window->findChild<AutoclickerWidget*>();
        QVERIFY(content && page);
        auto* clicker = page->findChild<AutoClicker*>(QStringLiteral("clicker"));

        // The autoclicker page, its profile tab, 20 ms, mouse clicks without moving, toggled
        // by the hotkey.
        QVERIFY(clickOn(window->findChild<QPushButton*>(QStringLiteral("pushButtonAutoclicker"))));
        QTRY_COMPARE_WITH_TIMEOUT(content->currentPage(), MainWidget::Page::Autoclicker,
                                  kTimeoutMs);
        auto* tabs = page->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(clickAt(tabs->tabBar(), tabs->tabBar()->tabRect(1).center()));
        QTRY_COMPARE_WITH_TIMEOUT(tabs->currentIndex(), 1, kTimeoutMs);
        auto* interval = page->findChild<QSpinBox*>(QStringLiteral("intervalSpin"));
        QVERIFY(clickOn(interval, 3));
        QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("20")}));
        QTRY_COMPARE_WITH_TIMEOUT(interval->value(), 20, kTimeoutMs);
        auto* inputType = page->findChild<QComboBox*>(QStringLiteral("inputTypeCombo"));
        QVERIFY(pick(inputType, 0));
        QTRY_COMPARE_WITH_TIMEOUT(inputType->currentIndex(), 0, kTimeoutMs);
        auto* scrollArea = page->findChild<QScrollArea*>(QStringLiteral("scrollArea"));
        auto* move = page->findChild<QCheckBox*>(QStringLiteral("moveCheck"));
        scrollArea->ensureWidgetVisible(move); // out of sight below: scrolled to it
        QTest::qWait(100);
        QVERIFY(clickOn(move));
        QTRY_VERIFY_WITH_TIMEOUT(!move->isChecked(), kTimeoutMs);
        auto* mode = page->findChild<QComboBox*>(QStringLiteral("modeCombo"));
        scrollArea->ensureWidgetVisible(mode);
        QTest::qWait(100);
        QVERIFY(pick(mode, AutoClicker::HotkeyToggle));
        QTRY_COMPARE_WITH_TIMEOUT(mode->currentIndex(), int(AutoClicker::HotkeyToggle), kTimeoutMs);

        // Armed by the toggle hotkey, started and stopped by the mode hotkey.
        QVERIFY(pointerAway());
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+a")}));
        auto* enable = page->findChild<QPushButton*>(QStringLiteral("enableButton"));
        QTRY_VERIFY_WITH_TIMEOUT(enable->isChecked(), kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.presses() > 0, kTimeoutMs);
        const int perSecond = pressesWithin(recorder, 1000);
        QVERIFY2(perSecond >= 40 && perSecond <= 51, qPrintable(number(perSecond)));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
        QTRY_VERIFY_WITH_TIMEOUT(!clicker->isRunning(), kTimeoutMs);
        QTest::qWait(100);
        QCOMPARE(pressesWithin(recorder, 300), 0);

        // While the left button is held.
        QVERIFY(pick(mode, AutoClicker::HoldLeft));
        QTRY_COMPARE_WITH_TIMEOUT(mode->currentIndex(), int(AutoClicker::HoldLeft), kTimeoutMs);
        QVERIFY(pointerAway());
        recorder.presses();
        QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
        QTRY_VERIFY_WITH_TIMEOUT(clicker->isRunning(), kTimeoutMs);
        const int whileHeld = pressesWithin(recorder, 500);
        QVERIFY2(whileHeld >= 18 && whileHeld <= 27, qPrintable(number(whileHeld)));
        QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
        QTRY_VERIFY_WITH_TIMEOUT(!clicker->isRunning(), kTimeoutMs);
        QTest::qWait(100);
        QCOMPARE(pressesWithin(recorder, 300), 0);

        // Disarmed by the toggle hotkey: holding the button does nothing.
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+a")}));
        QTRY_VERIFY_WITH_TIMEOUT(!enable->isChecked(), kTimeoutMs);
        const int before = recorder.presses();
        QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
        QTRY_COMPARE_WITH_TIMEOUT(recorder.presses() - before, 1, kTimeoutMs); // xdotool's own
        QTest::qWait(300);
        QCOMPARE(recorder.presses() - before, 1); // and none of the autoclicker's
        QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
        QVERIFY(!clicker->isRunning());
    }
};

CLAVITOR_TEST(AutoclickerDesktopTest);
#include "AutoclickerDesktopTest.moc"
