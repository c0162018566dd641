#pragma once

#include <QScrollArea>

// A scroll area that scrolls its content up and down only: it asks for the room the content
// wants (a plain scroll area caps its wish at a few hundred pixels), is never narrower than
// the content and a vertical scroll bar beside it, and shrinks in height down to a few lines,
// scrolling what no longer fits. A page of it leaves the window the height the user gave it.
class VerticalScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit VerticalScrollArea(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};
