#pragma once

#include <QString>

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
};
