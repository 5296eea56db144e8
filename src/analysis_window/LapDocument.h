#pragma once

#include "lap_analysis/LapTableReader.h"

#include <memory>
#include <string>
#include <vector>

class QTextDocument;

// The lap table a text document holds, read as the table reader reads a saved table: one block
// of the document is one line, so line n is block n - 1. Feeds the document block by block to
// the reader, through one reused line buffer, so a table of hundreds of thousands of lines is
// never copied whole.
LapTableText readLapDocument(const QTextDocument& document);

// The lines of a text document as the table reader takes them, kept in step with the
// document's changes (QTextDocument::contentsChange), so that the text can be handed to another
// thread without a walk over hundreds of thousands of blocks on the window's thread: a key costs
// the lines it touched.
class LapTextMirror {
public:
    using Lines = std::vector<std::string>;
    explicit LapTextMirror(const QTextDocument& document);
    // Follows a change, as contentsChange() reports it.
    void change(int position, int removed, int added);
    // The lines now, one per block.
    const Lines& lines();
    // The lines now, for another thread to read: they stay as they are, and the changes that
    // come meanwhile wait, until release().
    std::shared_ptr<const Lines> share();
    void release();

private:
    // A change in lines: before lines from from on are now these.
    struct Edit {
        std::size_t from = 0, before = 0;
        Lines lines;
    };
    void rebuild();
    void catchUp();

    const QTextDocument& document_;
    std::shared_ptr<Lines> lines_;
    std::vector<Edit> waiting_;
    bool shared_ = false;
};

// The lap table of lines taken from a document (LapTextMirror): the same as readLapDocument.
LapTableText readLapLines(const std::vector<std::string>& lines);
