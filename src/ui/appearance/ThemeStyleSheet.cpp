#include "ThemeStyleSheet.h"

#include "core/SettingsNormalization.h"

#include <QFile>

namespace {

QString readStyleSheet(const QString& theme)
{
    QFile file(QStringLiteral(":/css/%1.css").arg(theme));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString loadThemeStyleSheet(const QString& themeId)
{
    const QString theme = normalizeTheme(themeId);
    QString styleSheet = readStyleSheet(theme);
    if (styleSheet.isEmpty() && theme != QLatin1String("default"))
        styleSheet = readStyleSheet(QStringLiteral("default"));
    return styleSheet;
}
