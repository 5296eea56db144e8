#pragma once

#include "lap_library/LapLibrary.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

// Imports lap files into a library in a thread of its own, so the window stays responsive, on a
// connection of its own to the library. Each file is one transaction: Cancel stops between two
// files, and what was imported stays.
class ImportRunner : public QObject {
    Q_OBJECT

public:
    struct FileOutcome {
        QString path;
        std::optional<ImportOutcome> outcome; // nothing: the file failed (error)
        QString error;
    };
    struct Result {
        std::vector<FileOutcome> files;
        bool cancelled = false;
        QString stopped; // the library failed (a full disk): the later files were not read
    };

    explicit ImportRunner(QObject* parent = nullptr);
    ~ImportRunner() override; // cancels and waits

    // Starts importing files, each with sheet, into the library at libraryPath.
    void start(const QString& libraryPath, const QStringList& files, const SessionSheet& sheet = {});
    void cancel() { cancel_ = true; }
    bool running() const { return running_; }

signals:
    void progress(int done, int total);
    void finished(const ImportRunner::Result& result);

private:
    void run(QString libraryPath, QStringList files, SessionSheet sheet);

    std::thread thread_;
    std::atomic<bool> cancel_ = false;
    bool running_ = false;
};
