#pragma once

#include <QString>
#include <utility>
#include <vector>

// The tick rules of the chart's axes, as plain functions of a range.

struct ChartTick {
    double value = 0;
    QString label;
};

// Ticks in "m:ss.hh" for times in hundredths over [low, high], no more than maxTicks of them, at
// steps a stopwatch reads (1, 2, 5 hundredths … 10 s, 15 s, 30 s, 1 min …).
std::vector<ChartTick> timeTicks(double low, double high, int maxTicks);
// Ticks of whole numbers at 1, 2 or 5 times a power of ten, no more than maxTicks of them.
std::vector<ChartTick> numberTicks(double low, double high, int maxTicks);
// 1, 2 or 5 times a power of ten, at least least (and at least 1).
double niceStep(double least);
// [low, high] with a tenth of the span (at least least) of room on both sides; times never go
// below zero.
std::pair<double, double> paddedRange(double low, double high, double least, bool time);
