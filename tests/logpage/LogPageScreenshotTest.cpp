#include "LogPageTestSupport.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/Startup.h"
#include "logpage/LogPage.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"
#include "ui/shell/MainWidget.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace {

// A few minutes of a session: a scenario activated, its own lines, the profile following the
// game, an error with its traceback, the autoclicker.
void feedSession(LogJournal& journal)
{
    const auto at = [](int minute, int second, int ms, LogKind kind, const QString& scenario,
                       const QString& text, const QString& detail = {}) {
        LogEntry entry = logLine(0, kind, scenario, text, detail);
        entry.time.setTime(QTime(18, minute, second, ms));
        return entry;
    };
    journal.append(
        at(41, 2, 108, LogKind::Following, {}, "Профиль Shooter стал текущим: shooter.exe"));
    journal.append(
        at(41, 3, 512, LogKind::Activation, "recoil-ak", "Сценарий активирован (Alt+1)"));
    for (int shot = 1; shot <= 4; ++shot)
        journal.append(at(41, 5, 20 + 96 * shot, LogKind::Script, "recoil-ak",
                          QString("shot %1: dy=%2").arg(shot).arg(3 + shot)));
    journal.append(
        at(41, 9, 730, LogKind::Activation, "rapid-fire", "Сценарий активирован (Ctrl+Shift+F)"));
    journal.append(at(41, 10, 4, LogKind::Error, "rapid-fire",
                      "rapid-fire.lua:18: attempt to compare nil with number",
                      "stack traceback:\n[C]: in function '__lt'\n"
                      "rapid-fire.lua:18: in function 'fire'\n"
                      "rapid-fire.lua:31: in function 'OnEvent'"));
    journal.append(at(41, 12, 250, LogKind::Autoclicker, {}, "Автокликер включён"));
    journal.append(at(41, 15, 877, LogKind::Autoclicker, {}, "Автокликер выключен"));
    journal.append(at(41, 20, 341, LogKind::Activation, "recoil-ak", "Сценарий деактивирован"));
    journal.flush();
}

} // namespace

// The log page in the window as the user opens it, in both themes.
class LogPageScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerEmbeddedFonts();
        LanguageManager::instance().initialize({QStringLiteral(":/i18n")},
                                               QStringLiteral("clavitor"));
        QVERIFY(LanguageManager::instance().setLanguage(QStringLiteral("ru")));
    }

    void showsTheSessionInBothThemes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void showsTheSessionInBothThemes()
    {
        QFETCH(QString, theme);
        ScriptedPrompter prompter;
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        LogJournal& journal = LogJournal::instance();
        journal.clear();
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* content = qobject_cast<MainWidget*>(window->contentWidget());
        QVERIFY(content);
        content->showLog(QString());
        QCOMPARE(content->currentPage(), MainWidget::Page::Log);
        auto* page = window->findChild<LogPage*>("pageLog");
        QVERIFY(page && page->isVisible());

        feedSession(journal);
        QTreeView* view = logView(*page);
        const QModelIndex error = view->model()->index(7, 0);
        QCOMPARE(error.siblingAtColumn(LogModel::TextColumn).data().toString(),
                 "rapid-fire.lua:18: attempt to compare nil with number");
        view->expand(error);
        // The newest line and the whole traceback are in sight, in the window's size.
        const QModelIndex last = view->model()->index(view->model()->rowCount() - 1, 0);
        QTRY_VERIFY(view->viewport()->rect().contains(view->visualRect(last)));
        // The traceback's lines take the whole row.
        QVERIFY(view->isFirstColumnSpanned(3, error));
        QVERIFY(
            view->viewport()->rect().contains(view->visualRect(view->model()->index(3, 0, error))));
        QCOMPARE(window->size(), QSize(770, 630));

        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty()) {
            const QString name = theme == "light" ? "light" : "dark";
            window->grab().toImage().save(
                QDir(QString::fromLocal8Bit(directory)).filePath(QString("log-%1.png").arg(name)));
        }
        journal.clear();
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme("default");
    }
};

CLAVITOR_TEST(LogPageScreenshotTest);
#include "LogPageScreenshotTest.moc"
