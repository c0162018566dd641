#pragma once

#include "profiles/AutoReplaceRule.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Rewrites the text of a Lua script with the rules of an auto-replace table, in table order.
// Each rule runs two passes:
// - the parameter pass (rules with a parameter P and an old value F): every assignment
//   "P = F" whose P stands alone (no letter or digit on either side) and whose F is not the
//   start of a longer value gets the new value; the white space around "=" is kept;
// - the literal pass: every remaining occurrence of the search text ("P=F", or F alone without
//   a parameter) becomes the replacement text ("P=T", or T), with no word boundaries.
// Both passes of a rule search the text as it stood before that rule, so nothing a rule wrote is
// replaced again by the same rule; the next rule sees the text the previous one left.
// The text is taken as UTF-8 bytes and only the replaced values change: every other byte,
// line endings and bytes that are not valid UTF-8 included, stays as it was. An invalid byte
// counts as one character that is neither a letter, a digit nor white space.
class AutoReplacer
{
public:
    explicit AutoReplacer(const QList<AutoReplaceRule>& rules);

    // Applies every rule to the text; returns the number of replacements. When `perRule` is
    // given, each rule's replacements are added to its entry (the list is sized to the rules).
    qsizetype apply(QByteArray& text, QList<qsizetype>* perRule = nullptr) const;

    // The text a rule looks for: the trimmed parameter, "=" and the old value, or the old value
    // alone when the parameter is empty. A rule whose search text is blank does nothing.
    static QString searchText(const AutoReplaceRule& rule);

private:
    struct CompiledRule
    {
        QByteArray parameter;       // P, trimmed
        QByteArray from;            // F, trimmed
        QByteArray to;              // T, trimmed
        QByteArray search;          // S
        QByteArray replacement;     // R
        bool active = false;        // S is not blank
        bool parameterPass = false; // P and F are not empty
    };

    // An assignment "P = F" that the parameter pass rewrites: P starts at `parameterStart`, the
    // value F spans [valueStart, valueEnd).
    struct Assignment
    {
        qsizetype parameterStart;
        qsizetype valueStart;
        qsizetype valueEnd;
    };

    static qsizetype applyRule(QByteArray& text, const CompiledRule& rule);
    static QList<Assignment> findAssignments(const QByteArray& text, const CompiledRule& rule);

    QList<CompiledRule> m_rules;
};
