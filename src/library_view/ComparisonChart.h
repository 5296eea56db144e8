#pragma once

#include "lap_library/LapComparison.h"

#include <QCoreApplication>
#include <QRectF>
#include <QStringList>
#include <cstddef>
#include <span>

class QPainter;

// The comparison's bar chart: a group of bars per sector, in the order given (the track's, or by
// time lost), a bar per lap in the lap's colour, up for time lost to the reference and down for
// time gained. Drawn with QPainter on anything, on white with the painter's font.
class ComparisonChart {
    Q_DECLARE_TR_FUNCTIONS(ComparisonChart)
public:
    static void paint(QPainter& painter, const QRectF& rect, const LapComparison& comparison,
                      std::span<const std::size_t> sectorOrder, const QStringList& lapLabels);
};
