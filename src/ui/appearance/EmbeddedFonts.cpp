#include "EmbeddedFonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QLoggingCategory>
#include <QMap>
#include <QStringList>

#include <set>

Q_LOGGING_CATEGORY(lcFonts, "clavitor.fonts")

namespace {

struct FamilyStyles
{
    std::set<int> weights;
    bool italic = false;
};

QString joinedWeights(const std::set<int>& weights)
{
    QStringList texts;
    for (const int weight : weights)
        texts << QString::number(weight);
    return texts.join(QLatin1Char(','));
}

} // namespace

void registerEmbeddedFonts()
{
    QMap<QString, FamilyStyles> families;
    const QStringList files =
        QDir(QStringLiteral(":/fonts"))
            .entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files,
                       QDir::Unsorted);
    for (const QString& fileName : files) {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/") + fileName);
        if (id < 0) {
            qCWarning(lcFonts).noquote() << "не удалось загрузить шрифт:" << fileName;
            continue;
        }
        for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
            FamilyStyles& styles = families[family];
            for (const QString& style : QFontDatabase::styles(family)) {
                styles.weights.insert(QFontDatabase::weight(family, style));
                styles.italic = styles.italic || QFontDatabase::italic(family, style);
            }
        }
    }
    for (auto it = families.cbegin(); it != families.cend(); ++it) {
        qCInfo(lcFonts).noquote() << QStringLiteral("QSS → font-family:\"%1\"; weights:%2; italic:%3")
                                         .arg(it.key(), joinedWeights(it->weights),
                                              it->italic ? QStringLiteral("yes")
                                                         : QStringLiteral("no"));
    }
}
