#include "TestRegistry.h"

#include "ui/appearance/IconManager.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QStringList kIconNames = {
    "add-large-line", "add-line", "amc", "arrow-down-s-line", "arrow-drop-down-fill",
    "arrow-drop-left-fill", "arrow-drop-right-fill", "arrow-drop-up-fill", "arrow-left-s-line",
    "arrow-right-s-line", "arrow-up-s-line", "check-line", "close-large-line", "close-line",
    "code-line", "cursor-fill", "delete-bin-6-line", "download-2-line", "draggable",
    "file-add-line", "file-code-line", "file-copy-line", "file-download-line", "file-reduce-line",
    "file-settings-line", "file-upload-line", "folder-add-line", "folder-check-line",
    "folder-download-line", "folder-settings-line", "folder-upload-line", "folders-line",
    "global-fill", "home-3-fill", "input-field", "loader-line", "lock-password-fill", "lua",
    "moon-line", "mouse-fill", "clvLogoCrop", "puzzle-2-fill", "save-line", "settings-3-fill",
    "settings-3-line", "subtract-line", "sun-line", "telegram-2-fill", "upload-2-line",
    "user-3-fill", "vk-fill"};

QImage rendered(const QIcon& icon)
{
    return icon.pixmap(QSize(24, 24)).toImage();
}

QImage renderedFile(const QString& path)
{
    return rendered(QIcon(path));
}

} // namespace

class IconManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { IconManager::instance().setTheme(QStringLiteral("default")); }
    void cleanup() { IconManager::instance().setTheme(QStringLiteral("default")); }

    void everyIconHasADarkAndALightVariant()
    {
        for (const QString& name : kIconNames) {
            const QString dark = QStringLiteral(":/icons/%1.svg").arg(name);
            const QString light = QStringLiteral(":/icons/%1_light.svg").arg(name);
            QVERIFY2(QSvgRenderer(dark).isValid(), qPrintable(dark));
            QVERIFY2(QSvgRenderer(light).isValid(), qPrintable(light));
            QVERIFY2(renderedFile(dark) != renderedFile(light),
                     qPrintable(name + " looks the same in both themes"));
        }
        for (const QString& flag : {QStringLiteral(":/icons/russia.png"),
                                    QStringLiteral(":/icons/usa.png")})
            QVERIFY2(!QImage(flag).isNull(), qPrintable(flag));
    }

    void pathsFollowTheTheme()
    {
        IconManager& icons = IconManager::instance();
        QCOMPARE(icons.iconPath("check-line"), QStringLiteral(":/icons/check-line.svg"));
        QCOMPARE(icons.iconPath(" check-line.svg "), QStringLiteral(":/icons/check-line.svg"));
        QCOMPARE(icons.iconPath("  "), QString());

        icons.setTheme(QStringLiteral(" Light "));
        QCOMPARE(icons.theme(), QStringLiteral("light"));
        QCOMPARE(icons.iconPath("check-line.svg"), QStringLiteral(":/icons/check-line_light.svg"));
        // Without a light file the dark one is used; without that an empty icon.
        QCOMPARE(icons.iconPath("no-such-icon"), QStringLiteral(":/icons/no-such-icon.svg"));
        QVERIFY(icons.icon("no-such-icon").isNull());
        QVERIFY(icons.icon("").isNull());
        QCOMPARE(rendered(icons.icon("check-line")), renderedFile(":/icons/check-line_light.svg"));

        icons.setTheme(QStringLiteral("dark"));
        QCOMPARE(icons.theme(), QStringLiteral("default"));
        QCOMPARE(icons.iconPath("check-line"), QStringLiteral(":/icons/check-line.svg"));
    }

    void registeredObjectsAreReiconedOnAThemeSwitch()
    {
        IconManager& icons = IconManager::instance();
        QPushButton button;
        QToolButton toolButton;
        QAction action;
        QLabel label;
        QSystemTrayIcon tray;
        auto destroyedButton = std::make_unique<QPushButton>();

        icons.setIcon(&button, "add-line");
        icons.setIcon(&button, "close-line"); // the last name counts
        icons.setIcon(&toolButton, "save-line");
        icons.setIcon(&action, "sun-line");
        icons.setIcon(&label, "lua");
        icons.setIcon(&tray, "clvLogoCrop");
        icons.setIcon(destroyedButton.get(), "moon-line");
        icons.setIcon(nullptr, "moon-line");
        QCOMPARE(rendered(button.icon()), renderedFile(":/icons/close-line.svg"));
        QCOMPARE(label.pixmap().toImage(), QImage(":/icons/lua.svg"));

        destroyedButton.reset();
        icons.setTheme(QStringLiteral("light"));

        QCOMPARE(rendered(button.icon()), renderedFile(":/icons/close-line_light.svg"));
        QCOMPARE(rendered(toolButton.icon()), renderedFile(":/icons/save-line_light.svg"));
        QCOMPARE(rendered(action.icon()), renderedFile(":/icons/sun-line_light.svg"));
        QCOMPARE(label.pixmap().toImage(), QImage(":/icons/lua_light.svg"));
        QCOMPARE(rendered(tray.icon()), renderedFile(":/icons/clvLogoCrop_light.svg"));

        // Setting the same theme again leaves icons set by other code alone.
        button.setIcon(QIcon());
        icons.setTheme(QStringLiteral("light"));
        QVERIFY(button.icon().isNull());
    }
};

CLAVITOR_TEST(IconManagerTest);
#include "IconManagerTest.moc"
