#include "ScenarioLexer.h"

#include "engine/LuaApi.h"
#include "ui/appearance/ThemeTokens.h"

namespace {

// The keyword set QsciLexerLua leaves to its user, styled KeywordSet5.
constexpr int kApiSet = 5;

} // namespace

ScenarioLexer::ScenarioLexer(QObject* parent) : QsciLexerLua(parent)
{
    QStringList names;
    for (const LuaApi::Function& function : LuaApi::functions())
        names.append(function.name);
    m_apiNames = names.join(QLatin1Char(' ')).toLatin1();
}

const char* ScenarioLexer::keywords(int set) const
{
    return set == kApiSet ? m_apiNames.constData() : QsciLexerLua::keywords(set);
}

void ScenarioLexer::applyTheme(const ThemeTokens& tokens, const QFont& font)
{
    const QColor text = tokens.colour(QStringLiteral("foreground"));
    const QColor paper = tokens.colour(QStringLiteral("background"));
    setDefaultColor(text);
    setDefaultPaper(paper);
    setDefaultFont(font);
    setFont(font, -1);
    setPaper(paper, -1);
    setColor(text, -1);
    const auto colour = [&](const char* token, std::initializer_list<int> styles) {
        const QColor c = tokens.colour(QLatin1String(token));
        for (const int style : styles)
            setColor(c, style);
    };
    colour("code-comment", {Comment, LineComment});
    colour("code-number", {Number});
    colour("code-keyword", {Keyword});
    colour("code-string", {String, Character, LiteralString});
    colour("error", {UnclosedString});
    colour("code-function", {BasicFunctions, StringTableMathsFunctions,
                             CoroutinesIOSystemFacilities, KeywordSet5});
    // An unclosed string keeps the paper of the rest: Lua's lexer would fill its line.
    setEolFill(false, UnclosedString);
}
