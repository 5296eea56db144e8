#pragma once

#include "file_io/SafeFile.h"

#include <QString>
#include <optional>
#include <string_view>

// Thrown by the output when it cannot take more text; the run stops.
struct OutputFailed {
    QString reason;
};

// Where a run's text goes: straight to standard output as it is produced, or into the -o file,
// which replaces the old one only when the whole run has been written (never in place: -o
// promises no half-written file, whatever the folder). A device or FIFO named by -o (or by the
// link -o names) is not replaced but written to as it comes, as standard output is.
class Output {
public:
    // An empty path is standard output.
    explicit Output(const QString& path);

    FileResult<> open();
    // Throws OutputFailed.
    void write(std::string_view text);
    // Makes the output final: commits the file, or flushes standard output. Throws OutputFailed.
    void finish();
    // Leaves an existing output file as it was and creates none.
    void discard();

    // "standard output" or the file's name, for messages.
    QString name() const;
    bool toFile() const { return file_.has_value(); }

private:
    QString path_;
    std::optional<SafeFileWriter> file_;
};
