#include "AutoReplacer.h"

#include <QChar>

#include <cstring>
#include <iterator>
#include <string_view>

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

struct CodePoint
{
    char32_t value;
    qsizetype length; // bytes taken
};

std::string_view viewOf(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

// The next occurrence of `needle` at or after `from`, or -1. (The standard library's search
// skips to candidates of the first byte with its fastest scan.)
qsizetype find(const QByteArray& text, const QByteArray& needle, qsizetype from)
{
    const size_t at = viewOf(text).find(viewOf(needle), static_cast<size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<qsizetype>(at);
}

bool isContinuationByte(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The UTF-8 character at `pos` (< size). A byte that does not start a valid, shortest-form
// sequence is one U+FFFD, as a UTF-8 decoder would show it.
CodePoint codePointAt(const char* data, qsizetype size, qsizetype pos)
{
    const auto byte = [&](qsizetype i) {
        return static_cast<unsigned char>(data[pos + i]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    qsizetype length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return {kReplacementCharacter, 1};
    }
    if (size - pos < length)
        return {kReplacementCharacter, 1};
    for (qsizetype i = 1; i < length; ++i) {
        if (!isContinuationByte(byte(i)))
            return {kReplacementCharacter, 1};
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {kReplacementCharacter, 1};
    return {value, length};
}

// The character that ends right before `pos` (> 0).
char32_t codePointBefore(const char* data, qsizetype size, qsizetype pos)
{
    qsizetype start = pos - 1;
    while (start > 0 && pos - start < 4 &&
           isContinuationByte(static_cast<unsigned char>(data[start])))
        --start;
    const CodePoint found = codePointAt(data, size, start);
    return start + found.length == pos ? found.value : kReplacementCharacter;
}

bool isLetterOrDigit(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return QChar::isLetterOrNumber(c);
}

// Whether a value goes on with this character: "1.5" is not the value of "1.55", "1.5e3",
// "1.5_x", "1.5-2" or "1.5.1".
bool continuesValue(char32_t c)
{
    return isLetterOrDigit(c) || c == '_' || c == '-' || c == '.';
}

qsizetype skipWhiteSpace(const char* data, qsizetype size, qsizetype pos)
{
    while (pos < size) {
        const CodePoint c = codePointAt(data, size, pos);
        if (!QChar::isSpace(c.value))
            break;
        pos += c.length;
    }
    return pos;
}

// Builds the rewritten text piece by piece, copying only once the first change is made.
class TextBuilder
{
public:
    explicit TextBuilder(const QByteArray& source) : m_source(source) {}

    // Replaces source bytes [from, to) by `replacement`.
    void replace(qsizetype from, qsizetype to, const QByteArray& replacement)
    {
        if (m_result.isEmpty())
            m_result.reserve(m_source.size() + m_source.size() / 8);
        m_result.append(m_source.constData() + m_copied, from - m_copied);
        m_result.append(replacement);
        m_copied = to;
    }

    // Puts the result into `text` when anything was replaced.
    void finishInto(QByteArray& text, qsizetype replacements)
    {
        if (replacements == 0)
            return;
        m_result.append(m_source.constData() + m_copied, m_source.size() - m_copied);
        text = std::move(m_result);
    }

private:
    const QByteArray& m_source;
    QByteArray m_result;
    qsizetype m_copied = 0;
};

} // namespace

AutoReplacer::AutoReplacer(const QList<AutoReplaceRule>& rules)
{
    m_rules.reserve(rules.size());
    for (const AutoReplaceRule& rule : rules) {
        CompiledRule compiled;
        const QString parameter = rule.parameter.trimmed();
        compiled.parameter = parameter.toUtf8();
        compiled.from = rule.fromValue.trimmed().toUtf8();
        compiled.to = rule.toValue.trimmed().toUtf8();
        const QString search = searchText(rule);
        compiled.search = search.toUtf8();
        compiled.replacement =
            (parameter.isEmpty() ? rule.toValue : parameter + QLatin1Char('=') + rule.toValue)
                .toUtf8();
        compiled.active = !search.trimmed().isEmpty();
        compiled.parameterPass = !compiled.parameter.isEmpty() && !compiled.from.isEmpty();
        m_rules.append(std::move(compiled));
    }
}

QString AutoReplacer::searchText(const AutoReplaceRule& rule)
{
    const QString parameter = rule.parameter.trimmed();
    return parameter.isEmpty() ? rule.fromValue : parameter + QLatin1Char('=') + rule.fromValue;
}

qsizetype AutoReplacer::apply(QByteArray& text, QList<qsizetype>* perRule) const
{
    if (perRule)
        perRule->resize(m_rules.size());
    qsizetype total = 0;
    for (qsizetype i = 0; i < m_rules.size(); ++i) {
        const CompiledRule& rule = m_rules.at(i);
        if (!rule.active)
            continue;
        const qsizetype count = applyRule(text, rule);
        if (perRule)
            (*perRule)[i] += count;
        total += count;
    }
    return total;
}

// Both passes look at the text as it was before the rule: an assignment the parameter pass
// rewrites is not searched again by the literal pass ("sens=1" with 1 -> 1.2 gives "sens=1.2",
// not "sens=1.2.2"), so a second run with the values swapped restores the original bytes.
qsizetype AutoReplacer::applyRule(QByteArray& text, const CompiledRule& rule)
{
    const QList<Assignment> assignments =
        rule.parameterPass ? findAssignments(text, rule) : QList<Assignment>();
    TextBuilder builder(text);
    qsizetype count = 0;
    qsizetype at = 0;
    auto next = assignments.cbegin();
    const auto rewriteAssignmentsBefore = [&](qsizetype end) {
        for (; next != assignments.cend() && next->parameterStart < end; ++next) {
            builder.replace(next->valueStart, next->valueEnd, rule.to);
            ++count;
        }
    };
    while ((at = find(text, rule.search, at)) >= 0) {
        const qsizetype end = at + rule.search.size();
        rewriteAssignmentsBefore(end);
        // An occurrence that overlaps an assignment just rewritten is left alone.
        if (next != assignments.cbegin() && std::prev(next)->valueEnd > at) {
            at = std::prev(next)->valueEnd;
            continue;
        }
        builder.replace(at, end, rule.replacement);
        ++count;
        at = end;
    }
    rewriteAssignmentsBefore(text.size() + 1);
    builder.finishInto(text, count);
    return count;
}

QList<AutoReplacer::Assignment> AutoReplacer::findAssignments(const QByteArray& text,
                                                              const CompiledRule& rule)
{
    const char* data = text.constData();
    const qsizetype size = text.size();
    QList<Assignment> found;
    qsizetype from = 0;
    qsizetype start = 0;
    while ((start = find(text, rule.parameter, from)) >= 0) {
        const qsizetype parameterEnd = start + rule.parameter.size();
        from = parameterEnd;
        if (start > 0 && isLetterOrDigit(codePointBefore(data, size, start)))
            continue;
        if (parameterEnd >= size || isLetterOrDigit(codePointAt(data, size, parameterEnd).value))
            continue;
        qsizetype pos = skipWhiteSpace(data, size, parameterEnd);
        if (pos >= size || data[pos] != '=')
            continue;
        pos = skipWhiteSpace(data, size, pos + 1);
        const qsizetype valueEnd = pos + rule.from.size();
        if (valueEnd > size ||
            std::memcmp(data + pos, rule.from.constData(), rule.from.size()) != 0)
            continue;
        if (valueEnd < size && continuesValue(codePointAt(data, size, valueEnd).value))
            continue;
        found.append({start, pos, valueEnd});
        from = valueEnd;
    }
    return found;
}
