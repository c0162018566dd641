#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct _XDisplay;

// Watches the input that reaches the X server, whichever client sends it, as another client
// of the server sees it: XInput2 raw events on the root window. It counts the left-button
// presses, and notes every raw button, key and motion event with the server's time.
class ClickRecorder
{
public:
    // One raw event: "press 3", "release 3", "key 38", "key up 38" or "move 10,-4" (the
    // motion's raw values), at the server's time in milliseconds.
    struct Event
    {
        qint64 timeMs;
        QString what;
    };

    ClickRecorder();
    ~ClickRecorder();
    ClickRecorder(const ClickRecorder&) = delete;
    ClickRecorder& operator=(const ClickRecorder&) = delete;

    bool isListening() const { return m_display != nullptr; }
    // The presses seen since the recorder started listening, reading what has arrived.
    int presses();
    // The events that arrived since the last call, oldest first.
    QList<Event> takeEvents();

private:
    void read();

    _XDisplay* m_display = nullptr;
    int m_opcode = 0;
    int m_presses = 0;
    QList<Event> m_events;
};
