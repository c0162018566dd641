#pragma once

#include "HidApi.h"
#include "platform/WinApi.h"

#include <QElapsedTimer>

// The Tetherscript virtual HID mouse: mouse records turned into 5-byte feature reports
// (report id 1, 0x02, button bits, x and y as signed bytes), at most 127 counts per axis
// and about one report per millisecond. The system reports the device's clicks as
// hardware input; each one sent is noted in ButtonEchoes, so the mouse hook can tell them
// from the user's.
//
// The device only knows which buttons it holds: a press of a button it holds already, or a
// release of one it does not hold (pressed through the system), changes nothing on it. Such a
// record, like one whose report the device refuses, is left to the system whole.
class VirtualMouse
{
public:
    // True when the whole record was delivered to the device; false sends it another way.
    bool send(const INPUT& record);
    // Whether such a device exists, without opening it.
    static bool isDriverPresent();
    // Closes the device and shuts hidapi down; the next record opens it again.
    void close();

private:
    bool open();
    bool sendReport(unsigned char buttons, int x, int y);
    void pace();

    bool m_hidInitialised = false;
    HidApi::Device m_device = nullptr;
    // The buttons of the last report the device took: bit 0 left, bit 1 right, bit 2 middle.
    unsigned char m_buttons = 0;
    QElapsedTimer m_reportTimer;
};
