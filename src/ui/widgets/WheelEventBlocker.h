#pragma once

#include <QObject>

// Application-wide event filter that keeps the mouse wheel from changing values by accident:
// a wheel event aimed at a spin box, or at a combo box whose list is closed, is consumed and
// left unaccepted, so it goes on to scroll whatever page holds the control.
class WheelEventBlocker : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override;
};
