#include "TestRegistry.h"

#include "ui/widgets/AutoHeightTabWidget.h"

#include <QCoreApplication>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A page that needs the given height for its content and keeps to it.
QWidget* pageOfHeight(int contentHeight, QSizePolicy::Policy vertical = QSizePolicy::Fixed)
{
    auto* page = new QWidget;
    page->setSizePolicy(QSizePolicy::Preferred, vertical);
    auto* layout = new QVBoxLayout(page);
    auto* content = new QWidget;
    content->setFixedHeight(contentHeight);
    layout->addWidget(content);
    return page;
}

// The height a plain tab widget holding only that page asks for.
int heightForThePageAlone(int contentHeight)
{
    QTabWidget alone;
    alone.addTab(pageOfHeight(contentHeight), "alone");
    return alone.sizeHint().height();
}

} // namespace

class AutoHeightTabWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void heightFollowsTheCurrentPageOnTheNextPass()
    {
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        auto* tabs = new AutoHeightTabWidget;
        QWidget* small = pageOfHeight(60);
        tabs->addTab(small, "small");
        tabs->addTab(pageOfHeight(300), "tall");
        tabs->addTab(pageOfHeight(60, QSizePolicy::Expanding), "growing");
        layout->addWidget(tabs);
        layout->addStretch();
        host.resize(400, 700);
        host.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        // Exactly as tall as the small page needs, although the tall one is in the stack too.
        const int smallHeight = heightForThePageAlone(60);
        QCOMPARE(tabs->height(), smallHeight);
        QCOMPARE(tabs->minimumHeight(), smallHeight);
        QCOMPARE(tabs->maximumHeight(), smallHeight);

        tabs->setCurrentIndex(1);
        QCOMPARE(tabs->height(), smallHeight);
        QCoreApplication::processEvents();
        QCOMPARE(tabs->height(), heightForThePageAlone(300));

        tabs->setCurrentIndex(0);
        QCoreApplication::processEvents();
        QCOMPARE(tabs->height(), smallHeight);

        // A page that grows vertically takes what the layout offers beyond its needs.
        tabs->setCurrentIndex(2);
        QCoreApplication::processEvents();
        QCOMPARE(tabs->minimumHeight(), smallHeight);
        QCOMPARE(tabs->maximumHeight(), QWIDGETSIZE_MAX);
    }

    void pageThatScrollsLeavesTheHostItsHeight()
    {
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        auto* tabs = new AutoHeightTabWidget;
        auto* scroller = new QScrollArea;
        scroller->setWidgetResizable(true);
        scroller->setWidget(pageOfHeight(900));
        tabs->addTab(scroller, "scrolling");
        layout->addWidget(tabs);
        host.resize(400, 300);
        host.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        QVERIFY(host.minimumSizeHint().height() <= 300);
        QCOMPARE(host.height(), 300);
        QVERIFY(tabs->geometry().bottom() < 300);
    }

    void pageKeepsItsHeightInsideAStyledPane()
    {
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        auto* tabs = new AutoHeightTabWidget;
        tabs->setStyleSheet("QTabWidget::pane { border: 3px solid gray; padding: 9px; }");
        QWidget* page = pageOfHeight(40);
        tabs->addTab(page, "page");
        layout->addWidget(tabs);
        layout->addStretch();
        host.resize(400, 300);
        host.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        QCOMPARE(page->height(), page->sizeHint().height());
    }
};

CLAVITOR_TEST(AutoHeightTabWidgetTest);
#include "AutoHeightTabWidgetTest.moc"
