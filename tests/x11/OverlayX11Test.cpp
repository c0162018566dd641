#include "TestRegistry.h"
#include "XdoTool.h"

#include "core/AppProperties.h"
#include "core/OverlaySnapshot.h"
#include "overlay/OverlayController.h"
#include "overlay/OverlayPalette.h"
#include "overlay/OverlayPlacement.h"
#include "overlay/OverlayWidget.h"
#include "platform/Platform.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/ThemeStyleSheet.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using platform::Platform;

namespace {

// A window of another program under the overlay, covering the screen like a desktop, and the
// presses it receives.
class DesktopWindow : public QWidget
{
public:
    DesktopWindow()
    {
        setWindowFlags(Qt::FramelessWindowHint);
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

    QList<QPoint> presses; // global positions

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        presses.append(event->globalPosition().toPoint());
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient wallpaper(0, 0, width(), height());
        wallpaper.setColorAt(0, QColor(0x2B, 0x5C, 0x8A));
        wallpaper.setColorAt(1, QColor(0xC8, 0x7B, 0x4F));
        painter.fillRect(rect(), wallpaper);
        for (int y = 16; y + 60 < height(); y += 96) // a grid of file icons
            for (int x = 16; x + 80 < width(); x += 104) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor(255, 255, 255, 110));
                painter.drawRoundedRect(x + 20, y, 40, 36, 6, 6);
                painter.setPen(Qt::white);
                painter.drawText(QRect(x, y + 40, 80, 20), Qt::AlignCenter,
                                 QStringLiteral("Файл %1").arg(x / 104 + y / 96 * 13 + 1));
            }
    }
};

} // namespace

// The overlay on a real X server: it lets clicks through to the window below it, except in
// positioning mode, when it is dragged. Also renders the screenshots of the overlay in each
// corner of a desktop in both themes (written when CLAVITOR_SCREENSHOT_DIR is set).
class OverlayX11Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;
    std::unique_ptr<DesktopWindow> m_desktop;

    static bool click(QPoint point)
    {
        return xdotool({QStringLiteral("mousemove"), QString::number(point.x()),
                        QString::number(point.y()), QStringLiteral("click"), QStringLiteral("1")});
    }

    static void fill(OverlayController& overlay)
    {
        overlay.setScenarios(QStringLiteral("Игры"),
                             {{QStringLiteral("Отдача AK"), QStringLiteral("Alt+1"), true},
                              {QStringLiteral("Спрей M4"), QStringLiteral("Alt+2"), true},
                              {QStringLiteral("Пистолет"), QString(), true}});
        overlay.setActiveScenario(QStringLiteral("Отдача AK"));
        overlay.setDisableHotkey(QStringLiteral("Alt+X"));
        overlay.setAutoclickerState(QStringLiteral("Быстрый"), AutoclickerActivity::Armed);
        overlay.setAutoclickerHotkeys(QStringLiteral("Alt+A"), QStringLiteral("Alt+S"));
    }

private slots:
    void initTestCase()
    {
        m_backend = platform::createPlatform("xcb");
        Platform::setCurrent(m_backend.get());
        registerEmbeddedFonts();
        qApp->setProperty(AppProperty::isSound, false);
    }

    void cleanupTestCase()
    {
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void init()
    {
        m_desktop = std::make_unique<DesktopWindow>();
        m_desktop->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_desktop.get(), kTimeoutMs));
        OverlaySnapshot::clear();
    }

    void cleanup() { m_desktop.reset(); }

    void clicksPassThroughTheOverlayButNotWhilePositioning()
    {
        OverlayController overlay;
        fill(overlay);
        OverlaySettings settings;
        settings.enabled = true;
        settings.positionMode = OverlayPlacement::TopLeft;
        overlay.setSettings(settings);
        OverlayWidget* window = overlay.overlayWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window, kTimeoutMs));
        QCOMPARE(window->pos(), QPoint(24, 24));

        const QPoint inside = window->geometry().center();
        QVERIFY(click(inside));
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->presses, QList<QPoint>{inside}, kTimeoutMs);

        // Positioning: the overlay takes the click and follows a drag.
        QSignalSpy positions(&overlay, &OverlayController::customPositionChanged);
        settings.customPosition = QPoint(400, 300);
        overlay.startPositioning(settings);
        QVERIFY(QTest::qWaitForWindowExposed(window, kTimeoutMs));
        const QPoint start = window->pos();
        const QPoint grip = window->geometry().center();
        QVERIFY(click(grip));
        QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
        QVERIFY(xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"),
                         QStringLiteral("-100"), QStringLiteral("50")}));
        QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
        const QPoint dropped = start + QPoint(-100, 50);
        QTRY_COMPARE_WITH_TIMEOUT(overlay.settings().customPosition, dropped, kTimeoutMs);
        QCOMPARE(positions.last(), QVariantList{dropped});
        QCOMPARE(m_desktop->presses.size(), 1);

        // Positioning over: the overlay stays where it was dropped and lets clicks through.
        overlay.stopPositioning();
        QVERIFY(QTest::qWaitForWindowExposed(window, kTimeoutMs));
        QCOMPARE(window->pos(), dropped);
        const QPoint again = window->geometry().center();
        QVERIFY(click(again));
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->presses, (QList<QPoint>{inside, again}), kTimeoutMs);
    }

    void rendersInEachCornerInBothThemes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        const OverlaySettings defaults;
        QTest::newRow("dark") << "default" << defaults.backgroundColor << defaults.textColor;
        // "Туманный светлый" with "Классический чёрный".
        QTest::newRow("light") << "light" << OverlayPalette::backgroundPresets().last().color
                               << OverlayPalette::textPresets().last().color;
    }
    void rendersInEachCornerInBothThemes()
    {
        QFETCH(QString, theme);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        OverlayController overlay;
        fill(overlay);
        OverlaySettings settings;
        settings.enabled = true;
        settings.backgroundColor = background;
        settings.textColor = text;

        // The desktop as a compositing window manager shows it: the overlay's translucent
        // pixels over the window below.
        const QImage desktop = m_desktop->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize crop(440, 300);
        QImage mosaic(crop.width() * 2 + 4, crop.height() * 2 + 4, QImage::Format_RGB32);
        mosaic.fill(Qt::white);
        QPainter mosaicPainter(&mosaic);
        for (int mode = OverlayPlacement::TopLeft; mode <= OverlayPlacement::BottomRight; ++mode) {
            settings.positionMode = static_cast<quint8>(mode);
            overlay.setSettings(settings);
            OverlayWidget* window = overlay.overlayWindow();
            QVERIFY(QTest::qWaitForWindowExposed(window, kTimeoutMs));
            const QRect placed = window->geometry();
            QCOMPARE(placed.topLeft(), OverlayPlacement::position(settings, placed.size(), area));

            QImage composed = desktop;
            QPainter painter(&composed);
            painter.drawImage(placed.topLeft(), window->grab().toImage());
            painter.end();
            // The fill at the window's left margin: the background at its opacity.
            const QPoint margin = placed.topLeft() + QPoint(4, placed.height() / 2);
            const QColor under = desktop.pixelColor(margin);
            const QColor over = composed.pixelColor(margin);
            const double alpha = settings.backgroundOpacity / 255.0;
            const auto blend = [alpha](int fill, int below) {
                return qRound(fill * alpha + below * (1 - alpha));
            };
            QVERIFY2(qAbs(over.red() - blend(background.red(), under.red())) <= 2 &&
                         qAbs(over.green() - blend(background.green(), under.green())) <= 2 &&
                         qAbs(over.blue() - blend(background.blue(), under.blue())) <= 2,
                     qPrintable(over.name()));

            const bool right =
                mode == OverlayPlacement::TopRight || mode == OverlayPlacement::BottomRight;
            const bool bottom = mode >= OverlayPlacement::BottomLeft;
            const QRect corner(right ? area.right() + 1 - crop.width() : area.left(),
                               bottom ? area.bottom() + 1 - crop.height() : area.top(),
                               crop.width(), crop.height());
            mosaicPainter.drawImage(
                QPoint(right ? crop.width() + 4 : 0, bottom ? crop.height() + 4 : 0),
                composed.copy(corner));
        }
        mosaicPainter.end();

        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty()) {
            const QString name = theme == QLatin1String("light") ? "light" : "dark";
            mosaic.save(QDir(QString::fromLocal8Bit(directory))
                            .filePath(QStringLiteral("overlay-%1.png").arg(name)));
        }
        qApp->setStyleSheet(QString());
    }
};

CLAVITOR_TEST(OverlayX11Test);
#include "OverlayX11Test.moc"
