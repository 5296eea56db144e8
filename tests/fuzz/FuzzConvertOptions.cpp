// miren-convert's argument parsing (parseArguments) on any arguments.
//
// Invariants checked:
// - bad usage and help always have a text; a run has a format, input files and options within
//   their rules, and a document format always has an -o file;
// - "-o -" is standard output, never a file named "-";
// - the same arguments parse the same way twice.
//
// Input: the arguments after the program's name, separated by NUL bytes, taken byte for byte as
// the shell passes them.
#include "FuzzCheck.h"
#include "cli/ConvertOptions.h"
#include "file_io/FileName.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    // The parser's help text names the program through the application object.
    static int argc = 1;
    static char name[] = "miren-convert";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    QStringList arguments{QStringLiteral("miren-convert")};
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.isEmpty()) {
        for (const QByteArray& argument : bytes.split('\0'))
            arguments << decodeFileName(argument);
    }

    const ParsedArguments parsed = parseArguments(arguments);
    const ParsedArguments again = parseArguments(arguments);
    FUZZ_CHECK(parsed.action == again.action && parsed.text == again.text);
    switch (parsed.action) {
    case ParsedArguments::Action::Usage:
    case ParsedArguments::Action::Help:
        FUZZ_CHECK(!parsed.text.isEmpty());
        break;
    case ParsedArguments::Action::Version:
        break;
    case ParsedArguments::Action::Run: {
        const Options& o = parsed.options;
        FUZZ_CHECK(o.format != nullptr && !o.files.isEmpty());
        FUZZ_CHECK(o.output != QLatin1String("-"));
        FUZZ_CHECK(!o.format->document || !o.output.isEmpty());
        FUZZ_CHECK(o.excludeSlower == 0 || (o.excludeSlower >= 100 && o.excludeSlower <= 1000));
        FUZZ_CHECK(o.decimalPoint > ' ' && o.decimalPoint < 0x7F && o.decimalPoint != '~' &&
                   o.decimalPoint != ':' && (o.decimalPoint < '0' || o.decimalPoint > '9'));
        FUZZ_CHECK(o.csv.delimiter == ',' || o.csv.delimiter == ';' || o.csv.delimiter == '\t');
        FUZZ_CHECK(o.format == again.options.format && o.output == again.options.output &&
                   o.files == again.options.files);
        break;
    }
    }
    return 0;
}
