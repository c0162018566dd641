#include "TestRegistry.h"

#include "ui/appearance/EmbeddedFonts.h"

#include <QFontDatabase>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

namespace {

QStringList logged;

void recordMessage(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category) == "clavitor.fonts")
        logged << message;
}

} // namespace

class EmbeddedFontsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyFamilyIsRegisteredAndReported()
    {
        logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        registerEmbeddedFonts();
        qInstallMessageHandler(previous);

        // Every weight and italic of Rubik comes from the resources. JetBrains Mono may also be
        // installed on the system, with weights of its own.
        QVERIFY2(logged.contains(QString::fromUtf8(
                     "QSS → font-family:\"Rubik\"; weights:300,400,500,600,700,800,900; italic:yes")),
                 qPrintable(logged.join('\n')));
        const QRegularExpression mono(QString::fromUtf8(
            "^QSS → font-family:\"JetBrains Mono\"; weights:([0-9]+,)*400(,[0-9]+)*; italic:yes$"));
        QVERIFY2(!logged.filter(mono).isEmpty(), qPrintable(logged.join('\n')));
        QVERIFY(logged.filter(QStringLiteral("шрифт")).isEmpty());
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("Rubik")));
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("JetBrains Mono")));
    }
};

CLAVITOR_TEST(EmbeddedFontsTest);
#include "EmbeddedFontsTest.moc"
