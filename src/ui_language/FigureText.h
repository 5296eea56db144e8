#pragma once

#include <QString>
#include <cstdint>

// Figures as every window and the report show them, in every language and every locale: "." as
// the decimal point and no digit grouping, as the lap table itself writes its GX and GY columns;
// lap times as "m:ss.hh". A comma-decimal locale therefore does not mix "1,5 G" with "0.74 s".
// (Files meant for spreadsheets, the CSV export, follow the locale instead.)

// value with the given number of decimals: figureText(1.5, 2) is "1.50", figureText(-0.5, 2)
// "-0.50".
QString figureText(double value, int decimals);

// A whole number without grouping: "12000".
QString figureText(std::int64_t value);

// A value held in tenths (GX, GY): tenthsText(15) is "1.5".
QString tenthsText(std::int64_t tenths);

// A share in percent with the given decimals and a no-break space before the sign: "110 %".
QString percentText(double percent, int decimals);
