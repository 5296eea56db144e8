#pragma once

#include "lap_analysis/LapTableReader.h"

#include <QStringView>

class QTextDocument;

// The lap table a text document holds, read as the table reader reads a saved table: one block
// of the document is one line, so line n is block n - 1. Feeds the document block by block to
// the reader, through one reused line buffer, so a table of hundreds of thousands of lines is
// never copied whole.
LapTableText readLapDocument(const QTextDocument& document);

// The same of the document's raw text (QTextDocument::toRawText(), blocks ending at U+2029),
// which a copy of the text made on the window's thread lets another thread read.
LapTableText readLapText(QStringView text);
