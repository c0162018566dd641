#pragma once

#include <QTranslator>

// The toolkit's own texts in the interface language, except the names of keys: hotkeys are
// stored, shown and turned into system hotkeys by their key names ("Space", "Media Play"),
// which must therefore stay the same in every language.
class ToolkitTranslator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
};
