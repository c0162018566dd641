#pragma once

#include <QString>

// The stylesheet of a theme ("default" or "light", in any spelling normalizeTheme accepts) from
// the resources. A theme whose stylesheet cannot be read falls back to the default one; the
// result is empty only when that cannot be read either.
QString loadThemeStyleSheet(const QString& themeId);
