#include "SystemHidApi.h"

#include <hidapi/hidapi.h>

namespace {
HidApi* g_installed = nullptr;
} // namespace

HidApi& HidApi::current()
{
    static SystemHidApi library;
    return g_installed ? *g_installed : library;
}

void HidApi::setCurrent(HidApi* api)
{
    g_installed = api;
}

int SystemHidApi::init()
{
    return hid_init();
}

int SystemHidApi::exit()
{
    return hid_exit();
}

std::vector<HidApi::DeviceInfo> SystemHidApi::enumerate()
{
    std::vector<DeviceInfo> devices;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        DeviceInfo device;
        device.path = info->path ? info->path : "";
        if (info->product_string)
            device.product = std::wstring(info->product_string);
        devices.push_back(std::move(device));
    }
    hid_free_enumeration(list);
    return devices;
}

HidApi::Device SystemHidApi::openPath(const std::string& path)
{
    return hid_open_path(path.c_str());
}

int SystemHidApi::setNonblocking(Device device, int nonblock)
{
    return hid_set_nonblocking(device, nonblock);
}

int SystemHidApi::sendFeatureReport(Device device, const unsigned char* data, std::size_t length)
{
    return hid_send_feature_report(device, data, length);
}

void SystemHidApi::close(Device device)
{
    hid_close(device);
}
