#include "LogCapture.h"
#include "TestRegistry.h"

#include "ui/appearance/EmbeddedFonts.h"

#include <QFontDatabase>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

class EmbeddedFontsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyFamilyIsRegisteredAndReported()
    {
        LogCapture capture;
        registerEmbeddedFonts();
        const QString logged = capture.lines.join('\n');

        // Every weight and italic of Rubik comes from the resources. JetBrains Mono may also be
        // installed on the system, with weights of its own.
        QVERIFY2(capture.lines.contains(QString::fromUtf8(
                     "clavitor.fonts: QSS → font-family:\"Rubik\"; "
                     "weights:300,400,500,600,700,800,900; italic:yes")),
                 qPrintable(logged));
        const QRegularExpression mono(QString::fromUtf8(
            "^clavitor\\.fonts: QSS → font-family:\"JetBrains Mono\"; "
            "weights:([0-9]+,)*400(,[0-9]+)*; italic:yes$"));
        QVERIFY2(!capture.lines.filter(mono).isEmpty(), qPrintable(logged));
        QVERIFY2(capture.lines.filter(QString::fromUtf8("шрифт")).isEmpty(), qPrintable(logged));
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("Rubik")));
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("JetBrains Mono")));
    }
};

CLAVITOR_TEST(EmbeddedFontsTest);
#include "EmbeddedFontsTest.moc"
