#pragma once

#include "InputProperties.h"
#include "VirtualMouse.h"
#include "platform/WinApi.h"

#include <random>

// The one way out for synthetic input: scales and jitters relative moves by the movement
// modifiers, carries the fractional rest to the next move, and sends the record through
// the virtual HID mouse in driver mode or through the system otherwise. GUI thread only.
class InputSender
{
public:
    // The process-wide sender that all of the program's input goes through.
    static InputSender& instance();

    // A sender of its own (tests); it watches the application object, which must exist.
    InputSender();

    UINT send(const INPUT& record);
    void applyMovementModifiers(INPUT& record);
    VirtualMouse& virtualMouse() { return m_virtualMouse; }

private:
    double jitter(double amplitude);
    static LONG carry(double value, double& residual);

    InputProperties m_properties;
    VirtualMouse m_virtualMouse;
    std::mt19937_64 m_random;
    double m_residualX = 0.0;
    double m_residualY = 0.0;
};

// Sends one record (the caller's copy is left unchanged); returns what SendInput returns on
// the system route.
UINT sendInputRecord(const INPUT& record);
// Scales dx and dy of a relative mouse move in place; other records pass unchanged.
void applyMovementModifiers(INPUT& record);
// True when the whole record reached the virtual HID mouse.
bool sendViaVirtualMouse(const INPUT& record);
bool isVirtualMouseDriverPresent();
void closeVirtualMouse();
