#include "ToolkitTranslator.h"

#include <cstring>

QString ToolkitTranslator::translate(const char* context, const char* sourceText,
                                     const char* disambiguation, int n) const
{
    if (context && std::strcmp(context, "QShortcut") == 0)
        return {};
    return QTranslator::translate(context, sourceText, disambiguation, n);
}
