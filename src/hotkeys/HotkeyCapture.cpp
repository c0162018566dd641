#include "HotkeyCapture.h"

HotkeyCapture& HotkeyCapture::instance()
{
    static HotkeyCapture capture;
    return capture;
}

void HotkeyCapture::begin(QObject* field, Receiver receiver)
{
    const bool was = isCapturing();
    m_field = field;
    m_receiver = std::move(receiver);
    if (!was)
        emit capturingChanged(true);
}

void HotkeyCapture::end(QObject* field)
{
    if (m_field != field)
        return;
    m_field = nullptr;
    m_receiver = nullptr;
    emit capturingChanged(false);
}

bool HotkeyCapture::deliver(const QKeySequence& combination) const
{
    if (!isCapturing())
        return false;
    m_receiver(combination);
    return true;
}
