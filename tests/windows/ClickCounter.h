#pragma once

#include <QProcess>
#include <QProcessEnvironment>

// The left-button presses that Windows programs in a Wine prefix inject, as a low-level mouse
// hook in a second program of that prefix (wine_click_counter.exe) counts them.
class ClickCounter
{
public:
    explicit ClickCounter(const QProcessEnvironment& wine);
    ~ClickCounter();
    ClickCounter(const ClickCounter&) = delete;
    ClickCounter& operator=(const ClickCounter&) = delete;

    // Starts the counter and waits until its hook is in place.
    bool start();
    // The presses counted so far, reading what the counter has reported.
    int presses();

private:
    QProcess m_process;
    int m_presses = 0;
};
