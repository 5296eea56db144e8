#pragma once

#include "shared_state/SharedState.h"
#include "shared_state/TextView.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <span>
#include <cstdint>
#include <vector>

// What a "bil load" read, file by file: where each file's lap lines begin in the view, so the
// analysis can keep the files apart as sessions, and why the load stopped.
struct LapFileLoad {
    struct File {
        QString name;
        qsizetype firstLine = -1; // 0-based line of the view with its first lap line; -1: none
        qsizetype lines = 0;      // its lap lines
        int unitFlag = -1;        // bit 0 of its first record word; -1 without a lap record
        QString fault;            // why reading stopped in it, e.g. "record 3, byte 690: ..."
        std::uint64_t faultRecord = 0; // the faulty record (from 1), 0 when no record is at fault
    };
    std::vector<File> files;   // in the order read; a failing file is the last
    QStringList unreadFiles;   // chosen files after a failing one, not read
    bool replacedView = false; // the view was cleared and holds the lines of these files
};

// The "bil load" command, run after the chooser has closed in "BIL LOAD" mode: clears the view
// and converts the files named in state.GET_NAME (each name ended by a carriage return) from the
// folder state.PASS_NAME2 into one lap table. Consumes GET_NAME name by name; on the first
// failing file it warns "!! non file !!", keeps the text so far and leaves the later names in
// GET_NAME. Does nothing when GET_NAME is "". When load is given, it is filled before any
// warning.
void convertLapFiles(SharedState& state, TextView& view, const WarningFn& warn, char decimalPoint,
                     LapFileLoad* load = nullptr);

// A lap file held in memory (the lap library keeps each session's bytes).
struct LapBytes {
    QString name;
    QByteArray bytes;
};

// "bil load" of lap files held in memory: the view gets the text, load the record, and the
// warning comes, as "bil load" of files with these names and bytes would give them.
void convertLapBytes(std::span<const LapBytes> files, TextView& view, const WarningFn& warn,
                     char decimalPoint, LapFileLoad* load = nullptr);
