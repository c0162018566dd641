#pragma once

#include <QStringList>

class QsciLexer;

// What the editor completes and shows call tips for: the API's functions and their aliases,
// each with its arguments ("MoveMouseRelative(dx, dy)"; an alias with the arguments of its
// function), and the event names.
class LuaCompletion
{
public:
    static QStringList entries();
    // Gives the lexer an API list with the entries (owned by the lexer).
    static void attach(QsciLexer* lexer);
};
