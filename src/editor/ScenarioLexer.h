#pragma once

#include <Qsci/qscilexerlua.h>

#include <QByteArray>

class ThemeTokens;

// Lua highlighting for scenarios: Lua's own keywords and libraries, the API's functions as
// one more keyword set, in the colours of a theme and the editor's monospaced font.
class ScenarioLexer : public QsciLexerLua
{
    Q_OBJECT

public:
    explicit ScenarioLexer(QObject* parent = nullptr);

    const char* keywords(int set) const override;
    // Colours every style from the theme's tokens and gives them the font.
    void applyTheme(const ThemeTokens& tokens, const QFont& font);

private:
    QByteArray m_apiNames; // the API's function names, space separated
};
