#pragma once

#include "PreviewResult.h"
#include "platform/simulated/VirtualClockPlatform.h"

#include <QtGlobal>

// Collects the script's own log lines (category "clavitor.script") of a preview run, with
// the virtual time at which each was written, while it lives; they go nowhere else. Every
// other message goes on to the handler that was installed before. Lines beyond the limit
// are only counted. One capture at a time (the GUI thread's run).
class PreviewLogCapture
{
public:
    static constexpr int kLineLimit = 10'000;

    PreviewLogCapture(PreviewResult& result, const platform::VirtualClockPlatform& clock);
    ~PreviewLogCapture();
    PreviewLogCapture(const PreviewLogCapture&) = delete;
    PreviewLogCapture& operator=(const PreviewLogCapture&) = delete;

    // Adds a line of the run's own (an error inside OnEvent).
    void addError(const QString& text);

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    void add(const QString& text, bool error);

    PreviewResult& m_result;
    const platform::VirtualClockPlatform& m_clock;
    QtMessageHandler m_previous;
};
