#pragma once

#include <QColor>
#include <QHash>
#include <QString>

// The colour tokens of a theme, as its stylesheet lists them in its head comment: for widgets
// that paint themselves (the code editor, plots) in the colours the stylesheet gives the rest.
class ThemeTokens
{
public:
    // The tokens of a theme id (any spelling normalizeTheme accepts).
    explicit ThemeTokens(const QString& themeId);
    // The tokens of the theme in use now (IconManager's). Each theme's stylesheet is read once:
    // painters ask at every paint.
    static const ThemeTokens& current();

    // The colour of a token; `fallback` when the theme has no such token or it is no colour.
    QColor colour(const QString& name, const QColor& fallback = Qt::magenta) const;

private:
    QHash<QString, QString> m_values;
};
