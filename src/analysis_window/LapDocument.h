#pragma once

#include "lap_analysis/LapTableReader.h"

class QTextDocument;

// The lap table a text document holds, read as the table reader reads a saved table: one block
// of the document is one line, so line n is block n - 1. Feeds the document block by block to
// the reader, through one reused line buffer, so a table of hundreds of thousands of lines is
// never copied whole.
LapTableText readLapDocument(const QTextDocument& document);
