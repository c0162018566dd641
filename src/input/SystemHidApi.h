#pragma once

#include "HidApi.h"

// The hidapi library itself.
class SystemHidApi : public HidApi
{
public:
    int init() override;
    int exit() override;
    std::vector<DeviceInfo> enumerate() override;
    Device openPath(const std::string& path) override;
    int setNonblocking(Device device, int nonblock) override;
    int sendFeatureReport(Device device, const unsigned char* data, std::size_t length) override;
    void close(Device device) override;
};
