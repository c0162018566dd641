#pragma once

// Helpers of the autoclicker tests: records in words, the overlay's view of the page, and
// the autoclicker file as the tests see it.

#include "autoclicker/AutoclickerFile.h"
#include "overlay/OverlayFeed.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QFile>
#include <QStringList>

// "move 3 0", "left down", "right up", "key 0x41 down", ...
inline QString describe(const INPUT& record)
{
    if (record.type == INPUT_KEYBOARD) {
        return QStringLiteral("key 0x%1 %2")
            .arg(record.ki.wVk, 2, 16, QLatin1Char('0'))
            .arg(record.ki.dwFlags & KEYEVENTF_KEYUP ? "up" : "down");
    }
    const DWORD flags = record.mi.dwFlags;
    if (flags & MOUSEEVENTF_MOVE)
        return QStringLiteral("move %1 %2").arg(record.mi.dx).arg(record.mi.dy);
    static const std::pair<DWORD, const char*> kButtons[] = {
        {MOUSEEVENTF_LEFTDOWN, "left down"},     {MOUSEEVENTF_LEFTUP, "left up"},
        {MOUSEEVENTF_RIGHTDOWN, "right down"},   {MOUSEEVENTF_RIGHTUP, "right up"},
        {MOUSEEVENTF_MIDDLEDOWN, "middle down"}, {MOUSEEVENTF_MIDDLEUP, "middle up"}};
    for (const auto& [flag, name] : kButtons) {
        if (flags & flag)
            return QLatin1String(name);
    }
    return QStringLiteral("flags 0x%1").arg(flags, 0, 16);
}

inline QStringList describe(const std::vector<INPUT>& records)
{
    QStringList words;
    for (const INPUT& record : records)
        words << describe(record);
    return words;
}

// What the overlay was last told of the autoclicker.
class RecordingOverlay : public OverlayFeed
{
public:
    RecordingOverlay() { OverlayFeed::setCurrent(this); }
    ~RecordingOverlay() override { OverlayFeed::setCurrent(nullptr); }

    void setScenarios(const QString&, const QList<OverlayScenarioEntry>&) override {}
    void setActiveScenario(const QString&) override {}
    void setDisableHotkey(const QString&) override {}
    void setRecording(const QString&) override {}
    void setNotice(const QString&) override {}
    void setAutoclickerState(const QString& name, AutoclickerActivity activity) override
    {
        const char* const words[] = {"off", "on", "clicking"};
        state = QStringLiteral("%1 %2").arg(name, words[static_cast<int>(activity)]);
    }
    void setAutoclickerHotkeys(const QString& toggleText, const QString& modeText) override
    {
        hotkeys = toggleText + QStringLiteral(" / ") + modeText;
    }

    QString state;
    QString hotkeys;
};

inline void writeAutoclickerFile(const QByteArray& bytes)
{
    QFile file(AutoclickerFile::path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the autoclicker file");
}
