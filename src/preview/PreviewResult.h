#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

// What a preview run did: the input it sent with the virtual time of each record, the
// script's log lines, how long it took in virtual time and how it ended. Travels back from
// the preview process as one JSON object; the texts for the user are made on this side, in
// the user's language.
struct PreviewResult
{
    Q_DECLARE_TR_FUNCTIONS(PreviewResult)

public:
    enum class End {
        Finished,    // every event was delivered
        ScriptError, // the chunk did not load or failed: errorText says why
        VirtualTime, // more than the bound of virtual time
        Calls,       // more API calls than the bound
        Spinning,    // Lua code ran without an API call for too long in real time
        RealTime,    // the whole run took too long in real time
        Memory,      // the script reached the memory bound
        NoAnswer,    // the preview process did not answer in time and was ended
        Failed,      // the preview process failed: errorText says how
    };

    struct Record
    {
        enum class Kind { Move, Jump, ButtonDown, ButtonUp, KeyDown, KeyUp };
        qint64 atUs = 0;
        Kind kind = Kind::Move;
        // Move: dx, dy as sent; Jump: the pixel jumped to; buttons: the button (1 left, 2
        // middle, 3 right, 4, 5 the side buttons) and 0; keys: the scan code or the UTF-16
        // unit typed, and 1 for a unit, 0 for a scan code.
        int a = 0;
        int b = 0;

        friend bool operator==(const Record&, const Record&) = default;
    };

    struct LogLine
    {
        qint64 atUs = 0;
        bool error = false; // an error inside OnEvent, not the script's own line
        QString text;
    };

    End end = End::Finished;
    QString errorText;
    qint64 durationUs = 0;
    QPoint start;
    QList<Record> records;
    qint64 droppedRecords = 0; // sent beyond the records kept
    QList<LogLine> log;
    qint64 droppedLogLines = 0;

    // How the run ended, in the user's words; empty when it finished.
    QString message() const;

    QByteArray toJson() const;
    // Nothing when the bytes are not such an object.
    static std::optional<PreviewResult> fromJson(const QByteArray& json);
};
