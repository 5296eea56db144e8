#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Splits the bytes of a text file into lines and gives them back in the text view's form: every
// line followed by CR LF. A line ends at a CR; an LF right after that CR belongs to the line end;
// any other LF is an ordinary character of the line. The last line may lack its line end, and an
// empty input has no lines.
//
// The input may come in chunks of any size: a CR LF pair split between two chunks is still one
// line end. Only whole lines are given out, so a caller that stops early (a read error) has
// handed on exactly the lines that were complete. Works on bytes, which is safe for the system's
// code page: CR and LF never occur inside a multi-byte character of an ASCII-compatible encoding.
class LineSplitter {
public:
    // Appends to `out` every line that `chunk` completes, each followed by CR LF. The bytes of a
    // line still open at the end of the chunk are kept for the next call.
    void feed(QByteArrayView chunk, QByteArray& out);

    // End of input: appends the last line, followed by CR LF, when it had no line end of its own.
    // The splitter is then ready for a new input.
    void finish(QByteArray& out);

    // The view form of a whole input in one go.
    static QByteArray split(QByteArrayView whole);

private:
    QByteArray open_;      // bytes of the line that has not ended yet
    bool afterCr_ = false; // the last byte fed was a CR, so an LF next is part of its line end
};
