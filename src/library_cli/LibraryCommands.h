#pragma once

#include "library_cli/LibraryOptions.h"

#include <QByteArray>
#include <functional>

inline constexpr int kLibraryExitFailure = 1;
inline constexpr int kLibraryExitUsage = 2;

// "miren-library: text" on standard error.
void printLibraryError(const QString& text);

// Makes the PDF report of a session for a bundle, with its sheet: Qt Gui, so the program gives
// it in.
using SessionReportFn = std::function<QByteArray(const QByteArray& bytes, const QString& fileName,
                                                 const QDateTime& date, const SessionSheet& sheet)>;

// Runs a parsed command; returns the exit status.
int runLibraryCommand(const LibraryOptions& options, const SessionReportFn& report);
