// Line splitting of a text file on any bytes, whole and in pieces.
//
// Invariants checked:
// - the lines, each followed by CR LF, give the input back, except that a lone CR becomes CR LF
//   and a last line without a line end gets one (a lone LF stays a character of its line);
// - feeding the bytes in pieces of any size gives the same text, and what has been given out at
//   any point is whole lines only.
#include "FuzzCheck.h"
#include "text_files/LineSplitter.h"

namespace {

// The text view form of the input by the line-end rule, written out directly.
QByteArray expectedLines(QByteArrayView in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        out += in[i];
        if (in[i] == '\r' && (i + 1 == in.size() || in[i + 1] != '\n'))
            out += '\n';
    }
    if (!in.isEmpty() && !out.endsWith("\r\n"))
        out += "\r\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const QByteArrayView in(data, static_cast<qsizetype>(size));
    const QByteArray whole = LineSplitter::split(in);
    FUZZ_CHECK(whole == expectedLines(in));

    // Lines hold no CR; every CR of the output is a line end.
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (whole[i] == '\r')
            FUZZ_CHECK(i + 1 < whole.size() && whole[i + 1] == '\n');
    }

    // Piece sizes taken from the bytes themselves: 1 to 16, and now and then a large one.
    LineSplitter splitter;
    QByteArray pieces;
    qsizetype pos = 0;
    for (qsizetype k = 0; pos < in.size(); ++k) {
        const unsigned char b = data[static_cast<std::size_t>(k) % size];
        const qsizetype step = qMin<qsizetype>(b >= 0xF0 ? 4096 : 1 + b % 16, in.size() - pos);
        splitter.feed(in.sliced(pos, step), pieces);
        pos += step;
        FUZZ_CHECK(pieces.isEmpty() || pieces.endsWith("\r\n"));
        FUZZ_CHECK(whole.startsWith(pieces));
    }
    splitter.finish(pieces);
    FUZZ_CHECK(pieces == whole);

    // A splitter is reusable after finish().
    splitter.feed(in, pieces);
    splitter.finish(pieces);
    FUZZ_CHECK(pieces == whole + whole);
    return 0;
}
