#include "OverlayNotice.h"

#include "OverlayFeed.h"

OverlayNotice& OverlayNotice::instance()
{
    static OverlayNotice notice;
    return notice;
}

OverlayNotice::OverlayNotice(QObject* parent) : QObject(parent)
{
    m_clear.setSingleShot(true);
    connect(&m_clear, &QTimer::timeout, this, [] { OverlayFeed::current().setNotice({}); });
}

void OverlayNotice::show(const QString& text, int milliseconds)
{
    OverlayFeed::current().setNotice(text);
    m_clear.start(milliseconds);
}
