#pragma once

#include <QList>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>

// The mouse input that Windows programs in a Wine prefix inject, as a low-level mouse hook in a
// second program of that prefix (wine_input_watcher.exe) sees it: left-button presses, and moves
// with the cursor position each one leads to.
class InjectedInputWatcher
{
public:
    explicit InjectedInputWatcher(const QProcessEnvironment& wine);
    ~InjectedInputWatcher();
    InjectedInputWatcher(const InjectedInputWatcher&) = delete;
    InjectedInputWatcher& operator=(const InjectedInputWatcher&) = delete;

    // Starts the watcher and waits until its hook is in place.
    bool start();
    // The presses seen so far.
    int presses();
    // The cursor positions the moves seen so far led to, in their order.
    QList<QPoint> moves();

private:
    void readReports();

    QProcess m_process;
    int m_presses = 0;
    QList<QPoint> m_moves;
};
