#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

// The physical mouse buttons a preview run hears: a few fixed timelines of presses and
// releases the user picks from. Buttons are numbered as the scripts number them (1 left,
// 2 middle, 3 right).
class PreviewTimeline
{
    Q_DECLARE_TR_FUNCTIONS(PreviewTimeline)

public:
    enum class Kind {
        LeftHold,      // left down at 0, up at 2000 ms
        RightThenLeft, // right down at 0, left down at 100 ms, left and then right up at 2100 ms
        LeftClick,     // left down at 0, up at 50 ms
    };

    struct Change
    {
        int atMs;
        int button;
        bool down;

        friend bool operator==(const Change&, const Change&) = default;
    };

    // Every timeline, in the order the user is offered them.
    static QList<Kind> all();
    // The presses and releases, in order of time.
    static QList<Change> changes(Kind kind);
    // The user's name of the timeline, translated.
    static QString title(Kind kind);
    // The timeline's fixed token in a request, and back.
    static QString token(Kind kind);
    static std::optional<Kind> fromToken(const QString& token);
};
