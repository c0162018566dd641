#include "SettingsNormalization.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

QString normalizeTheme(const QString& text)
{
    QString theme = text.trimmed();
    if (theme.startsWith(QLatin1String(":/")))
        theme = theme.mid(theme.lastIndexOf(QLatin1Char('/')) + 1);
    if (theme.endsWith(QLatin1String(".css")))
        theme.chop(4);
    theme = theme.toLower();
    return theme == QLatin1String("light") ? theme : QStringLiteral("default");
}

QString normalizeLanguage(const QString& text)
{
    const QString language = text.trimmed().toLower();
    if (language.isEmpty())
        return {};
    if (language.startsWith(QLatin1String("ru")))
        return QStringLiteral("ru");
    if (language.startsWith(QLatin1String("en")))
        return QStringLiteral("en");
    switch (QLocale(language).language()) {
    case QLocale::English:
        return QStringLiteral("en");
    case QLocale::Russian:
        return QStringLiteral("ru");
    default:
        return {};
    }
}

QString languageFromUiLanguages(const QStringList& uiLanguages)
{
    for (const QString& tag : uiLanguages) {
        if (tag.startsWith(QLatin1String("ru"), Qt::CaseInsensitive))
            return QStringLiteral("ru");
    }
    return QStringLiteral("en");
}

QString systemLanguage()
{
    return languageFromUiLanguages(QLocale::system().uiLanguages());
}

int clampScriptMemoryLimit(int mib)
{
    return std::clamp(mib, 16, 4096);
}

double clampSpeechRate(double rate)
{
    if (std::isnan(rate) || rate < 1.0)
        return 1.0;
    return rate > 2.0 ? 2.0 : rate;
}

namespace {

// The sequence of the text's chords that name a key. The toolkit reads a chord it cannot name
// ("um+5") as an unknown key, which is written back as an empty chord ("Meta+N, ") and read
// the next time as nothing: a hotkey would change from one save to the next.
QKeySequence knownChords(const QString& text, QKeySequence::SequenceFormat format)
{
    const QKeySequence read = QKeySequence::fromString(text, format);
    int chords[4] = {}; // 0 ends the sequence
    int count = 0;
    for (int i = 0; i < read.count(); ++i) {
        if (read[i].key() != Qt::Key_unknown)
            chords[count++] = read[i].toCombined();
    }
    return QKeySequence(chords[0], chords[1], chords[2], chords[3]);
}

} // namespace

QKeySequence storedHotkey(const QString& text)
{
    QKeySequence sequence = knownChords(text, QKeySequence::PortableText);
    if (sequence.isEmpty() && !text.trimmed().isEmpty())
        sequence = knownChords(text, QKeySequence::NativeText);
    return sequence;
}
