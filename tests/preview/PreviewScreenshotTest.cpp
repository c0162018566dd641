#include "GuideExamples.h"
#include "TestRegistry.h"

#include "preview/PreviewWindow.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

// The preview of the guide's spray pattern laid over a run with a stronger pull, in both
// themes, for the README when CLAVITOR_SCREENSHOT_DIR is set.
class PreviewScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerEmbeddedFonts(); }

    void showsAComparedChangeInBothThemes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void showsAComparedChangeInBothThemes()
    {
        QFETCH(QString, theme);
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        PreviewWindow window(nullptr, QStringLiteral(CLAVITOR_PROGRAM));
        window.resize(900, 620);
        QSignalSpy shown(&window, &PreviewWindow::resultShown);
        const QString spray = guideExamples().at(kSprayExample);
        window.run(QStringLiteral("spray"), spray, MovementModifiers{1.5, 1.0, 1.0, 0});
        QVERIFY(shown.wait(20'000));
        window.run(QStringLiteral("spray"), spray, MovementModifiers{});
        QVERIFY(shown.wait(20'000));
        window.findChild<QCheckBox*>(QStringLiteral("checkOverlayPrevious"))->setChecked(true);
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty()) {
            const QString name = theme == "light" ? "light" : "dark";
            QVERIFY(window.grab().toImage().save(
                QDir(QString::fromLocal8Bit(directory)).filePath(QString("preview-%1.png").arg(name))));
        }
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme("default");
    }
};

CLAVITOR_TEST(PreviewScreenshotTest);
#include "PreviewScreenshotTest.moc"
