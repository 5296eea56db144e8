#pragma once

#include "lap_analysis/LapInput.h"
#include "file_io/FileResult.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// The input files of a run as the command line names them; "-" is standard input. Names may
// hold bytes that are not valid UTF-8 (file_io/FileName.h), so they are opened here and
// never by name through Qt.
//
// A regular file is opened anew for each pass over the inputs, and must still be the file the
// first pass read (the same file, size and modification time): one replaced or written to in
// between fails to open. Anything else (a pipe, a FIFO, a
// device, standard input) can be read only once: it is opened once, and when the run reads its
// inputs more than once, the bytes are kept in a temporary file as the first pass reads them,
// for the later passes to read instead. The last pass copies nothing more, so a run that reads
// its inputs once keeps no copy.
class RunInputs {
public:
    enum class Pass { Again, Last };

    // rereads: the run reads its inputs more than once (or looks at their start first).
    // standardInputClosed: standard input was closed when the program started.
    RunInputs(const QStringList& names, bool rereads, bool standardInputClosed = false);
    ~RunInputs();
    RunInputs(const RunInputs&) = delete;
    RunInputs& operator=(const RunInputs&) = delete;

    qsizetype size() const { return qsizetype(inputs_.size()); }
    // The name of input i as messages show it: "standard input" for "-".
    QString shownName(qsizetype i) const;

    // Input i, ready to be read from its start, or the reason it cannot be opened.
    FileResult<std::shared_ptr<QIODevice>> open(qsizetype i, Pass pass);
    // The kind of input i, by its name and first bytes; nothing when it cannot be opened or read
    // (it fails when its turn comes).
    std::optional<LapInputKind> kind(qsizetype i);

    // True when path names an existing file that is also one of the inputs (the same file
    // under any name); character devices such as a terminal do not count.
    bool includes(const QString& path) const;

    struct Input; // one input's state, in ConvertInputs.cpp

private:
    std::vector<std::unique_ptr<Input>> inputs_;
    bool rereads_;
    bool standardInputClosed_;
};
