#include "SettingsNormalization.h"

#include <QLocale>

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

double clampSpeechRate(double rate)
{
    if (std::isnan(rate) || rate < 1.0)
        return 1.0;
    return rate > 2.0 ? 2.0 : rate;
}

QKeySequence storedHotkey(const QString& text)
{
    QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.isEmpty() && !text.trimmed().isEmpty())
        sequence = QKeySequence::fromString(text, QKeySequence::NativeText);
    return sequence;
}
