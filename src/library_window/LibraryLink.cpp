#include "library_window/LibraryLink.h"

#include "analysis_view/DisplayText.h"
#include "analysis_window/AnalysisSource.h"
#include "analysis_window/AnalysisWindow.h"
#include "lap_library/LapFileScan.h"
#include "lap_library/LibraryComparison.h"
#include "library_view/SheetLines.h"
#include "library_window/ComparisonDialog.h"
#include "library_window/LibraryAccess.h"
#include "shared_state/SharedState.h"

#include <QCryptographicHash>
#include <QFileInfo>

LibraryLink::LibraryLink(AnalysisSource& source, LoadFn load, QWidget* mainWindow,
                         std::unique_ptr<LibraryAccess> access)
    : source_(source), load_(std::move(load)), mainWindow_(mainWindow),
      access_(access ? std::move(access) : std::make_unique<LibraryAccess>())
{
    connect(access_.get(), &LibraryAccess::changed, this, &LibraryLink::updateAnalysis);
}

LibraryLink::~LibraryLink() = default;

void LibraryLink::setDialogs(LibraryDialogs dialogs)
{
    dialogs_ = dialogs;
    if (window_)
        window_->setDialogs(std::move(dialogs));
}

LibraryWindow& LibraryLink::libraryWindow()
{
    if (!window_) {
        window_ = std::make_unique<LibraryWindow>(*access_);
        if (dialogs_)
            window_->setDialogs(*dialogs_);
        window_->setLoad([this](const std::vector<LoadedSession>& sessions) {
            load_(sessions);
            loaded(sessions);
        });
    }
    return *window_;
}

void LibraryLink::showLibrary()
{
    LibraryWindow& window = libraryWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

void LibraryLink::closeWindows()
{
    if (comparison_)
        comparison_->close();
    if (window_)
        window_->close();
}

void LibraryLink::loaded(const std::vector<LoadedSession>& sessions)
{
    loaded_.clear();
    for (const LoadedSession& s : sessions)
        loaded_.emplace_back(s.title.toStdString(), s.session);
    updateAnalysis();
}

void LibraryLink::attach(AnalysisWindow& window)
{
    if (analysis_ == &window)
        return;
    analysis_ = &window;
    connect(&window.document(), &AnalysisDocument::changed, this,
            [this](AnalysisDocument::Change change) {
                if (change == AnalysisDocument::Change::Laps)
                    updateAnalysis();
            });
    connect(&window, &AnalysisWindow::addToLibraryRequested, this, [this] {
        const QStringList files = filesMissing();
        if (files.isEmpty())
            return;
        showLibrary();
        window_->importFiles(files);
    });
    connect(&window, &AnalysisWindow::compareRequested, this, &LibraryLink::compareLaps);
    // The report prints the sheet of each session the library has.
    window.setReportFinish([this](SessionReport& report) {
        LapLibrary* library = access_->existing();
        if (!library || !analysis_ || !analysis_->sessionsFromFiles())
            return;
        std::vector<std::optional<SessionSheet>> sheets;
        for (std::size_t s = 0; s < analysis_->analysis().sessionCount(); ++s) {
            std::optional<SessionSheet> sheet;
            if (const auto id = librarySessionOf(s))
                if (const auto info = library->session(*id); info.ok())
                    sheet = info.value->sheet;
            sheets.push_back(std::move(sheet));
        }
        addSessionSheets(report, sheets);
    });
    updateAnalysis();
}

std::optional<QString> LibraryLink::hashOfFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    Hashed& known = hashes_[path];
    if (known.size != info.size() || known.modified != info.lastModified()) {
        const FileResult<QByteArray> bytes = LapFileScan::read(path);
        if (!bytes)
            return std::nullopt;
        known = {info.size(), info.lastModified(),
                 QString::fromLatin1(
                     QCryptographicHash::hash(bytes.value(), QCryptographicHash::Sha256).toHex())};
    }
    return known.sha256;
}

std::optional<std::int64_t> LibraryLink::librarySessionOf(std::size_t file)
{
    const LoadedFiles files = source_.lapFiles();
    if (file >= files.files.size())
        return std::nullopt;
    // Loaded from the library: the files carry the titles they were given.
    if (files.files.size() == loaded_.size() && !loaded_.empty() &&
        std::equal(files.files.begin(), files.files.end(), loaded_.begin(),
                   [](const LoadedFile& f, const auto& l) { return f.title == l.first; }))
        return loaded_[file].second;
    LapLibrary* library = access_->existing();
    if (!library)
        return std::nullopt;
    const auto hash = hashOfFile(
        joinFolder(source_.lapFolder(), QString::fromStdString(files.files[file].name)));
    if (!hash)
        return std::nullopt;
    const auto id = library->resolve(*hash);
    return id.ok() ? std::optional(*id.value) : std::nullopt;
}

QStringList LibraryLink::filesMissing()
{
    QStringList missing;
    const LoadedFiles files = source_.lapFiles();
    for (std::size_t i = 0; i < files.files.size(); ++i) {
        if (librarySessionOf(i))
            continue;
        // A file loaded from the library is in it; one gone from its folder cannot be added.
        if (!files.files[i].title.empty())
            continue;
        const QString path =
            joinFolder(source_.lapFolder(), QString::fromStdString(files.files[i].name));
        if (QFileInfo(path).isFile() && !missing.contains(path))
            missing << path;
    }
    return missing;
}

void LibraryLink::updateAnalysis()
{
    if (!analysis_)
        return;
    analysis_->setAddToLibrary(int(filesMissing().size()));
}

LibraryResult<ComparisonReference>
LibraryLink::analysisReference(const ReferenceChoice& choice, const std::vector<ComparedLap>& laps)
{
    if (!analysis_)
        return LibraryError{LibraryError::Kind::BadInput, tr("the analysis window is closed")};
    const SessionAnalysis& a = analysis_->analysis();
    // The list may have changed since the laps were chosen.
    if (comparedLaps_.empty() || comparedLaps_.front() >= a.laps().size())
        return LibraryError{LibraryError::Kind::BadInput,
                            tr("the laps changed in the table: choose them again")};
    const std::size_t session = a.sessionOf(comparedLaps_.front());
    const auto lapAt = [&a](ReferenceKind kind, const QString& what, std::size_t lap) {
        return referenceOfLap(kind,
                              tr("%1 %2 (%3)").arg(what, timeText(a.laps()[lap].lapTime()),
                                                   lapReference(a, lap)),
                              a.laps()[lap], a.session(a.sessionOf(lap)).unit);
    };
    switch (choice.kind) {
    case ReferenceKind::SessionBest:
    case ReferenceKind::Target: {
        const auto& best = a.stats(session).bestLap;
        if (!best)
            return LibraryError{LibraryError::Kind::BadInput,
                                tr("%1 has no counted lap to take as its best")
                                    .arg(sessionName(a, session))};
        const ComparisonReference r = lapAt(ReferenceKind::SessionBest, tr("session best"),
                                            a.session(session).firstLap + best->lap);
        if (choice.kind == ReferenceKind::SessionBest)
            return r;
        return targetReference(tr("target %1").arg(timeText(choice.target)), choice.target, r);
    }
    case ReferenceKind::DayBest: {
        const DayStats& day = a.day();
        if (!day.bestLap)
            return LibraryError{LibraryError::Kind::BadInput,
                                tr("the day has no counted lap to take as its best")};
        return lapAt(ReferenceKind::DayBest, tr("day's best"), day.bestLap->lap);
    }
    case ReferenceKind::PersonalBest:
    case ReferenceKind::Ideal:
        break;
    }
    LapLibrary* library = access_->existing();
    const std::int64_t id = laps.front().session;
    if (!library || id == 0)
        return LibraryError{LibraryError::Kind::BadInput,
                            tr("%1 is not in the lap library: add it, with its track and "
                               "vehicle, to compare with a personal best")
                                .arg(sessionName(a, session))};
    return LibraryComparison(*library).reference(id, laps.front().lap.sectorCount(), choice);
}

void LibraryLink::compareLaps(const std::vector<std::size_t>& laps)
{
    if (!analysis_ || laps.empty())
        return;
    const SessionAnalysis& a = analysis_->analysis();
    comparedLaps_ = laps;
    ComparisonInput input;
    std::map<std::size_t, std::int64_t> ids;
    for (std::size_t lap : laps) {
        if (lap >= a.laps().size())
            return;
        const std::size_t session = a.sessionOf(lap);
        if (!ids.contains(session)) {
            const auto id = analysis_->sessionsFromFiles() ? librarySessionOf(session) : std::nullopt;
            ids[session] = id.value_or(0);
        }
        input.laps.push_back({lapReference(a, lap), a.laps()[lap], a.session(session).unit,
                              ids[session]});
    }
    input.reference = [this](const ReferenceChoice& choice, const std::vector<ComparedLap>& laps) {
        return analysisReference(choice, laps);
    };
    if (!comparison_)
        comparison_ = new ComparisonDialog(analysis_);
    comparison_->setInput(std::move(input));
    comparison_->compare();
    comparison_->show();
    comparison_->raise();
    comparison_->activateWindow();
}
