#pragma once

#include "lap_library/LapLibrary.h"
#include "lap_library/LibraryComparison.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// miren-library's command line: one command and its options, parsed before anything is opened.

enum class LibraryCommand {
    Import,
    Sessions,
    Show,
    Set,
    Bests,
    Progress,
    Export,
    ImportBundle,
    Remove,
    Check,
    Backup,
    Compare,
    Report,
};

enum class OutputFormat { Text, Csv, Json };

struct LibraryOptions {
    LibraryCommand command = LibraryCommand::Sessions;
    QString library; // --library; empty: LapLibrary::defaultPath()
    SessionFilter filter;
    OutputFormat format = OutputFormat::Text;
    QString output; // -o
    QStringList arguments; // files, folders or sessions

    // import: the sheet given for every file; set: the fields to change.
    SessionSheet sheet;
    bool acceptSuggested = false;
    // set: which fields were given (an empty value clears a field).
    QStringList setFields;
    std::vector<SetupRow> setupRows;  // --setup name=value: replaces the row of that name or adds
    QStringList removeSetup, addTags, removeTags;
    QDateTime date;
    // compare: --reference.
    ReferenceChoice reference;
};

struct ParsedLibraryArguments {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Usage;
    LibraryOptions options;
    QString text; // the help text, or the reason for a usage error
};

// arguments include the program's name first.
ParsedLibraryArguments parseLibraryArguments(const QStringList& arguments);

QString libraryUsageText();
QString libraryHelpText();
