#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// A notice on the overlay for a while: a newer notice takes its place and its time, so that a
// notice never takes another off before that one's time is up.
class OverlayNotice : public QObject
{
    Q_OBJECT

public:
    static OverlayNotice& instance();
    explicit OverlayNotice(QObject* parent = nullptr);

    void show(const QString& text, int milliseconds);

private:
    QTimer m_clear;
};
