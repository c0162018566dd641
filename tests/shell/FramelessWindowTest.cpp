#include "ShellTestSupport.h"
#include "TestRegistry.h"

#include "ScriptedPrompter.h"
#include "ui/shell/FramelessWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum CloseChoice
{
    ToTray,
    Quit,
    Cancel
};

QSystemTrayIcon* trayIcon(const FramelessWindow& window)
{
    return window.findChild<QSystemTrayIcon*>();
}

QAction* trayAction(const FramelessWindow& window, int index)
{
    return trayIcon(window)->contextMenu()->actions().at(index);
}

// A window on a desktop with a tray, or without one.
class TrayWindow : public FramelessWindow
{
public:
    bool trayAvailable = true;

protected:
    bool systemTrayAvailable() const override { return trayAvailable; }
};

// A shown window at a known place, with a line edit and a label as its content.
std::unique_ptr<TrayWindow> shownWindow(const QRect& geometry = {100, 100, 400, 300})
{
    auto window = std::make_unique<TrayWindow>();
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* edit = new QLineEdit;
    edit->setObjectName("edit");
    auto* label = new QLabel("label");
    label->setObjectName("label");
    layout->addWidget(edit);
    layout->addWidget(label);
    layout->addStretch();
    window->setContentWidget(content);
    window->setMinimumSize(100, 20);
    window->setGeometry(geometry);
    window->show();
    return window;
}

// Mouse events at global positions, each delivered to the window: a press there starts an
// edge drag, moves follow it.
void pressAt(FramelessWindow& window, QPoint global)
{
    QTest::mousePress(&window, Qt::LeftButton, {}, window.mapFromGlobal(global));
}
void moveTo(FramelessWindow& window, QPoint global)
{
    QTest::mouseMove(&window, window.mapFromGlobal(global));
}
void releaseAt(FramelessWindow& window, QPoint global)
{
    QTest::mouseRelease(&window, Qt::LeftButton, {}, window.mapFromGlobal(global));
}

} // namespace

class FramelessWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void escapeInTheCloseQuestionKeepsTheWindowAndTheProgram()
    {
        ScriptedPrompter prompter; // with nothing queued it answers as Escape does
        const auto window = shownWindow();
        auto* closeButton = window->findChild<QToolButton*>("closeButton");

        QVERIFY(!actionQuitsTheProgram([&] { QTest::mouseClick(closeButton, Qt::LeftButton); }));

        QCOMPARE(prompter.prompts.size(), 1);
        const Prompt& question = prompter.prompts.first();
        QCOMPARE(question.kind, Prompt::Kind::Question);
        QCOMPARE(question.title, "Clavitor");
        QCOMPARE(question.text, "Закрыть программу или свернуть в трей?");
        QCOMPARE(question.customButtons.size(), 3);
        QCOMPARE(question.customButtons[ToTray].text, "В трей");
        QCOMPARE(question.customButtons[ToTray].role, QMessageBox::AcceptRole);
        QCOMPARE(question.customButtons[Quit].text, "Закрыть");
        QCOMPARE(question.customButtons[Quit].role, QMessageBox::DestructiveRole);
        QCOMPARE(question.customButtons[Cancel].text, "Отмена");
        QCOMPARE(question.customButtons[Cancel].role, QMessageBox::RejectRole);
        QCOMPARE(question.defaultCustomButton, int(ToTray));
        QCOMPARE(question.escapeCustomButton, int(Cancel));
        QVERIFY(window->isVisible());
        QVERIFY(!trayIcon(*window)->isVisible());
    }

    void toTrayHidesTheWindowUntilTheTrayBringsItBack()
    {
        ScriptedPrompter prompter;
        const auto window = shownWindow();
        QSystemTrayIcon* tray = trayIcon(*window);

        const auto sendToTray = [&] {
            prompter.queueCustomButton(ToTray);
            QVERIFY(!actionQuitsTheProgram([&] { window->close(); }));
            QVERIFY(!window->isVisible());
            QVERIFY(tray->isVisible());
        };

        sendToTray();
        emit tray->activated(QSystemTrayIcon::Context);
        emit tray->activated(QSystemTrayIcon::MiddleClick);
        QVERIFY(!window->isVisible());
        QVERIFY(tray->isVisible());
        emit tray->activated(QSystemTrayIcon::Trigger);
        QVERIFY(window->isVisible());
        QVERIFY(!tray->isVisible());

        sendToTray();
        emit tray->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(window->isVisible());
        QVERIFY(!tray->isVisible());

        sendToTray();
        trayAction(*window, 0)->trigger(); // "Открыть"
        QVERIFY(window->isVisible());
        QVERIFY(!tray->isVisible());
        QCOMPARE(prompter.prompts.size(), 3);
    }

    void toTrayWithoutATrayMinimises()
    {
        ScriptedPrompter prompter;
        prompter.queueCustomButton(ToTray);
        const auto window = shownWindow();
        window->trayAvailable = false;

        QVERIFY(!actionQuitsTheProgram([&] { window->close(); }));
        QVERIFY(window->isVisible());
        QVERIFY(window->isMinimized());
        QVERIFY(!trayIcon(*window)->isVisible());
    }

    void closeInTheQuestionQuits()
    {
        ScriptedPrompter prompter;
        prompter.queueCustomButton(Quit);
        const auto window = shownWindow();

        QVERIFY(actionQuitsTheProgram([&] { window->close(); }));
        QVERIFY(!window->isVisible());
        QVERIFY(!trayIcon(*window)->isVisible());
        QCOMPARE(prompter.prompts.size(), 1);
    }

    void closeInTheTrayMenuQuitsWithoutAQuestion()
    {
        ScriptedPrompter prompter;
        prompter.queueCustomButton(ToTray);
        const auto window = shownWindow();
        window->close();
        QAction* close = trayAction(*window, 1);
        QCOMPARE(close->text(), "Закрыть");

        QVERIFY(actionQuitsTheProgram([&] { close->trigger(); }));
        QCOMPARE(prompter.prompts.size(), 1); // only the question that sent it to the tray
        QVERIFY(!trayIcon(*window)->isVisible());
        QVERIFY(!window->isVisible());
    }

    // Another window of the program that holds unsaved work (a script editor whose user
    // cancels its question) keeps the program running, on either way to quit.
    void aWindowThatKeepsItsWorkKeepsTheProgram_data()
    {
        QTest::addColumn<bool>("fromTray");
        QTest::newRow("close in the question") << false;
        QTest::newRow("close in the tray menu") << true;
    }
    void aWindowThatKeepsItsWorkKeepsTheProgram()
    {
        QFETCH(bool, fromTray);
        struct KeepingWindow : QWidget
        {
            bool keep = true;
            void closeEvent(QCloseEvent* event) override { event->setAccepted(!keep); }
        } editor;
        editor.setWindowTitle(QStringLiteral("aim.lua[*]"));
        editor.setWindowModified(true);
        editor.show();
        QWidget overlay; // a window without unsaved work is left alone
        overlay.show();
        ScriptedPrompter prompter;
        const auto window = shownWindow();
        const auto quit = [&] {
            if (fromTray) {
                trayAction(*window, 1)->trigger();
            } else {
                prompter.queueCustomButton(Quit);
                window->close();
            }
        };
        QVERIFY(!actionQuitsTheProgram(quit));
        QVERIFY(window->isVisible());
        QVERIFY(editor.isVisible());
        QVERIFY(overlay.isVisible());

        editor.keep = false;
        QVERIFY(actionQuitsTheProgram(quit));
        QVERIFY(!editor.isVisible());
    }

    void bottomRightCornerResizesTheWidthOnly()
    {
        const auto window = shownWindow();
        const QRect start = window->geometry();
        const QPoint corner = start.bottomRight() - QPoint(3, 3);

        // The dragged edge follows the cursor; the height stays.
        pressAt(*window, corner);
        moveTo(*window, corner + QPoint(40, 30));
        QCOMPARE(window->geometry(),
                 QRect(start.topLeft(), QPoint(corner.x() + 39, start.bottom())));
        moveTo(*window, corner + QPoint(-60, -50));
        QCOMPARE(window->geometry(),
                 QRect(start.topLeft(), QPoint(corner.x() - 61, start.bottom())));
        releaseAt(*window, corner + QPoint(-60, -50));

        // Released: moving no longer resizes.
        moveTo(*window, corner + QPoint(10, 10));
        QCOMPARE(window->geometry().right(), corner.x() - 61);

        // A release lost to another window: the first move without the button ends the drag.
        pressAt(*window, window->geometry().bottomRight() - QPoint(3, 3));
        const QPoint away = window->geometry().bottomRight() + QPoint(50, 0);
        QMouseEvent lostRelease(QEvent::MouseMove, window->mapFromGlobal(away), away,
                                Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &lostRelease);
        const QRect afterLoss = window->geometry();
        moveTo(*window, away + QPoint(30, 0));
        QCOMPARE(window->geometry(), afterLoss);
        releaseAt(*window, away + QPoint(30, 0));
    }

    void topEdgeStopsNearTheScreensEdges()
    {
        const int screenHeight = QGuiApplication::primaryScreen()->size().height();
        const auto window = shownWindow({200, screenHeight - 200, 400, 190});
        const QRect start = window->geometry();
        const int x = start.center().x();

        pressAt(*window, {x, start.top() + 5});
        moveTo(*window, {x, screenHeight - 51});
        QCOMPARE(window->geometry().top(), screenHeight - 51);
        QCOMPARE(window->geometry().bottom(), start.bottom());
        moveTo(*window, {x, screenHeight - 50});
        QCOMPARE(window->geometry().top(), screenHeight - 51);
        moveTo(*window, {x, 1});
        QCOMPARE(window->geometry().top(), 1);
        moveTo(*window, {x, 0});
        QCOMPARE(window->geometry().top(), 1);
        moveTo(*window, {x, -20});
        QCOMPARE(window->geometry().top(), 1);
        QCOMPARE(window->geometry().bottom(), start.bottom());
        releaseAt(*window, {x, -20});
    }

    void titleBarDragsTheWindow()
    {
        const auto window = shownWindow();
        auto* titleBar = window->findChild<QWidget*>("windowTitlebar");
        const QPoint start = window->pos();
        const QPoint grip = titleBar->rect().center();

        QTest::mousePress(titleBar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(titleBar, grip + QPoint(30, 20));
        QTest::mouseRelease(titleBar, Qt::LeftButton, {}, grip + QPoint(30, 20));
        QCOMPARE(window->pos(), start + QPoint(30, 20));
        QCOMPARE(window->size(), QSize(400, 300));
    }

    void pressBesideALineEditEndsItsEditing()
    {
        const auto window = shownWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* edit = window->findChild<QLineEdit*>("edit");
        auto* label = window->findChild<QLabel*>("label");
        edit->setFocus();
        QVERIFY(edit->hasFocus());

        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(edit->hasFocus());
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(!edit->hasFocus());
    }
};

CLAVITOR_TEST(FramelessWindowTest);
#include "FramelessWindowTest.moc"
