// The language settings file's reader and writer (languageChoiceOf, withLanguageChoice) on any
// bytes.
//
// Invariants checked:
// - what is written reads back as the choice written, and writing it again changes nothing;
// - every line but the choices of the [General] section is kept, in order, with its bytes;
// - a choice read holds no line end.
//
// Input: one byte that picks the choice written ("", "en", "ja" or "x"), then the file.
#include "FuzzCheck.h"
#include "ui_language/UiLanguage.h"

#include <QByteArray>
#include <QList>

namespace {

// The lines of a text at LF, CR LF or a lone CR, without their ends.
QList<QByteArray> linesOf(const QByteArray& text)
{
    QByteArray lf = text;
    lf.replace("\r\n", "\n").replace('\r', '\n');
    QList<QByteArray> lines = lf.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isChoiceLine(const QByteArray& line)
{
    const QByteArray trimmed = line.trimmed();
    const qsizetype equals = trimmed.indexOf('=');
    return equals >= 0 && !trimmed.startsWith(';') && !trimmed.startsWith('#') &&
           trimmed.left(equals).trimmed() == "language";
}

// The lines without the choices of the [General] section and without its header.
QList<QByteArray> otherLines(const QByteArray& text)
{
    QList<QByteArray> kept;
    bool general = true;
    for (const QByteArray& line : linesOf(text)) {
        if (line.trimmed().startsWith('[')) {
            general = line.trimmed() == "[General]";
            if (general)
                continue;
        } else if (general && isChoiceLine(line)) {
            continue;
        }
        kept << line;
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const char* const kCodes[] = {"", "en", "ja", "x"};
    const QString code = QString::fromLatin1(kCodes[data[0] % 4]);
    const QByteArray settings(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));

    const QString read = languageChoiceOf(settings);
    FUZZ_CHECK(!read.contains(u'\n') && !read.contains(u'\r'));

    const QByteArray written = withLanguageChoice(settings, code);
    FUZZ_CHECK(languageChoiceOf(written) == code);
    FUZZ_CHECK(withLanguageChoice(written, code) == written);
    if (!written.isEmpty()) {
        FUZZ_CHECK(otherLines(written) == otherLines(settings));
    } else {
        FUZZ_CHECK(code.isEmpty());
        for (const QByteArray& line : otherLines(settings))
            FUZZ_CHECK(line.trimmed().isEmpty());
    }
    return 0;
}
