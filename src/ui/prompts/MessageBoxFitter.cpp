#include "MessageBoxFitter.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>

namespace {

constexpr QChar kBreak(0x200B); // zero-width space

// Room the box keeps beside its text on a narrow screen: icon, margins and frame.
constexpr int kRoomBesideText = 160;

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\' || c == u'_' || c == u'-' || c == u'.';
}

// The piece with a break opportunity between any two characters, pairs of surrogates kept.
QString breakAnywhere(const QString& piece)
{
    QString result;
    for (qsizetype i = 0; i < piece.size(); ++i) {
        if (i > 0 && !piece.at(i).isLowSurrogate())
            result += kBreak;
        result += piece.at(i);
    }
    return result;
}

QString breakWord(const QString& word, const QFontMetrics& metrics, int width)
{
    const auto fitted = [&](const QString& piece) {
        return metrics.horizontalAdvance(piece) > width ? breakAnywhere(piece) : piece;
    };
    QString result;
    QString piece;
    for (const QChar c : word) {
        piece += c;
        if (isSeparator(c)) {
            result += fitted(piece) + kBreak;
            piece.clear();
        }
    }
    return result + fitted(piece);
}

} // namespace

QString MessageBoxFitter::breakable(const QString& text, const QFontMetrics& metrics, int width)
{
    static const QRegularExpression word(QStringLiteral("\\S+"));
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : word.globalMatch(text)) {
        result += text.mid(done, match.capturedStart() - done);
        const QString found = match.captured();
        result +=
            metrics.horizontalAdvance(found) > width ? breakWord(found, metrics, width) : found;
        done = match.capturedEnd();
    }
    return result + text.mid(done);
}

void MessageBoxFitter::fit(QMessageBox& box)
{
    // From here on the label has the stylesheet's font and minimum width.
    box.ensurePolished();
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    int limit = kMaximumTextWidth;
    if (const QScreen* screen = box.screen())
        limit = std::min(limit, screen->availableGeometry().width() - kRoomBesideText);
    limit = std::max(limit, 1);

    box.setText(breakable(box.text(), label->fontMetrics(), limit));
    label->setWordWrap(false);
    const int natural = label->sizeHint().width();
    // The box takes its width from the label's minimum width, and wraps the text once the
    // box grows wider than about 500 px: a label as wide as the text needs, up to the limit.
    label->setMinimumWidth(std::min(std::max(natural, label->minimumWidth()), limit));
}
