#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct hid_device_;

// The few hidapi calls the virtual mouse needs, behind an interface so that tests can attach
// a fake device and read the exact reports sent. The current instance is the real library
// unless a test installs another one.
class HidApi
{
public:
    using Device = hid_device_*;

    struct DeviceInfo
    {
        std::string path;
        std::optional<std::wstring> product; // none when the device reports no product string
    };

    virtual ~HidApi() = default;

    virtual int init() = 0;                                     // hid_init
    virtual int exit() = 0;                                     // hid_exit
    // hid_enumerate of every device, copied out, then hid_free_enumeration.
    virtual std::vector<DeviceInfo> enumerate() = 0;
    virtual Device openPath(const std::string& path) = 0;       // hid_open_path
    virtual int setNonblocking(Device device, int nonblock) = 0; // hid_set_nonblocking
    virtual int sendFeatureReport(Device device, const unsigned char* data,
                                  std::size_t length) = 0; // hid_send_feature_report
    virtual void close(Device device) = 0;                 // hid_close

    static HidApi& current();
    // Installs an implementation the caller keeps alive; nullptr returns to the library.
    static void setCurrent(HidApi* api);
};
