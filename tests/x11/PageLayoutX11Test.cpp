#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "app/AppProperties.h"
#include "app/Startup.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QAbstractScrollArea>
#include <QApplication>
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

// The visible widgets of the page that their parent cuts off, as "widget in parent".
QStringList clippedWidgets(const QWidget* page)
{
    QStringList clipped;
    for (const QWidget* widget : page->findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (widget->isVisible() && !widget->isWindow() && !scrolls(widget, page) &&
            !parent->rect().contains(widget->geometry()))
            clipped << described(widget) + " in " + described(parent);
    }
    return clipped;
}

} // namespace

// The window's pages as an X desktop lays them out, in both themes: with every tab of every
// page current in turn, no bar, card or tab cuts off the buttons and fields in it. Runs under
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
    }

    void cleanupTestCase()
    {
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme(QStringLiteral("default"));
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
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), kTimeoutMs));

        auto* pages = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        QVERIFY(pages && pages->count() == 4);
        for (int p = 0; p < pages->count(); ++p) {
            QWidget* page = pages->widget(p);
            pages->setCurrentWidget(page);
            // The page as it opens, then every tab of its tab widgets in turn.
            QList<std::function<void()>> views{[] {}};
            for (QTabWidget* tabs : page->findChildren<QTabWidget*>()) {
                for (int i = 0; i < tabs->count(); ++i)
                    views.append([tabs, i] { tabs->setCurrentIndex(i); });
            }
            for (const std::function<void()>& show : views) {
                show();
                QTRY_VERIFY2_WITH_TIMEOUT(clippedWidgets(page).isEmpty(),
                                          qPrintable(clippedWidgets(page).join(", ")), kTimeoutMs);
            }
        }
    }
};

CLAVITOR_TEST(PageLayoutX11Test);
#include "PageLayoutX11Test.moc"
