#pragma once

#include "input/HidApi.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

// A HID library with made-up devices: records every feature report with the time it was
// sent, and can refuse a report.
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
    int m_device = 0;
    QElapsedTimer m_clock;
};
