#pragma once

#include <QString>

class QFontMetrics;
class QMessageBox;

// Lays a message box's text out whole, however long it is: its lines wrap at word boundaries
// up to a readable width (narrower on a narrow screen), a word too long for a line (a path)
// breaks after its separators or, failing that, anywhere, and the box is as wide as the text
// needs within that width. The toolkit alone measures the text against a stylesheet's minimum
// width of the label instead, and cuts off what does not fit.
class MessageBoxFitter
{
public:
    // The widest a line of text grows before it wraps.
    static constexpr int kMaximumTextWidth = 560;

    // Call once the box has its text and buttons, before it is shown.
    static void fit(QMessageBox& box);

    // The text with a break opportunity (a zero-width space) after each separator of a word
    // wider than `width`, and between the characters of what is still too wide.
    static QString breakable(const QString& text, const QFontMetrics& metrics, int width);
};
