#include "LuaCompletion.h"

#include "engine/LuaApi.h"

#include <Qsci/qsciapis.h>

#include <QHash>

QStringList LuaCompletion::entries()
{
    const QList<LuaApi::Function> functions = LuaApi::functions();
    QHash<QString, QString> arguments;
    for (const LuaApi::Function& function : functions)
        if (function.aliasOf.isEmpty())
            arguments.insert(function.name, function.arguments);
    QStringList entries;
    for (const LuaApi::Function& function : functions)
        entries.append(function.name +
                       arguments.value(function.aliasOf.isEmpty() ? function.name
                                                                  : function.aliasOf));
    entries.append(LuaApi::events());
    return entries;
}

void LuaCompletion::attach(QsciLexer* lexer)
{
    auto* apis = new QsciAPIs(lexer);
    for (const QString& entry : entries())
        apis->add(entry);
    apis->prepare();
}
