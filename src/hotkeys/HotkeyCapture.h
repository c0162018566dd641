#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPointer>

#include <functional>

// The field that captures a key combination now, if any. The system hands a registered
// combination to its hotkey, never to the focused field; while a field captures, the
// program's global hotkeys are suspended and hand their combination to the field instead of
// acting on it, and the active scenario is not told of the mouse buttons pressed meanwhile.
class HotkeyCapture : public QObject
{
    Q_OBJECT

public:
    // What the field does with a combination handed to it.
    using Receiver = std::function<void(const QKeySequence&)>;

    static HotkeyCapture& instance();

    // The field starts capturing, in place of any other.
    void begin(QObject* field, Receiver receiver);
    // The field stops capturing; nothing when another captures now.
    void end(QObject* field);
    bool isCapturing() const { return !m_field.isNull(); }
    // Hands the combination to the capturing field; false when none captures.
    bool deliver(const QKeySequence& combination) const;

signals:
    void capturingChanged(bool capturing);

private:
    HotkeyCapture() = default;

    QPointer<QObject> m_field;
    Receiver m_receiver;
};
