#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "app/Startup.h"
#include "core/AppProperties.h"
#include "recorder/Recorder.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// A widget's object name, or its class when it has none.
QString described(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// Whether the widget lies in a scroll area below the page: its rows scroll out of sight.
bool scrolls(const QWidget* widget, const QWidget* page)
{
    for (const QWidget* parent = widget->parentWidget(); parent && parent != page;
         parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(parent))
            return true;
    }
    return false;
}

// Whether the widget's layout needs more room than the widget has: its items are then
// squeezed below their minimum sizes, and their contents cut off. A stack of pages needs room
// for its current page only, which is checked on its own.
bool squeezed(const QWidget* widget)
{
    const QLayout* layout = widget->layout();
    if (!layout || qobject_cast<const QStackedLayout*>(layout))
        return false;
    const QSize area = widget->contentsRect().size();
    const QSize minimum = layout->minimumSize();
    return minimum.width() > area.width() || minimum.height() > area.height() ||
           (layout->hasHeightForWidth() &&
            layout->minimumHeightForWidth(area.width()) > area.height());
}

QString squeezedInto(const QWidget* widget)
{
    return QStringLiteral("%1 squeezed into %2×%3")
        .arg(described(widget))
        .arg(widget->width())
        .arg(widget->height());
}

// The visible widgets of the page that are cut off, as "widget in parent" for one that its
// parent cuts off, "widget squeezed into w×h" for one whose layout lacks room, and "widget
// scrolls sideways" for a scrolling page that is too narrow for its content.
QStringList clippedWidgets(const QWidget* page)
{
    QStringList clipped;
    if (squeezed(page))
        clipped << squeezedInto(page);
    for (const QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->isWindow() || scrolls(widget, page))
            continue;
        const QWidget* parent = widget->parentWidget();
        if (!parent->rect().contains(widget->geometry()))
            clipped << described(widget) + " in " + described(parent);
        // A page that scrolls does so up and down only.
        const auto* scrollArea = qobject_cast<const QScrollArea*>(widget);
        if (scrollArea && scrollArea->horizontalScrollBar()->isVisible())
            clipped << described(widget) + " scrolls sideways";
        if (squeezed(widget))
            clipped << squeezedInto(widget);
    }
    return clipped;
}

} // namespace

// The window's pages as an X desktop lays them out, in both themes and both languages: with
// every tab of every page current in turn, and with the recording's countdown shown, no bar,
// card or tab cuts off the buttons and fields in it, and the window keeps its size. Runs under
// run-under-xvfb.sh, on Qt's xcb platform.
class PageLayoutX11Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedPrompter> m_prompter;

private slots:
    void initTestCase()
    {
        m_prompter = std::make_unique<ScriptedPrompter>();
        qApp->setProperty(AppProperty::isSound, false);
        registerEmbeddedFonts();
        LanguageManager::instance().initialize({QStringLiteral(":/i18n")},
                                               QStringLiteral("clavitor"));
    }

    void cleanupTestCase()
    {
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme(QStringLiteral("default"));
        QVERIFY(LanguageManager::instance().setLanguage(QStringLiteral("ru")));
        m_prompter.reset();
    }

    void everyPageHoldsItsControlsWhole_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void everyPageHoldsItsControlsWhole()
    {
        QFETCH(QString, theme);
        QVERIFY(LanguageManager::instance().setLanguage(QStringLiteral("ru")));
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), kTimeoutMs));
        const QSize size = window->size();
        QCOMPARE(size, QSize(770, 630));

        auto* pages = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        auto* recording = window->findChild<QWidget*>(QStringLiteral("recordingStateLabel"));
        auto* recorder = window->findChild<Recorder*>();
        QVERIFY(pages && pages->count() == 5 && recording && recorder);
        for (const QString& language : {QStringLiteral("ru"), QStringLiteral("en")}) {
            QVERIFY(LanguageManager::instance().setLanguage(language));
            for (int p = 0; p < pages->count(); ++p) {
                QWidget* page = pages->widget(p);
                pages->setCurrentWidget(page);
                // The page as it opens, then every tab of its tab widgets in turn.
                QList<std::function<void()>> views{[] {
                }};
                for (QTabWidget* tabs : page->findChildren<QTabWidget*>()) {
                    for (int i = 0; i < tabs->count(); ++i)
                        views.append([tabs, i] { tabs->setCurrentIndex(i); });
                }
                if (page->isAncestorOf(recording))
                    views.append([recorder] { emit recorder->countdown(3); });
                for (qsizetype v = 0; v < views.size(); ++v) {
                    views[v]();
                    QTest::qWait(20); // the tab widgets take the tab's height on the next pass
                    const QString where =
                        QStringLiteral("%1, %2, view %3").arg(language, described(page)).arg(v);
                    QTRY_VERIFY2_WITH_TIMEOUT(
                        clippedWidgets(page).isEmpty(),
                        qPrintable(where + ": " + clippedWidgets(page).join(", ")), kTimeoutMs);
                    QVERIFY2(window->size() == size, qPrintable(where));
                }
            }
        }
    }
};

CLAVITOR_TEST(PageLayoutX11Test);
#include "PageLayoutX11Test.moc"
