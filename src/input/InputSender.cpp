#include "InputSender.h"

#include "platform/Platform.h"

#include <QLoggingCategory>
#include <QRandomGenerator>

#include <cmath>
#include <limits>

Q_LOGGING_CATEGORY(lcInput, "clavitor.input")

InputSender& InputSender::instance()
{
    static InputSender sender;
    return sender;
}

InputSender::InputSender() : m_random(QRandomGenerator::global()->generate64()) {}

UINT InputSender::send(const INPUT& record)
{
    INPUT copy = record;
    applyMovementModifiers(copy);
    if (m_properties.driverMode() && m_virtualMouse.send(copy)) {
        qCInfo(lcInput) << "Ввод отправлен через Tetherscript HID";
        return 1;
    }
    qCInfo(lcInput) << "Ввод отправлен через системный API";
    return platform::Platform::current().sendInput(1, &copy, sizeof(INPUT));
}

double InputSender::jitter(double amplitude)
{
    const long long k = std::llround(std::fabs(amplitude));
    if (k == 0)
        return 0.0;
    return static_cast<double>(std::uniform_int_distribution<long long>(-k, k)(m_random));
}

LONG InputSender::carry(double value, double& residual)
{
    constexpr double low = std::numeric_limits<LONG>::min();
    constexpr double high = std::numeric_limits<LONG>::max();
    const double total = value + residual;
    if (!(total >= low && total <= high)) {
        // Out of range (or not a number): send the limit and start the carry afresh.
        residual = 0.0;
        return std::isnan(total) ? 0 : static_cast<LONG>(total < 0 ? low : high);
    }
    const double rounded = std::round(total); // halves away from zero
    residual = total - rounded;
    return static_cast<LONG>(rounded);
}

void InputSender::applyMovementModifiers(INPUT& record)
{
    if (record.type != INPUT_MOUSE ||
        (record.mi.dwFlags & (MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE)) != MOUSEEVENTF_MOVE)
        return;

    const InputProperties::Factors& route = m_properties.routeFactors();
    const InputProperties::Factors& profile = m_properties.profileFactors();
    const InputProperties::Factors& scenario = m_properties.scenarioFactors();

    double x = record.mi.dx * route.xy * route.x * profile.xy * profile.x;
    double y = record.mi.dy * route.xy * route.y * profile.xy * profile.y;
    x += jitter(m_properties.profileRand());
    y += jitter(m_properties.profileRand());
    x = x * scenario.xy * scenario.x;
    y = scenario.xy * y * scenario.y;
    x += jitter(m_properties.scenarioRand());
    y += jitter(m_properties.scenarioRand());

    record.mi.dx = carry(x, m_residualX);
    record.mi.dy = carry(y, m_residualY);
}

UINT sendInputRecord(const INPUT& record)
{
    return InputSender::instance().send(record);
}

void applyMovementModifiers(INPUT& record)
{
    InputSender::instance().applyMovementModifiers(record);
}

bool sendViaVirtualMouse(const INPUT& record)
{
    return InputSender::instance().virtualMouse().send(record);
}

bool isVirtualMouseDriverPresent()
{
    return VirtualMouse::isDriverPresent();
}

void closeVirtualMouse()
{
    InputSender::instance().virtualMouse().close();
}
