#pragma once

#include "PreviewPath.h"

#include <QWidget>

#include <optional>

class QPainter;

// The plot of a preview: the pointer's trail as it would cross the screen (x against y), and
// x and y against virtual time, with the clicks and key presses marked; a previous run can be
// drawn faded underneath to compare. Painted with the theme's colours.
class PreviewPlot : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPlot(QWidget* parent = nullptr);

    // The run to show, with its duration, and the one to draw faded under it (none: nothing).
    void setRuns(const std::optional<PreviewPath>& current, qint64 currentDurationUs,
                 const std::optional<PreviewPath>& previous, qint64 previousDurationUs);

    QSize sizeHint() const override { return {720, 360}; }
    QSize minimumSizeHint() const override { return {360, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class Axis { X, Y };
    void paintTrail(QPainter& painter, const QRectF& area) const;
    void paintAgainstTime(QPainter& painter, const QRectF& area, Axis axis) const;
    void paintFrame(QPainter& painter, const QRectF& area, const QString& title) const;

    std::optional<PreviewPath> m_current;
    std::optional<PreviewPath> m_previous;
    qint64 m_durationUs = 0;
};
