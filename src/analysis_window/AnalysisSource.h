#pragma once

#include "lap_analysis/Sessions.h"

#include <QString>
#include <vector>

class QTextDocument;

// What the analysis window reads and points into: the main window's lap table view.
class AnalysisSource {
public:
    virtual ~AnalysisSource() = default;
    // The view's text, one block per line. The analysis window follows its changes.
    virtual const QTextDocument* lapDocument() const = 0;
    // Puts the view's caret at the start of the 0-based line and scrolls it into sight.
    virtual void showLapLine(int line) = 0;
    // The first lap file of the "bil load" that filled the view, "" when there is none.
    virtual QString lapFileName() const = 0;
    // The folder of text files, where exports go.
    virtual QString textFolder() const = 0;
    // The folder of lap record files, where the report finds the date of a lap file; "" when
    // not known.
    virtual QString lapFolder() const { return {}; }
    // The lap files of the "bil load" that filled the view, with the line where each file's lap
    // lines begin now (they follow the edits of the view), and the chosen files after a failing
    // one, which were not read. No files when the view was filled otherwise.
    virtual LoadedFiles lapFiles() const { return {}; }
};
