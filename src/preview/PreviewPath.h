#pragma once

#include "PreviewResult.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

// The way the pointer would go in a preview result: from the start, each relative move
// added to where it was (not held at the screen's edges, so the whole pattern shows), each
// absolute move a jump; the clicks and key presses marked where the pointer was then.
class PreviewPath
{
public:
    struct Point
    {
        qint64 atUs;
        QPointF position;
        bool jump; // reached by an absolute move, not drawn as travel
    };
    struct Mark
    {
        qint64 atUs;
        QPointF position;
        bool key;      // a key pressed, else a mouse button
        QString label; // the button's number, or the key
    };

    explicit PreviewPath(const PreviewResult& result);

    // The start and every point reached after it.
    const QList<Point>& points() const { return m_points; }
    const QList<Mark>& marks() const { return m_marks; }
    // The length travelled by the relative moves, in pixels.
    double distance() const { return m_distance; }
    // The smallest rectangle holding every point.
    QRectF bounds() const;

private:
    QList<Point> m_points;
    QList<Mark> m_marks;
    double m_distance = 0.0;
};
