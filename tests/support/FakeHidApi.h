#pragma once

#include "input/HidApi.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

// A HID library with made-up devices: records every feature report with the time it was
// sent, and can refuse a report. With a desktop to act on, the device does what a real one
// does: every change of its buttons reaches that desktop as a physical press or release.
class FakeHidApi : public HidApi
{
public:
    FakeHidApi()
    {
        m_clock.start();
        HidApi::setCurrent(this);
    }
    ~FakeHidApi() override { HidApi::setCurrent(nullptr); }

    struct Report
    {
        QByteArray bytes;
        qint64 sentAtNs;
    };

    std::vector<DeviceInfo> devices;
    QList<Report> reports;
    int failReport = -1; // index of the report to refuse
    platform::SimulatedPlatform* desktop = nullptr;
    int inits = 0, exits = 0, opens = 0, closes = 0, nonblocking = 0;

    int init() override
    {
        ++inits;
        return 0;
    }
    int exit() override
    {
        ++exits;
        return 0;
    }
    std::vector<DeviceInfo> enumerate() override { return devices; }
    Device openPath(const std::string&) override
    {
        ++opens;
        return reinterpret_cast<Device>(&m_device);
    }
    int setNonblocking(Device, int nonblock) override
    {
        nonblocking = nonblock;
        return 0;
    }
    int sendFeatureReport(Device, const unsigned char* data, std::size_t length) override
    {
        if (reports.size() == failReport) {
            failReport = -1;
            return -1;
        }
        reports.append({QByteArray(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(length)),
                        m_clock.nsecsElapsed()});
        if (desktop && length > 2)
            pressChangedButtons(data[2]);
        return static_cast<int>(length);
    }
    void close(Device) override { ++closes; }

    void attachVirtualMouse()
    {
        devices = {{"/dev/keyboard", std::wstring(L"Some Keyboard")},
                   {"/dev/unnamed", std::nullopt},
                   {"/dev/tetherscript", std::wstring(L"Tetherscript Virtual Mouse Rel (HID)")}};
    }

private:
    void pressChangedButtons(unsigned char buttons)
    {
        static constexpr int kButtonKeys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
        const unsigned char changed = buttons ^ m_buttons;
        m_buttons = buttons;
        for (int bit = 0; bit < 3; ++bit) {
            if (changed & (1 << bit))
                desktop->setKeyDown(kButtonKeys[bit], buttons & (1 << bit));
        }
    }

    int m_device = 0;
    unsigned char m_buttons = 0;
    QElapsedTimer m_clock;
};
