#include "TestRegistry.h"
#include "XdoTool.h"

#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/prompts/QtPrompter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

namespace {

// What the open message box showed of its text: where it ran wider or taller than the label,
// and the box's and the label's widths.
struct Shown
{
    bool found = false;
    QString overflow;
    int boxWidth = 0;
    int labelWidth = 0;
};

// Lays the label's text out at the label's width as the toolkit lays out text, and tells
// what of it the label cuts off.
QString overflowOf(const QLabel& label)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(label.font());
    document.setPlainText(label.text());
    const QRect area = label.contentsRect();
    // A label that does not wrap lays its text out in lines as long as the text makes them.
    document.setTextWidth(label.wordWrap() ? area.width() : -1);
    const QSizeF needed(document.idealWidth(), document.size().height());
    if (needed.width() > area.width() || needed.height() > area.height())
        return QStringLiteral("text of %1×%2 in %3×%4")
            .arg(needed.width())
            .arg(needed.height())
            .arg(area.width())
            .arg(area.height());
    if (!label.parentWidget()->rect().contains(label.geometry()))
        return QStringLiteral("label outside the box");
    return {};
}

} // namespace

// The program's message boxes as an X desktop shows them, in the themes' stylesheet: a long
// text wraps within a readable width and a long path breaks, and the box shows all of it.
// Runs under run-under-xvfb.sh, on Qt's xcb platform.
class PromptLayoutX11Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerEmbeddedFonts();
        qApp->setStyleSheet(loadThemeStyleSheet(QStringLiteral("default")));
    }

    void cleanupTestCase() { qApp->setStyleSheet(QString()); }

    void messageIsShownWhole_data()
    {
        const QString path = QStringLiteral(
            "/home/user/.local/share/Clavitor/Clavitor/scripts/profile_with_a_long_name/"
            "mouse_and_keyboard_combination_for_the_game.lua");
        QTest::addColumn<QString>("text");
        QTest::newRow("path, Russian")
            << QStringLiteral("Не удалось открыть файл сценария \"%1\".").arg(path);
        QTest::newRow("path, English")
            << QStringLiteral("Couldn't open the script file \"%1\".").arg(path);
        QTest::newRow("count, Russian")
            << QStringLiteral("Автозамена завершена. Выполнено замен: 2 в 1 сценариях.");
        QTest::newRow("count, English")
            << QStringLiteral("Auto-replace complete. Applied 2 replacements in 1 scripts.");
        QTest::newRow("short, English")
            << QStringLiteral("Nothing was recorded: no script was saved.");
        QTest::newRow("several lines, Russian")
            << QStringLiteral("Запись остановлена: в ней 100 000 событий, это предел одной "
                              "записи.\nСохранить её в файл сценария и назначить ему горячую "
                              "клавишу можно в следующем окне.");
    }
    void messageIsShownWhole()
    {
        QFETCH(QString, text);
        Shown shown;
        // The box is modal: a timer looks at it once it is on the screen, then closes it.
        QTimer look;
        look.setInterval(20);
        connect(&look, &QTimer::timeout, [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            shown = {true, label ? overflowOf(*label) : QStringLiteral("no label"), box->width(),
                     label ? label->width() : 0};
            box->reject();
        });
        look.start();
        QTimer::singleShot(kTimeoutMs, [] {
            if (QWidget* stuck = QApplication::activeModalWidget())
                stuck->close();
        });
        QtPrompter().ask(Prompt{
            .kind = Prompt::Kind::Warning, .title = QStringLiteral("Clavitor"), .text = text});
        QVERIFY(shown.found);
        QVERIFY2(shown.overflow.isEmpty(), qPrintable(shown.overflow));
        QVERIFY2(shown.labelWidth <= 560, qPrintable(QString::number(shown.labelWidth)));
        QVERIFY(shown.boxWidth <= QGuiApplication::primaryScreen()->availableSize().width());
    }
};

CLAVITOR_TEST(PromptLayoutX11Test);
#include "PromptLayoutX11Test.moc"
