#pragma once

#include "file_io/FileResult.h"
#include "shared_state/SharedState.h"
#include "shared_state/TextView.h"

#include <QString>
#include <QStringView>

// "Text save", first step: false (after warning "!! non DATA !!") when the view is empty; the
// chooser is then not shown.
bool textSaveHasData(const TextView& view, const WarningFn& warn);

// "Text save", after the chooser has closed in "TEXT SAVE" mode: writes the view's text and one
// CR LF to PASS_NAME1 / GET_NAME + ".txt". Does nothing when GET_NAME is "". When the file cannot
// be written, warns "!! non file !!" and leaves any existing file as it was.
void saveTextFile(const SharedState& state, const TextView& view, const WarningFn& warn);

// "Text load", after the chooser has closed in "TEXT LOAD" mode: replaces the view's text with the
// lines of PASS_NAME1 / GET_NAME. Does nothing when GET_NAME is "". When the file cannot be opened
// the view is kept; when reading fails later, the lines loaded so far stay. Either way the warning
// is "!! non file !!".
void loadTextFile(const SharedState& state, TextView& view, const WarningFn& warn);

// Bytes read from the file at a time; the lines of each chunk go to the view in one append.
inline constexpr qint64 kTextLoadChunkBytes = qint64(1) << 20;

// Opens `path`, then clears the view and appends every line of the file followed by CR LF, in
// the system encoding (invalid bytes become the replacement character). The view is untouched
// when the file cannot be opened. `chunkBytes` is there for tests of chunk boundaries.
FileResult<> loadTextFromFile(const QString& path, TextView& view,
                              qint64 chunkBytes = kTextLoadChunkBytes);

// Replaces `path` with the view's text and one CR LF in the system encoding. The text is taken
// from the view piece by piece and encoded into the file as it comes, so a large table is never
// held twice. The file is written aside and put in place only when complete, so a failed write
// leaves the old file as it was.
FileResult<> saveTextToFile(const QString& path, const TextView& view);
