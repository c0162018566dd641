#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct CatalogueEntry
{
    QString context;
    QString source;
    bool finished = false;
};

// The messages of a .ts file; a message is finished when its translation has text and is
// not marked unfinished, vanished or obsolete.
QList<CatalogueEntry> readCatalogue(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<CatalogueEntry> entries;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            CatalogueEntry entry{context};
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    entry.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    const bool marked = xml.attributes().hasAttribute(QLatin1String("type"));
                    const QString text =
                        xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    entry.finished = !marked && !text.trimmed().isEmpty();
                } else {
                    xml.skipCurrentElement();
                }
            }
            entries << entry;
        }
    }
    return entries;
}

QString lupdatePath()
{
    return QStandardPaths::findExecutable(
        QStringLiteral("lupdate"), {QLibraryInfo::path(QLibraryInfo::BinariesPath)});
}

} // namespace

// Runs lupdate over the sources into a copy of the committed English catalogue: every text
// the program passes through tr() must come out with a finished translation.
class TranslationCatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextHasAFinishedEnglishTranslation()
    {
        const QDir root(QStringLiteral(CLAVITOR_SOURCE_DIR));
        const QString sources = root.filePath(QStringLiteral("src"));
        const QString catalogue = root.filePath(QStringLiteral("resources/i18n/clavitor_en.ts"));
        QVERIFY2(QFileInfo::exists(catalogue), qPrintable(catalogue));
        const QString lupdate = lupdatePath();
        QVERIFY2(!lupdate.isEmpty(), "lupdate not found");

        QTemporaryDir work;
        const QString refreshed = work.filePath(QStringLiteral("clavitor_en.ts"));
        QVERIFY(QFile::copy(catalogue, refreshed));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(lupdate, {"-silent", "-locations", "none", "-no-obsolete", sources, "-ts",
                                refreshed});
        QVERIFY(process.waitForFinished(-1));
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 process.readAll().constData());

        const QList<CatalogueEntry> entries = readCatalogue(refreshed);
        // lupdate really read the sources: the start-up's own text is among the results.
        QVERIFY(std::any_of(entries.cbegin(), entries.cend(), [](const CatalogueEntry& e) {
            return e.context == QLatin1String("Startup") &&
                   e.source == QString::fromUtf8("Не удалось загрузить стили интерфейса.");
        }));
        int missing = 0;
        for (const CatalogueEntry& entry : entries) {
            if (!entry.finished) {
                qWarning().noquote() << "no finished English translation:" << entry.context
                                     << "|" << entry.source;
                ++missing;
            }
        }
        QVERIFY2(missing == 0,
                 qPrintable(QStringLiteral("%1 texts have no finished translation in %2; run the "
                                           "update_translations target and translate them there")
                                .arg(missing)
                                .arg(catalogue)));
    }
};

CLAVITOR_TEST(TranslationCatalogueTest);
#include "TranslationCatalogueTest.moc"
