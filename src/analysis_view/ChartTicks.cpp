#include "analysis_view/ChartTicks.h"

#include "analysis_view/DisplayText.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest step of the list that gives at most maxTicks ticks over [low, high].
double tickStep(double low, double high, int maxTicks, std::span<const double> steps)
{
    maxTicks = std::max(maxTicks, 2);
    for (const double step : steps) {
        if (std::floor(high / step) - std::ceil(low / step) + 1 <= maxTicks)
            return step;
    }
    const double last = steps.back();
    return last * std::ceil((high - low) / last / (maxTicks - 1));
}

std::vector<ChartTick> ticksOf(double low, double high, double step, QString (*label)(double))
{
    std::vector<ChartTick> ticks;
    for (double k = std::ceil(low / step); k * step <= high; ++k)
        ticks.push_back({k * step, label(k * step)});
    return ticks;
}

} // namespace

double niceStep(double least)
{
    double scale = 1;
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (scale * factor >= least)
                return scale * factor;
        }
        scale *= 10;
    }
}

std::pair<double, double> paddedRange(double low, double high, double least, bool time)
{
    const double pad = std::max((high - low) / 10, least);
    return {time ? std::max(0.0, low - pad) : low - pad, high + pad};
}

std::vector<ChartTick> timeTicks(double low, double high, int maxTicks)
{
    static constexpr double kSteps[] = {1,     2,     5,      10,     20,     50,      100,
                                        200,   500,   1000,   2000,   5000,   10000,   15000,
                                        30000, 60000, 120000, 300000, 600000, 1800000, 3600000};
    const double step = tickStep(low, high, maxTicks, kSteps);
    return ticksOf(low, high, step,
                   [](double value) { return timeText(std::int64_t(std::llround(value))); });
}

std::vector<ChartTick> numberTicks(double low, double high, int maxTicks)
{
    maxTicks = std::max(maxTicks, 2);
    double step = niceStep(1);
    while (std::floor(high / step) - std::ceil(low / step) + 1 > maxTicks)
        step = niceStep(step * 1.5);
    return ticksOf(low, high, step,
                   [](double value) { return QString::number(std::int64_t(std::llround(value))); });
}
