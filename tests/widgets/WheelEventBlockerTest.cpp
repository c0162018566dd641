#include "TestRegistry.h"

#include "ui/widgets/WheelEventBlocker.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace {

// One notch of the wheel towards the user at the widget's centre, as the window system
// delivers it: what the widget leaves unaccepted goes on to its parents.
void wheelDown(QWidget* widget)
{
    const QPointF local = QRectF(widget->rect()).center();
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(widget, &event);
}

} // namespace

class WheelEventBlockerTest : public QObject
{
    Q_OBJECT

private slots:
    void spinAndComboBoxesLetTheWheelScrollThePage()
    {
        QScrollArea page;
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        auto* spin = new QSpinBox;
        spin->setValue(5);
        auto* combo = new QComboBox;
        combo->addItems({"a", "b", "c"});
        combo->setCurrentIndex(1);
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setValue(50);
        layout->addWidget(spin);
        layout->addWidget(combo);
        layout->addWidget(slider);
        content->setMinimumHeight(2000);
        page.setWidget(content);
        page.resize(300, 200);
        page.show();
        QScrollBar* scroll = page.verticalScrollBar();

        // Without the blocker the wheel changes the values, as Qt does by default.
        wheelDown(spin);
        QCOMPARE(spin->value(), 4);
        QCOMPARE(scroll->value(), 0);

        WheelEventBlocker blocker;
        qApp->installEventFilter(&blocker);
        wheelDown(spin);
        QCOMPARE(spin->value(), 4);
        QVERIFY(scroll->value() > 0);
        const int scrolled = scroll->value();
        wheelDown(combo);
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(scroll->value() > scrolled);
        wheelDown(slider);
        QVERIFY(slider->value() != 50);
        qApp->removeEventFilter(&blocker);
    }
};

CLAVITOR_TEST(WheelEventBlockerTest);
#include "WheelEventBlockerTest.moc"
