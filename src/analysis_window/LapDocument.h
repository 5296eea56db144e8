#pragma once

#include "lap_analysis/LapData.h"
#include "lap_analysis/Sessions.h"

#include <cstdint>
#include <vector>

class QTextDocument;

// The lap table a text document holds, read as the table reader reads a saved table: one block
// of the document is one line, so line n is block n - 1.
struct DocumentTable {
    bool headerFound = false;
    SpeedUnit unit = SpeedUnit::Kmh;
    std::vector<LapData> laps;
    std::vector<std::int64_t> skippedLines; // 1-based lines after the header that are not laps
    std::vector<LaterHeader> laterHeaders;  // header lines among them
    std::int64_t lines = 0;
};

// Feeds the document block by block to the table reader, through one reused line buffer, so a
// table of hundreds of thousands of lines is never copied whole.
DocumentTable readLapDocument(const QTextDocument& document);
