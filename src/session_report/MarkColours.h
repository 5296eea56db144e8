#pragma once

#include <QColor>

// The marks of a best time, the same in the lap list, the chart and the printed report: a purple
// dark enough to read as a thin line and to print dark in grey.
inline constexpr QColor kBestMark(0x6A, 0x1B, 0x9A);
