#pragma once

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// Checks a scenario's text without running it: compiles it in a throw-away Lua state for its
// syntax error, and lists the globals it reads that nothing gives it: names neither assigned
// anywhere in the text nor offered by the API or the safe library (a mistyped
// "MoveMouseRelativ").
class LuaCodeCheck
{
public:
    struct SyntaxError
    {
        int line = 0; // 1-based
        QString message;
    };
    struct UnknownName
    {
        int line = 0; // 1-based
        QString name;
    };
    struct Result
    {
        std::optional<SyntaxError> error;
        QList<UnknownName> unknownNames; // one per line and name, in the order of the text
    };

    static Result check(const QString& text);
    // The globals a scenario state starts with: the API's functions and the safe library.
    static const QSet<QString>& knownGlobals();
};
