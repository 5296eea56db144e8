#pragma once

#include <QString>

// What miren-convert says on standard error, and its exit statuses.

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// "miren-convert: text" on standard error.
void printErr(const QString& text);
// Prints reason and the synopsis; returns kExitUsage.
int usageError(const QString& reason);
// The system's reason for the last failed call (errno).
QString systemError();
// A file name as messages show it; an empty name is shown as "" so the message still reads.
QString native(const QString& path);
