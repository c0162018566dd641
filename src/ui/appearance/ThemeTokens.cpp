#include "ThemeTokens.h"

#include "IconManager.h"
#include "ThemeStyleSheet.h"

#include <QRegularExpression>

#include <map>

namespace {

// "rgb(1, 2, 3)" and "rgba(1, 2, 3, 40)" as the tokens write them; QColor reads the rest
// (names, "#rrggbb").
QColor parseColour(const QString& value)
{
    static const QRegularExpression rgb(
        QStringLiteral(R"(^rgba?\(\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*(?:,\s*(\d+)\s*)?\)$)"));
    const QRegularExpressionMatch match = rgb.match(value);
    if (!match.hasMatch())
        return QColor::fromString(value);
    const int alpha = match.captured(4).isEmpty() ? 255 : match.captured(4).toInt();
    return QColor(match.captured(1).toInt(), match.captured(2).toInt(),
                  match.captured(3).toInt(), alpha);
}

} // namespace

ThemeTokens::ThemeTokens(const QString& themeId)
{
    // The stylesheet opens with "/* Colour tokens of ...", one "name: value" a line, "*/".
    const QString styleSheet = loadThemeStyleSheet(themeId);
    const qsizetype end = styleSheet.indexOf(QLatin1String("*/"));
    static const QRegularExpression line(QStringLiteral(R"(^\s+([a-z-]+):\s*(.+?)\s*$)"),
                                         QRegularExpression::MultilineOption);
    auto matches = line.globalMatch(styleSheet.left(end < 0 ? 0 : end));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        m_values.insert(match.captured(1), match.captured(2));
    }
}

const ThemeTokens& ThemeTokens::current()
{
    // The stylesheets are resources of the program: a theme's tokens never change. GUI thread.
    static std::map<QString, ThemeTokens> themes;
    const QString theme = IconManager::instance().theme();
    auto found = themes.find(theme);
    if (found == themes.end())
        found = themes.emplace(theme, ThemeTokens(theme)).first;
    return found->second;
}

QColor ThemeTokens::colour(const QString& name, const QColor& fallback) const
{
    const auto found = m_values.constFind(name);
    if (found == m_values.constEnd())
        return fallback;
    const QColor colour = parseColour(*found);
    return colour.isValid() ? colour : fallback;
}
