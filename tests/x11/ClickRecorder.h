#pragma once

#include <QtGlobal>

struct _XDisplay;

// Counts the left-button presses that reach the X server, whichever client sends them, as
// another client of the server sees them: XInput2 raw events on the root window.
class ClickRecorder
{
public:
    ClickRecorder();
    ~ClickRecorder();
    ClickRecorder(const ClickRecorder&) = delete;
    ClickRecorder& operator=(const ClickRecorder&) = delete;

    bool isListening() const { return m_display != nullptr; }
    // The presses seen since the recorder started listening, reading what has arrived.
    int presses();

private:
    _XDisplay* m_display = nullptr;
    int m_opcode = 0;
    int m_presses = 0;
};
