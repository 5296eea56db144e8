#include "library_window/ImportRunner.h"

#include "lap_library/LapFileScan.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaObject>

ImportRunner::ImportRunner(QObject* parent) : QObject(parent) {}

ImportRunner::~ImportRunner()
{
    cancel_ = true;
    if (thread_.joinable())
        thread_.join();
}

void ImportRunner::start(const QString& libraryPath, const QStringList& files,
                         const SessionSheet& sheet)
{
    if (running_)
        return;
    if (thread_.joinable())
        thread_.join();
    running_ = true;
    cancel_ = false;
    thread_ = std::thread(&ImportRunner::run, this, libraryPath, files, sheet);
}

void ImportRunner::run(QString libraryPath, QStringList files, SessionSheet sheet)
{
    Result result;
    const auto post = [this](auto f) { QMetaObject::invokeMethod(this, f, Qt::QueuedConnection); };
    auto opened = LapLibrary::open(libraryPath, LapLibrary::Mode::ReadWrite);
    if (!opened.ok() || (*opened.value)->readOnly()) {
        result.stopped = opened.ok() ? tr("cannot change the library %1: %2")
                                           .arg(QDir::toNativeSeparators(libraryPath),
                                                (*opened.value)->readOnlyReason())
                                     : opened.error.message;
    } else {
        LapLibrary& library = **opened.value;
        const int total = int(files.size());
        for (int i = 0; i < total; ++i) {
            if (cancel_) {
                result.cancelled = true;
                break;
            }
            post([this, i, total] { emit progress(i, total); });
            FileOutcome file;
            file.path = files[i];
            const FileResult<QByteArray> bytes = LapFileScan::read(file.path);
            if (!bytes) {
                file.error = bytes.reason();
                result.files.push_back(std::move(file));
                continue;
            }
            ImportRequest request;
            const QFileInfo info(file.path);
            request.bytes = bytes.value();
            request.fileName = info.fileName();
            request.fileTime = info.lastModified();
            request.sheet = sheet;
            auto outcome = library.importSession(request);
            if (!outcome.ok()) {
                result.stopped = outcome.error.message;
                break;
            }
            file.outcome = std::move(*outcome.value);
            result.files.push_back(std::move(file));
        }
        if (!result.cancelled && result.stopped.isEmpty())
            post([this, total] { emit progress(total, total); });
    }
    post([this, result = std::move(result)] {
        running_ = false;
        emit finished(result);
    });
}
