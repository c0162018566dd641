#include "PreviewPlot.h"

#include "ui/appearance/ThemeTokens.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr qreal kMargin = 8;
constexpr qreal kTitleHeight = 18;

// The rectangle grown to at least `span` on each side, around its centre.
QRectF atLeast(QRectF box, qreal span)
{
    if (box.width() < span)
        box.adjust(-(span - box.width()) / 2, 0, (span - box.width()) / 2, 0);
    if (box.height() < span)
        box.adjust(0, -(span - box.height()) / 2, 0, (span - box.height()) / 2);
    return box;
}

// The path through the points, broken where a point was jumped to.
QPainterPath polyline(const QList<QPointF>& points, const QList<bool>& jumps)
{
    QPainterPath path;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i == 0 || jumps.at(i))
            path.moveTo(points.at(i));
        else
            path.lineTo(points.at(i));
    }
    return path;
}

} // namespace

PreviewPlot::PreviewPlot(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPlot::setRuns(const std::optional<PreviewPath>& current, qint64 currentDurationUs,
                          const std::optional<PreviewPath>& previous, qint64 previousDurationUs)
{
    m_current = current;
    m_previous = previous;
    m_durationUs = std::max(currentDurationUs, previous ? previousDurationUs : 0);
    update();
}

void PreviewPlot::paintEvent(QPaintEvent* /*event*/)
{
    const ThemeTokens& theme = ThemeTokens::current();
    QPainter painter(this);
    painter.fillRect(rect(), theme.colour(QStringLiteral("card")));
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF all = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const qreal half = (all.width() - kMargin) / 2;
    const QRectF trail(all.left(), all.top(), half, all.height());
    const qreal chartHeight = (all.height() - kMargin) / 2;
    const QRectF xChart(trail.right() + kMargin, all.top(), half, chartHeight);
    const QRectF yChart(xChart.left(), xChart.bottom() + kMargin, half, chartHeight);
    paintFrame(painter, trail, tr("След указателя"));
    paintFrame(painter, xChart, tr("x по времени"));
    paintFrame(painter, yChart, tr("y по времени"));
    paintTrail(painter, trail.adjusted(4, kTitleHeight, -4, -4));
    paintAgainstTime(painter, xChart.adjusted(4, kTitleHeight, -4, -4), Axis::X);
    paintAgainstTime(painter, yChart.adjusted(4, kTitleHeight, -4, -4), Axis::Y);
}

void PreviewPlot::paintFrame(QPainter& painter, const QRectF& area, const QString& title) const
{
    const ThemeTokens& theme = ThemeTokens::current();
    painter.setPen(theme.colour(QStringLiteral("border")));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.setPen(theme.colour(QStringLiteral("muted-foreground")));
    painter.drawText(area.adjusted(6, 2, -6, 0), Qt::AlignLeft | Qt::AlignTop, title);
}

void PreviewPlot::paintTrail(QPainter& painter, const QRectF& area) const
{
    if (!m_current)
        return;
    QRectF box = m_current->bounds();
    if (m_previous)
        box = box.united(m_previous->bounds());
    box = atLeast(box, 20);
    // One scale for both axes, so that the pattern keeps its shape; y grows downwards, as on
    // the screen.
    const qreal scale = std::min(area.width() / box.width(), area.height() / box.height());
    const QPointF offset(area.center().x() - box.center().x() * scale,
                         area.center().y() - box.center().y() * scale);
    const auto map = [&](const QPointF& p) { return p * scale + offset; };
    const ThemeTokens& theme = ThemeTokens::current();
    const auto draw = [&](const PreviewPath& path, QColor colour) {
        QList<QPointF> points;
        QList<bool> jumps;
        for (const PreviewPath::Point& point : path.points()) {
            points << map(point.position);
            jumps << point.jump;
        }
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(polyline(points, jumps));
        painter.setBrush(colour);
        painter.drawEllipse(points.first(), 3, 3);
    };
    if (m_previous) {
        QColor faded = theme.colour(QStringLiteral("muted-foreground"));
        faded.setAlpha(110);
        draw(*m_previous, faded);
    }
    draw(*m_current, theme.colour(QStringLiteral("primary")));
    for (const PreviewPath::Mark& mark : m_current->marks()) {
        const QPointF at = map(mark.position);
        const QColor colour = theme.colour(mark.key ? QStringLiteral("warning") : QStringLiteral("error"));
        painter.setPen(QPen(colour, 1.5));
        painter.setBrush(Qt::NoBrush);
        if (mark.key)
            painter.drawRect(QRectF(at.x() - 4, at.y() - 4, 8, 8));
        else
            painter.drawEllipse(at, 5, 5);
    }
}

void PreviewPlot::paintAgainstTime(QPainter& painter, const QRectF& area, Axis axis) const
{
    if (!m_current)
        return;
    const auto value = [axis](const PreviewPath::Point& point) {
        return axis == Axis::X ? point.position.x() : point.position.y();
    };
    qreal low = value(m_current->points().first());
    qreal high = low;
    for (const std::optional<PreviewPath>* path : {&m_current, &m_previous}) {
        if (!*path)
            continue;
        for (const PreviewPath::Point& point : (*path)->points()) {
            low = std::min(low, value(point));
            high = std::max(high, value(point));
        }
    }
    if (high - low < 20) {
        const qreal middle = (high + low) / 2;
        low = middle - 10;
        high = middle + 10;
    }
    const qreal duration = qreal(std::max<qint64>(m_durationUs, 1));
    const auto map = [&](qint64 atUs, qreal v) {
        return QPointF(area.left() + area.width() * qreal(atUs) / duration,
                       area.bottom() - area.height() * (v - low) / (high - low));
    };
    const ThemeTokens& theme = ThemeTokens::current();
    // The value holds between two records: a step at each.
    const auto draw = [&](const PreviewPath& path, QColor colour) {
        QPainterPath line;
        const QList<PreviewPath::Point>& points = path.points();
        line.moveTo(map(0, value(points.first())));
        for (qsizetype i = 1; i < points.size(); ++i) {
            line.lineTo(map(points.at(i).atUs, value(points.at(i - 1))));
            line.lineTo(map(points.at(i).atUs, value(points.at(i))));
        }
        line.lineTo(map(m_durationUs, value(points.last())));
        painter.setPen(QPen(colour, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(line);
    };
    for (const PreviewPath::Mark& mark : m_current->marks()) {
        const QPointF at = map(mark.atUs, low);
        QColor colour = theme.colour(mark.key ? QStringLiteral("warning") : QStringLiteral("error"));
        colour.setAlpha(120);
        painter.setPen(QPen(colour, 1));
        painter.drawLine(at, QPointF(at.x(), area.top()));
    }
    if (m_previous) {
        QColor faded = theme.colour(QStringLiteral("muted-foreground"));
        faded.setAlpha(110);
        draw(*m_previous, faded);
    }
    draw(*m_current, theme.colour(axis == Axis::X ? QStringLiteral("primary")
                                                  : QStringLiteral("success")));
}
