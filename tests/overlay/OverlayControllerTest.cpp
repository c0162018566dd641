#include "HotkeyPress.h"
#include "LogCapture.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "core/DataDirectory.h"
#include "core/OverlaySnapshot.h"
#include "core/SettingsNormalization.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayController.h"
#include "overlay/OverlayPlacement.h"
#include "overlay/OverlayWidget.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using platform::SimulatedPlatform;

namespace {

QLabel* label(const OverlayWidget* window, const char* objectName)
{
    return window->findChild<QLabel*>(QLatin1String(objectName));
}

// The scenario rows as "hotkey | name" lines.
QStringList rowTexts(const OverlayWidget* window)
{
    const auto hotkeys = window->findChildren<QLabel*>(QStringLiteral("hotkeyLabel"));
    const auto names = window->findChildren<QLabel*>(QStringLiteral("nameLabel"));
    QStringList rows;
    for (qsizetype i = 0; i < std::min(hotkeys.size(), names.size()); ++i)
        rows.append(hotkeys[i]->text() + QStringLiteral(" | ") + names[i]->text());
    return rows;
}

const QString kAccent = QStringLiteral("color: rgba(169,155,242,");

// The overlay's enabled flag (field 13) and the overlay hotkey (field 29) in the file.
QPair<bool, QString> storedOverlayToggle()
{
    QFile file(dataFilePath(QStringLiteral("Settings")));
    file.open(QIODevice::ReadOnly);
    QDataStream in(&file);
    bool flag, enabled = false;
    quint8 mode;
    double real;
    QString text, hotkey;
    qint32 number;
    QPoint point;
    QColor color;
    in >> flag >> mode >> real >> real >> real >> real >> real >> real >> text >> text >> text >>
        text >> enabled;
    in >> number >> point >> color >> color >> number >> number >> number >> flag >> flag >> flag >>
        flag >> text >> real >> text >> text >> hotkey;
    return {enabled, hotkey};
}

OverlaySettings shown()
{
    OverlaySettings settings;
    settings.enabled = true;
    return settings;
}

} // namespace

class OverlayControllerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;

    bool press(UINT modifiers, UINT virtualKey)
    {
        return pressHotKey(*m_desktop, modifiers, virtualKey);
    }

private slots:
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
        OverlaySnapshot::clear();
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        qApp->setProperty(AppProperty::isSound, false);
    }

    void cleanup()
    {
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void placesInTheCornersAndKeepsTheWindowOnTheScreen_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("custom");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("expected");
        const QRect fullHd(0, 0, 1920, 1040);
        const QSize window(200, 100);
        QTest::newRow("top-left") << 0 << QPoint() << fullHd << window << QPoint(24, 24);
        QTest::newRow("top-right") << 1 << QPoint() << fullHd << window << QPoint(1696, 24);
        QTest::newRow("bottom-left") << 2 << QPoint() << fullHd << window << QPoint(24, 916);
        QTest::newRow("bottom-right") << 3 << QPoint() << fullHd << window << QPoint(1696, 916);
        QTest::newRow("custom") << 4 << QPoint(300, 200) << fullHd << window << QPoint(300, 200);
        QTest::newRow("any other mode is custom")
            << 9 << QPoint(10, 700) << fullHd << window << QPoint(10, 700);
        QTest::newRow("custom beyond the screen is pulled back")
            << 4 << QPoint(5000, -40) << fullHd << window << QPoint(1720, 0);
        QTest::newRow("area left of the primary screen")
            << 3 << QPoint() << QRect(-1280, 100, 1280, 1000) << window << QPoint(-224, 976);
        QTest::newRow("window larger than the area")
            << 1 << QPoint() << fullHd << QSize(2000, 1200) << QPoint(0, 0);
    }
    void placesInTheCornersAndKeepsTheWindowOnTheScreen()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, custom);
        QFETCH(QRect, area);
        QFETCH(QSize, size);
        QFETCH(QPoint, expected);
        OverlaySettings settings;
        settings.positionMode = static_cast<quint8>(mode);
        settings.customPosition = custom;
        QCOMPARE(OverlayPlacement::position(settings, size, area), expected);
    }

    void showsWhatThePagesPush()
    {
        OverlayController controller;
        controller.setSettings(shown());
        controller.setScenarios(QStringLiteral("Игры"),
                                {{QStringLiteral("aim"), QStringLiteral("Alt+1"), true},
                                 {QString(), QStringLiteral("  "), false}});
        controller.setAutoclickerState(QString(), AutoclickerActivity::Armed);
        const OverlayWidget* window = controller.overlayWindow();
        QVERIFY(window->isVisible());
        QVERIFY(window->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QCOMPARE(label(window, "titleLabel")->text(), QStringLiteral("Сценарии (Игры)"));
        QCOMPARE(label(window, "disableLabel")->text(), QStringLiteral("Отключить сценарий: —"));
        QCOMPARE(rowTexts(window), (QStringList{QStringLiteral("Alt+1 | aim"),
                                                QStringLiteral("— | Сценарий не выбран")}));
        QVERIFY(label(window, "emptyLabel")->isHidden());
        QCOMPARE(label(window, "autoclickerLabel")->text(),
                 QStringLiteral("Автокликер: включен\nВкл/выкл: —\nСтарт/стоп: —"));

        controller.setScenarios(QString(), {});
        controller.setAutoclickerState(QStringLiteral("fast"), AutoclickerActivity::Off);
        controller.setAutoclickerHotkeys(QStringLiteral("Alt+A"), QStringLiteral("Alt+S"));
        QCOMPARE(label(window, "titleLabel")->text(), QStringLiteral("Сценарии"));
        QVERIFY(rowTexts(window).isEmpty());
        QCOMPARE(label(window, "emptyLabel")->text(), QStringLiteral("Сценарии не назначены"));
        QVERIFY(!label(window, "emptyLabel")->isHidden());
        QCOMPARE(label(window, "autoclickerLabel")->text(),
                 QStringLiteral("Автокликер: fast (выключен)\nВкл/выкл: Alt+A\nСтарт/стоп: Alt+S"));

        // Caps Lock is read while the overlay is shown, and always shown.
        OverlaySettings settings = shown();
        settings.showScenarios = false;
        settings.showAutoclickerStatus = false;
        settings.textOpacity = 77;
        controller.setSettings(settings);
        for (const char* hidden : {"titleLabel", "disableLabel", "autoclickerLabel"})
            QVERIFY2(label(window, hidden)->isHidden(), hidden);
        QVERIFY(window->findChild<QWidget*>(QStringLiteral("scenarioContainer"))->isHidden());
        // A notice shows whatever else is hidden, until it is taken back.
        QVERIFY(label(window, "noticeLabel")->isHidden());
        controller.setNotice(QStringLiteral("game.exe запущена от имени администратора"));
        QVERIFY(label(window, "noticeLabel")->isVisible());
        QCOMPARE(label(window, "noticeLabel")->text(),
                 QStringLiteral("game.exe запущена от имени администратора"));
        controller.setNotice({});
        QVERIFY(label(window, "noticeLabel")->isHidden());
        const QLabel* caps = label(window, "capsLockLabel");
        QCOMPARE(caps->text(), QStringLiteral("Caps Lock: выключен"));
        QVERIFY(caps->styleSheet().startsWith(QStringLiteral("color: rgba(229,229,229,77);")));
        m_desktop->setKeyToggled(VK_CAPITAL, true);
        QTRY_COMPARE(caps->text(), QStringLiteral("Caps Lock: включен"));
        QVERIFY(caps->styleSheet().startsWith(kAccent + QStringLiteral("77);")));
    }

    void windowGrowsWithItsTextAndKeepsItsCorner()
    {
        OverlayController controller;
        OverlaySettings settings = shown();
        settings.positionMode = OverlayPlacement::BottomRight;
        controller.setSettings(settings);
        const OverlayWidget* window = controller.overlayWindow();
        const QSize size = window->size();

        controller.setAutoclickerState(
            QStringLiteral("Профиль с таким длинным именем, что строка переносится"),
            AutoclickerActivity::Armed);
        QCoreApplication::processEvents(); // the labels' layout
        QVERIFY(window->size() != size);
        const QLabel* autoclicker = label(window, "autoclickerLabel");
        QVERIFY(autoclicker->height() >= autoclicker->heightForWidth(autoclicker->width()));
        QCOMPARE(window->pos(),
                 OverlayPlacement::position(settings, window->size(),
                                            QGuiApplication::primaryScreen()->availableGeometry()));
    }

    void activeScenarioIsHighlighted_data()
    {
        QTest::addColumn<bool>("highlight");
        QTest::addColumn<QString>("active");
        QTest::addColumn<int>("highlightedRow");
        QTest::newRow("letter case ignored") << true << "SPRAY" << 1;
        QTest::newRow("highlighting off") << false << "spray" << -1;
        QTest::newRow("no active scenario") << true << "" << -1;
    }
    void activeScenarioIsHighlighted()
    {
        QFETCH(bool, highlight);
        QFETCH(QString, active);
        QFETCH(int, highlightedRow);
        OverlayController controller;
        OverlaySettings settings = shown();
        settings.highlightActiveScenario = highlight;
        controller.setSettings(settings);
        controller.setScenarios(QStringLiteral("p"), {{QStringLiteral("aim"), {}, true},
                                                      {QStringLiteral("spray"), {}, true}});
        controller.setActiveScenario(active);

        const QList<QLabel*> names =
            controller.overlayWindow()->findChildren<QLabel*>(QStringLiteral("nameLabel"));
        QCOMPARE(names.size(), 2);
        for (int row = 0; row < names.size(); ++row) {
            const bool emphasised = row == highlightedRow;
            QCOMPARE(names[row]->property("active").toBool(), emphasised);
            QCOMPARE(names[row]->styleSheet().startsWith(kAccent), emphasised);
            QCOMPARE(names[row]->styleSheet().contains(QStringLiteral("font-weight: 600;")),
                     emphasised);
        }
    }

    void overlayHotkeyFlipsTheOverlayAndWritesTheFile()
    {
        OverlayController controller;
        controller.setSettings(OverlaySettings{});
        int status = -1;
        QVERIFY(
            controller.setOverlayHotkey(QKeySequence(QStringLiteral("Alt+O")), nullptr, &status));
        QCOMPARE(status, 0);
        QSignalSpy enabledChanged(&controller, &OverlayController::overlayEnabledChanged);

        QVERIFY(press(MOD_ALT, 'O'));
        QVERIFY(controller.overlayWindow()->isVisible());
        QCOMPARE(storedOverlayToggle(), qMakePair(true, QStringLiteral("Alt+O")));
        QVERIFY(press(MOD_ALT, 'O'));
        QVERIFY(!controller.overlayWindow()->isVisible());
        QCOMPARE(storedOverlayToggle(), qMakePair(false, QStringLiteral("Alt+O")));
        QCOMPARE(enabledChanged, (QList<QVariantList>{{true}, {false}}));

        // Refused combinations leave the hotkey as it was: taken by another owner of the
        // program (status 1), or by another program (status 2).
        QObject scenario;
        QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence(QStringLiteral("Alt+K")),
                                                   QStringLiteral("сценарий \"aim\"")));
        m_desktop->setHotKeyHeldElsewhere(MOD_ALT, 'L', true);
        const QList<std::tuple<const char*, int, QString>> refusals = {
            {"Alt+K", 1, QStringLiteral("сценарий \"aim\"")},
            {"Alt+L", 2, QStringLiteral("Сочетание уже используется другой программой.")}};
        for (const auto& [sequence, expectedStatus, expectedText] : refusals) {
            QString errorText;
            QVERIFY(!controller.setOverlayHotkey(QKeySequence(QLatin1String(sequence)), &errorText,
                                                 &status));
            QCOMPARE(status, expectedStatus);
            QCOMPARE(errorText, expectedText);
            QCOMPARE(controller.overlayHotkeyText(), QStringLiteral("Alt+O"));
            QVERIFY(press(MOD_ALT, 'O'));
        }

        QVERIFY(controller.setOverlayHotkey(QKeySequence(), nullptr, &status));
        QCOMPARE(status, 0);
        QVERIFY(controller.overlayHotkeyText().isEmpty());
        QVERIFY(m_desktop->registeredHotKeys().empty());
    }

    void positioningModeFollowsTheDrag()
    {
        OverlayController controller;
        OverlaySettings settings; // hidden
        settings.customPosition = QPoint(300, 200);
        controller.setSettings(settings);
        QSignalSpy moved(&controller, &OverlayController::customPositionChanged);

        // Moving starts where the overlay is: at its custom position.
        controller.startPositioning(settings);
        OverlayWidget* window = controller.overlayWindow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint start = settings.customPosition;
        QVERIFY(window->isVisible());
        QCOMPARE(window->pos(), start);
        QVERIFY(moved.isEmpty());
        QCOMPARE(controller.settings().positionMode, quint8(OverlayPlacement::Custom));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(!window->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(window->cursor().shape(), Qt::SizeAllCursor);
        QCOMPARE(label(window, "hintLabel")->text(),
                 QStringLiteral("Переместите и нажмите \"Сохранить\""));
        QVERIFY(!label(window, "hintLabel")->isHidden());

        // Grabbed at (10, 10) and dragged by (50, 30), then far beyond the screen's corner.
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(window, QPoint(60, 40));
        QCOMPARE(window->pos(), start + QPoint(50, 30));
        QTest::mouseMove(window, QPoint(5000, 5000));
        const QPoint corner =
            OverlayPlacement::clamp({area.right(), area.bottom()}, window->size(), area);
        QCOMPARE(window->pos(), corner);
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(5000, 5000));
        QCOMPARE(moved, (QList<QVariantList>{{start + QPoint(50, 30)}, {corner}}));

        // Ended: at the custom position, hidden again since the overlay is off.
        controller.stopPositioning();
        QVERIFY(!window->isVisible());
        QCOMPARE(window->pos(), corner);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(window->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(label(window, "hintLabel")->isHidden());
    }

    void storedSettingsAreHandedToTheOverlay()
    {
        OverlayController& overlay = OverlayController::instance();
        QCOMPARE(&OverlayFeed::current(), static_cast<OverlayFeed*>(&overlay));
        AppSettings settings;
        settings.overlay = shown();
        settings.overlayHotkey = QStringLiteral("Alt+P");
        overlay.applyStored(settings.overlay, storedHotkey(settings.overlayHotkey));
        QCOMPARE(overlay.settings(), settings.overlay);
        QCOMPARE(*OverlaySnapshot::current(), settings.overlay);
        QCOMPARE(overlay.overlayHotkeyText(), QStringLiteral("Alt+P"));
        QVERIFY(overlay.overlayWindow()->isVisible());
        OverlayFeed::current().setScenarios(QStringLiteral("p"), {{QStringLiteral("aim")}});
        QCOMPARE(rowTexts(overlay.overlayWindow()), QStringList{QStringLiteral("— | aim")});

        m_desktop->setHotKeyHeldElsewhere(MOD_ALT, 'Q', true);
        settings.overlayHotkey = QStringLiteral("Alt+Q");
        {
            LogCapture log;
            overlay.applyStored(settings.overlay, storedHotkey(settings.overlayHotkey));
            QCOMPARE(
                log.lines.filter(QStringLiteral("clavitor.settings")),
                QStringList{QStringLiteral(
                    "clavitor.settings: Не удалось зарегистрировать горячую клавишу оверлея")});
        }
        QCOMPARE(overlay.overlayHotkeyText(), QStringLiteral("Alt+P"));

        overlay.setOverlayHotkey(QKeySequence());
        overlay.setScenarios(QString(), {});
        overlay.setSettings(OverlaySettings{});
    }
};

CLAVITOR_TEST(OverlayControllerTest);
#include "OverlayControllerTest.moc"
