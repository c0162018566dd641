// The Windows program as a user gets it: its installer, run silently in a fresh Wine prefix on
// a private X server, installs it with its Start-menu shortcut and "Apps" entry; the installed
// clavitor.exe starts on a stored profile, takes over a second start, keeps a silent install
// from replacing it while it runs, and is driven with xdotool; the uninstaller leaves the
// user's data. Wine hands hotkeys and low-level hook events only to input that reaches
// one of its own windows, so the keyboard focus and the pointer stay on the program's window
// (an empty area of it) while keys and clicks are sent.
//
// CLAVITOR_WINDOWS_SETUP names the installer (scripts/build-windows.sh makes it); without it the
// test is skipped. With CLAVITOR_SCREENSHOT_DIR set it leaves screenshots of the program there;
// CLAVITOR_WINEDEBUG is handed to Wine as WINEDEBUG (its channels are off otherwise).
#include "InjectedInputWatcher.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "autoclicker/AutoClicker.h"
#include "autoclicker/AutoclickerFile.h"
#include "preview/PreviewRequest.h"
#include "preview/PreviewResult.h"
#include "profiles/ProfileStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kInstallTimeoutMs = 240000; // a fresh prefix is made first
constexpr int kStartTimeoutMs = 120000;

// Moves the pointer by (37, 23) when activated and by (-20, 15) at every right click.
const QByteArray kNudgeScript = "function OnEvent(event, arg)\n"
                                "  if event == 'PROFILE_ACTIVATED' then\n"
                                "    MoveMouseRelative(37, 23)\n"
                                "  elseif event == 'MOUSE_BUTTON_PRESSED' and arg == 3 then\n"
                                "    MoveMouseRelative(-20, 15)\n"
                                "  end\n"
                                "end\n";

// Where the window has nothing to click: below the home page's two cards.
const QPoint kEmptyArea(480, 430);
// The sidebar's button of the scenario page; the first scenario row's edit button; the
// window's close button, from its right edge.
const QPoint kScenarioPageButton(51, 123);
const QPoint kFirstRowEditButton(517, 286);
const QPoint kCloseButtonFromTopRight(-39, 33);

const QString kUninstallKey =
    QStringLiteral("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Clavitor");

QString number(int value)
{
    return QString::number(value);
}

} // namespace

class WindowsProgramTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;
    QProcessEnvironment m_wine = QProcessEnvironment::systemEnvironment();
    QString m_setup;
    QString m_dataDirectory;
    QString m_window;
    QRect m_geometry;
    QProcess m_program;

    // The exit code of a Windows program run to its end; -1 when it did not end.
    int wineExitCode(const QStringList& arguments, int timeoutMs)
    {
        QProcess wine;
        wine.setProcessEnvironment(m_wine);
        wine.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        wine.start(QStringLiteral("wine"), arguments);
        if (!wine.waitForFinished(timeoutMs) || wine.exitStatus() != QProcess::NormalExit) {
            qWarning() << "wine" << arguments << "did not finish";
            wine.kill();
            wine.waitForFinished();
            return -1;
        }
        return wine.exitCode();
    }

    bool runWine(const QStringList& arguments, int timeoutMs)
    {
        return wineExitCode(arguments, timeoutMs) == 0;
    }

    // The "Apps" entry of an install for everyone has the value.
    bool appsEntryHas(const QString& value)
    {
        return runWine({QStringLiteral("reg"), QStringLiteral("query"), kUninstallKey,
                        QStringLiteral("/v"), value},
                       kTimeoutMs);
    }

    QString installFolder() const { return driveC() + QStringLiteral("/Program Files/Clavitor"); }
    QString startMenuShortcut() const
    {
        return driveC() +
               QStringLiteral("/ProgramData/Microsoft/Windows/Start Menu/Programs/Clavitor.lnk");
    }

    // The visible windows of the program.
    QStringList visibleWindows()
    {
        QString found;
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                 QStringLiteral("^Clavitor")},
                &found);
        return found.split(u'\n', Qt::SkipEmptyParts);
    }

    bool setRegistryValue(const QString& key, const QString& name, const QString& value)
    {
        return runWine({QStringLiteral("reg"), QStringLiteral("add"), key, QStringLiteral("/v"), name,
                        QStringLiteral("/d"), value, QStringLiteral("/f")},
                       kTimeoutMs);
    }

    // C:\ of the prefix.
    QString driveC() const { return m_prefix.filePath(QStringLiteral("drive_c")); }

    // The program's data directory for the prefix's user (Qt's local application data of
    // clavitor.exe, and the program's own folder in it).
    QString dataDirectory() const
    {
        const QDir users(driveC() + QStringLiteral("/users"));
        for (const QString& user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (user != QLatin1String("Public"))
                return users.filePath(user + QStringLiteral("/AppData/Local/clavitor/Clavitor"));
        }
        return {};
    }

    // The profile "default" with the nudge script on Alt+1; the autoclicker on, in mode
    // "Start/stop by hotkey" on Alt+C, clicking the left button every 50 ms without moving.
    void storeData()
    {
        const QString profileFolder = m_dataDirectory + QStringLiteral("/profiles/default");
        QVERIFY(QDir().mkpath(profileFolder));
        QFile script(profileFolder + QStringLiteral("/nudge.lua"));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write(kNudgeScript) > 0);
        script.close();

        ScenarioProfile profile;
        profile.name = QStringLiteral("default");
        profile.scenarios.append({script.fileName(), QStringLiteral("Alt+1"), {}});
        QVERIFY(writeProfiles({profile}, m_dataDirectory + QStringLiteral("/profiles.json")));

        AutoclickerProfiles clicker;
        AutoclickerProfile& first = clicker.list.emplace_back();
        first.name = QStringLiteral("default");
        first.settings.inputType = AutoclickerSettings::Mouse;
        first.settings.button = 1;
        first.settings.interval = 50;
        first.settings.useMove = false;
        first.settings.mode = AutoClicker::HotkeyToggle;
        first.settings.hotkey = QKeySequence(QStringLiteral("Alt+C"));
        clicker.currentIndex = 0;
        QVERIFY(AutoclickerFile::save(m_dataDirectory + QStringLiteral("/autoclicker.json"),
                                      clicker, true));
    }

    // The id of the program's main window once it is shown, with its geometry.
    bool findWindow(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            QString found;
            if (runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), QStringLiteral("^Clavitor")},
                        &found) &&
                !found.trimmed().isEmpty()) {
                m_window = found.split(u'\n').first().trimmed();
                return readGeometry();
            }
            QTest::qWait(100);
        }
        return false;
    }

    bool readGeometry()
    {
        QString shell;
        if (!runTool(QStringLiteral("xdotool"),
                     {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), m_window},
                     &shell))
            return false;
        for (const QString& line : shell.split(u'\n')) {
            const QString value = line.section(u'=', 1);
            if (line.startsWith(u"X="))
                m_geometry.moveLeft(value.toInt());
            else if (line.startsWith(u"Y="))
                m_geometry.moveTop(value.toInt());
            else if (line.startsWith(u"WIDTH="))
                m_geometry.setWidth(value.toInt());
            else if (line.startsWith(u"HEIGHT="))
                m_geometry.setHeight(value.toInt());
        }
        return m_geometry.isValid();
    }

    // Puts the keyboard focus and the pointer on a point of the program's window.
    bool pointAt(QPoint local)
    {
        const QPoint global = m_geometry.topLeft() + local;
        return xdotool({QStringLiteral("windowfocus"), m_window}) &&
               xdotool({QStringLiteral("mousemove"), number(global.x()), number(global.y())}) &&
               QTest::qWaitFor([global] { return pointer() == global; }, kTimeoutMs);
    }

    // A click on the sidebar's button changes the page the window shows; the scenario page
    // with the active scenario is kept for the README.
    void showScenarioPage()
    {
        const QImage before = grabWindow();
        QVERIFY(pointAt(kScenarioPageButton));
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
        QTRY_VERIFY_WITH_TIMEOUT(grabWindow() != before, kTimeoutMs);
        screenshot(QStringLiteral("windows-scripts.png"));
    }

    QImage grabWindow() const
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, m_geometry.x(), m_geometry.y(), m_geometry.width(), m_geometry.height())
            .toImage();
    }

    void screenshot(const QString& name)
    {
        const QString directory = qEnvironmentVariable("CLAVITOR_SCREENSHOT_DIR");
        if (directory.isEmpty())
            return;
        QTest::qWait(500); // the page paints
        QVERIFY(grabWindow().save(directory + u'/' + name));
    }

private slots:
    void initTestCase()
    {
        m_setup = qEnvironmentVariable("CLAVITOR_WINDOWS_SETUP");
        if (m_setup.isEmpty())
            QSKIP("CLAVITOR_WINDOWS_SETUP names no installer (scripts/build-windows.sh makes one)");
        QVERIFY2(QFileInfo::exists(m_setup), qPrintable(m_setup));
        QVERIFY(m_prefix.isValid());
        m_wine.insert(QStringLiteral("WINEPREFIX"), m_prefix.path());
        m_wine.insert(QStringLiteral("WINEDEBUG"), qEnvironmentVariable("CLAVITOR_WINEDEBUG", QStringLiteral("-all")));
        m_wine.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    }

    void cleanupTestCase()
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
        // The prefix's Wine server ends (saving its registry) before the prefix is removed.
        for (const QString& option : {QStringLiteral("-k"), QStringLiteral("-w")}) {
            QProcess wineserver;
            wineserver.setProcessEnvironment(m_wine);
            wineserver.start(QStringLiteral("wineserver"), {option});
            wineserver.waitForFinished(kTimeoutMs);
        }
    }

    void installerInstallsSilently()
    {
        QVERIFY(runWine({m_setup, QStringLiteral("/S")}, kInstallTimeoutMs));
        const QString folder = installFolder();
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/clavitor.exe")));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/uninstall.exe")));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/platforms/qwindows.dll")));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/licenses/README.txt")));
        QVERIFY(QFileInfo::exists(startMenuShortcut()));
        for (const char* value : {"DisplayName", "DisplayVersion", "EstimatedSize", "UninstallString"})
            QVERIFY2(appsEntryHas(QLatin1String(value)), value);
        // Pointer acceleration off, as the user who turned off "Enhance pointer precision":
        // a relative move then moves the cursor by exactly its amount (with it on, Windows
        // doubles moves of more than 6 pixels, as it does a mouse's).
        QVERIFY(setRegistryValue(QStringLiteral("HKCU\\Control Panel\\Mouse"),
                                 QStringLiteral("MouseSpeed"), QStringLiteral("0")));
        m_dataDirectory = dataDirectory();
        QVERIFY(!m_dataDirectory.isEmpty());
        storeData();
    }

    void programStartsOnTheStoredProfile()
    {
        QVERIFY(!m_dataDirectory.isEmpty());
        m_program.setProcessEnvironment(m_wine);
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer started;
        started.start();
        m_program.start(QStringLiteral("wine"),
                        {QStringLiteral("C:\\Program Files\\Clavitor\\clavitor.exe")});
        QVERIFY(findWindow(kStartTimeoutMs));
        qInfo("first window %lld ms after the start", static_cast<long long>(started.elapsed()));
        QTest::qWait(1000); // the hooks and hotkeys are in place once the window is up
        screenshot(QStringLiteral("windows-main.png"));
    }

    // A second start hands over to the first and ends: one window, the first still running.
    void secondStartHandsOverToTheFirst()
    {
        QVERIFY(!m_window.isEmpty());
        QCOMPARE(wineExitCode({QStringLiteral("C:\\Program Files\\Clavitor\\clavitor.exe")},
                              kStartTimeoutMs),
                 0);
        QCOMPARE(m_program.state(), QProcess::Running);
        QCOMPARE(visibleWindows(), QStringList{m_window});
    }

    // A silent install while Clavitor runs ends with an error and changes nothing.
    void silentInstallWhileItRunsChangesNothing()
    {
        QVERIFY(!m_window.isEmpty());
        const QString program = installFolder() + QStringLiteral("/clavitor.exe");
        const QDateTime modified = QFileInfo(program).lastModified();
        QVERIFY(wineExitCode({m_setup, QStringLiteral("/S")}, kInstallTimeoutMs) > 0);
        QCOMPARE(QFileInfo(program).lastModified(), modified);
        QVERIFY(appsEntryHas(QStringLiteral("DisplayVersion")));
        QCOMPARE(m_program.state(), QProcess::Running);
    }

    void autoclickerClicksAndStopsOnItsHotkey()
    {
        QVERIFY(!m_window.isEmpty());
        InjectedInputWatcher watcher(m_wine);
        QVERIFY(watcher.start());
        QVERIFY(pointAt(kEmptyArea));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
        QTRY_VERIFY_WITH_TIMEOUT(watcher.presses() >= 5, kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
        QTest::qWait(500);
        const int stopped = watcher.presses();
        QTest::qWait(500);
        QCOMPARE(watcher.presses(), stopped);
    }

    // Wine 8 leaves the X pointer where it is for an injected move while a low-level mouse hook
    // is in place (the program's own is, from its start): the moves are read as Windows
    // programs get them, from a second program's hook. A click from the X server puts Wine's
    // cursor back where the X pointer is, and the script's second move starts from there.
    void hotkeyActivatesTheScenarioAndItHearsARightClick()
    {
        QVERIFY(!m_window.isEmpty());
        InjectedInputWatcher watcher(m_wine);
        QVERIFY(watcher.start());
        QVERIFY(pointAt(kEmptyArea));
        const QPoint start = pointer();
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+1")}));
        QTRY_COMPARE_WITH_TIMEOUT(watcher.moves(), QList<QPoint>{start + QPoint(37, 23)},
                                  kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("3")}));
        QTRY_COMPARE_WITH_TIMEOUT(watcher.moves().last(), start + QPoint(-20, 15), kTimeoutMs);
    }

    // The preview process answers through its pipes: the nudge script's two moves, on the
    // timeline with the right button, without touching the desktop.
    void previewAnswersThroughItsPipes()
    {
        PreviewRequest request;
        request.scenarioName = QStringLiteral("nudge");
        request.script = QString::fromUtf8(kNudgeScript);
        request.timeline = PreviewTimeline::Kind::RightThenLeft;
        QProcess preview;
        preview.setProcessEnvironment(m_wine);
        preview.start(QStringLiteral("wine"), {QStringLiteral("C:\\Program Files\\Clavitor\\clavitor.exe"),
                                               QStringLiteral("--preview")});
        QVERIFY(preview.waitForStarted(kTimeoutMs));
        preview.write(request.toJson());
        preview.closeWriteChannel();
        QVERIFY(preview.waitForFinished(kStartTimeoutMs));
        const std::optional<PreviewResult> result = PreviewResult::fromJson(preview.readAllStandardOutput());
        QVERIFY(result);
        QCOMPARE(result->end, PreviewResult::End::Finished);
        QList<QPoint> moves;
        for (const PreviewResult::Record& record : result->records)
            if (record.kind == PreviewResult::Record::Kind::Move)
                moves << QPoint(record.a, record.b);
        QCOMPARE(moves, (QList<QPoint>{{37, 23}, {-20, 15}}));
    }

    // The row's edit button opens the editor; a line typed there and saved with Ctrl+S
    // reaches the file in its own line endings, and the saved editor closes without a question.
    void editorSavesTheScenario()
    {
        QVERIFY(!m_window.isEmpty());
        showScenarioPage();
        QVERIFY(pointAt(kFirstRowEditButton));
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
        QString editor;
        QVERIFY(QTest::qWaitFor(
            [&] {
                return runTool(QStringLiteral("xdotool"),
                               {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                QStringLiteral("--name"), QStringLiteral("^nudge\\.lua")},
                               &editor) &&
                       !editor.trimmed().isEmpty();
            },
            kStartTimeoutMs));
        editor = editor.split(u'\n').first().trimmed();
        QTest::qWait(1000); // the editor paints and takes the focus
        QVERIFY(xdotool({QStringLiteral("windowfocus"), editor}));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+Home")}));
        QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("--"), QStringLiteral("-- edited")}));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Return"), QStringLiteral("ctrl+s")}));
        const QString script = m_dataDirectory + QStringLiteral("/profiles/default/nudge.lua");
        const auto contents = [&script] {
            QFile file(script);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(contents(), "-- edited\n" + kNudgeScript, kTimeoutMs);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")}));
        QTRY_VERIFY_WITH_TIMEOUT(
            !runTool(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"), QStringLiteral("^nudge\\.lua")},
                     &editor),
            kTimeoutMs);
    }

    // On the scenario page, where the editor's step left the window.
    void quitsThroughTheCloseQuestionAndSavesItsSettings()
    {
        QVERIFY(!m_window.isEmpty());
        const QString settings = m_dataDirectory + QStringLiteral("/Settings");
        QVERIFY(QFile::remove(settings)); // written at the start; written again when it quits
        QVERIFY(pointAt(QPoint(m_geometry.width(), 0) + kCloseButtonFromTopRight));
        QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
        // The question "Закрыть программу или свернуть в трей?": its buttons are "В трей"
        // (the default), "Закрыть" and "Отмена"; Tab moves the focus to "Закрыть".
        QTest::qWait(1500);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("space")}));
        QVERIFY(m_program.waitForFinished(30000));
        QCOMPARE(m_program.exitCode(), 0);
        QVERIFY(QFileInfo::exists(settings));
    }

    // The uninstaller takes the program, its shortcut and its "Apps" entry, and leaves the
    // user's data. It copies itself away and returns at once: what it removes is waited for.
    void uninstallKeepsTheData()
    {
        QVERIFY(!m_dataDirectory.isEmpty());
        QVERIFY(runWine({QStringLiteral("C:\\Program Files\\Clavitor\\uninstall.exe"),
                         QStringLiteral("/S"), QStringLiteral("/AllUsers")},
                        kInstallTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(installFolder() + QStringLiteral("/clavitor.exe")),
                                 kInstallTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(!appsEntryHas(QStringLiteral("DisplayVersion")), kTimeoutMs);
        QVERIFY(!QFileInfo::exists(startMenuShortcut()));
        QVERIFY(QFileInfo::exists(m_dataDirectory + QStringLiteral("/profiles.json")));
        QVERIFY(QFileInfo::exists(m_dataDirectory + QStringLiteral("/profiles/default/nudge.lua")));
    }
};

CLAVITOR_TEST(WindowsProgramTest);

#include "WindowsProgramTest.moc"
