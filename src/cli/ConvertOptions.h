#pragma once

#include "lap_analysis/LapCsv.h"

#include <QString>
#include <QStringList>
#include <span>

struct RunContext;

// What a format reads and which of the format-bound options it takes.
struct FormatSpec {
    enum Takes : unsigned {
        DecimalPoint = 1,  // --decimal-point
        CsvDelimiter = 2,  // --csv-delimiter
        ExcludeSlower = 4, // --exclude-slower
    };
    enum class Inputs {
        Records,        // lap record files only
        RecordsOrTables // lap record files or saved lap table texts, one kind per run
    };
    const char* name = nullptr; // as --format takes it
    const char* help = nullptr; // what it writes, for --help
    Inputs inputs = Inputs::Records;
    unsigned takes = 0; // Takes bits
    // Reads each input once, in order, and never looks at one before: a pipe is then read as it
    // comes, without a copy.
    bool singlePass = false;
    // Runs the format over the run's inputs into its output; returns the exit status. Throws
    // OutputFailed when the output cannot take more.
    int (*run)(RunContext& run) = nullptr;
    // A paged document (PDF): drawn with Qt Gui, so the program starts a QGuiApplication for it,
    // and written only to the -o file, never to standard output.
    bool document = false;
};

// Every format miren-convert writes, the default first; defined beside the runs.
std::span<const FormatSpec> formats();

struct Options {
    const FormatSpec* format = &formats().front();
    char decimalPoint = '.';      // table: GX / GY separator
    CsvDialect csv;               // csv
    double excludeSlower = 110.0; // csv, summary: percent of the median; 0 turns it off
    QString output;               // empty: standard output
    QStringList files;
};

// What the command line asks for: a run with its options, the help or version text, or bad usage
// with its reason.
struct ParsedArguments {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    Options options;
    QString text; // Help: the help text; Usage: the reason
};

// Parses the command line; arguments[0] is the program's name.
ParsedArguments parseArguments(const QStringList& arguments);

// The two-line synopsis printed after a usage error.
QString usageText();
