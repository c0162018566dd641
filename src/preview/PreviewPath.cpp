#include "PreviewPath.h"

#include <QChar>

#include <cmath>

PreviewPath::PreviewPath(const PreviewResult& result)
{
    using Kind = PreviewResult::Record::Kind;
    QPointF at(result.start);
    m_points.append({0, at, false});
    for (const PreviewResult::Record& record : result.records) {
        switch (record.kind) {
        case Kind::Move:
            at += QPointF(record.a, record.b);
            m_distance += std::hypot(double(record.a), double(record.b));
            m_points.append({record.atUs, at, false});
            break;
        case Kind::Jump:
            at = QPointF(record.a, record.b);
            m_points.append({record.atUs, at, true});
            break;
        case Kind::ButtonDown:
            m_marks.append({record.atUs, at, false, QString::number(record.a)});
            break;
        case Kind::KeyDown:
            m_marks.append({record.atUs, at, true,
                            record.b ? QString(QChar(char16_t(record.a)))
                                     : QStringLiteral("#%1").arg(record.a)});
            break;
        case Kind::ButtonUp:
        case Kind::KeyUp:
            break;
        }
    }
}

QRectF PreviewPath::bounds() const
{
    QRectF box(m_points.first().position, QSizeF(0, 0));
    for (const Point& point : m_points) {
        box.setLeft(std::min(box.left(), point.position.x()));
        box.setRight(std::max(box.right(), point.position.x()));
        box.setTop(std::min(box.top(), point.position.y()));
        box.setBottom(std::max(box.bottom(), point.position.y()));
    }
    return box;
}
