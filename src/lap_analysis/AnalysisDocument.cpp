#include "lap_analysis/AnalysisDocument.h"

#include "lap_analysis/SessionFeed.h"

#include <algorithm>

AnalysisDocument::AnalysisDocument(QObject* parent) : QObject(parent) {}

void AnalysisDocument::load(LapTableText table, LoadedFiles files)
{
    Load load = prepareLoad();
    load.run(std::move(table), std::move(files));
    finishLoad(std::move(load));
}

AnalysisDocument::Load AnalysisDocument::prepareLoad() const
{
    Load load;
    load.analysis_ = analysis_.choicesOnly();
    load.generation_ = generation_;
    return load;
}

void AnalysisDocument::Load::run(LapTableText table, LoadedFiles files)
{
    headerFound_ = table.headerFound;
    skippedLines_ = std::move(table.skippedLines);
    files_ = std::move(files);
    SessionFeed feed;
    sessionsFromFiles_ = feed.addTable(std::move(table), files_.files);
    feed.loadInto(analysis_);
}

bool AnalysisDocument::finishLoad(Load&& load)
{
    if (load.generation_ != generation_)
        return false;
    analysis_ = std::move(load.analysis_);
    headerFound_ = load.headerFound_;
    sessionsFromFiles_ = load.sessionsFromFiles_;
    skippedLines_ = std::move(load.skippedLines_);
    files_ = std::move(load.files_);
    emit changed(Change::Laps);
    return true;
}

void AnalysisDocument::setLapCounted(std::size_t lap, bool counted)
{
    if (lap >= analysis_.laps().size() || (analysis_.status(lap) == LapStatus::Counted) == counted)
        return;
    analysis_.toggleLap(lap);
    ++generation_;
    emit changed(Change::Figures);
}

void AnalysisDocument::setExcludeSlowerPercent(double percent)
{
    if (percent == analysis_.excludeSlowerPercent())
        return;
    analysis_.setExcludeSlowerPercent(percent);
    ++generation_;
    emit changed(Change::Figures);
}

void AnalysisDocument::resetChoices()
{
    analysis_.resetChoices();
    ++generation_;
    emit changed(Change::Figures);
}

SummaryNotes AnalysisDocument::notes() const
{
    SummaryNotes notes;
    notes.excludeSlowerPercent = analysis_.excludeSlowerPercent();
    const auto failed = std::find_if(files_.files.rbegin(), files_.files.rend(),
                                     [](const LoadedFile& f) { return !f.fault.empty(); });
    if (failed != files_.files.rend()) {
        notes.incomplete = true;
        notes.fault = failed->name + ": " + failed->fault;
        notes.faultFile = failed->name;
        notes.faultDetail = failed->fault;
        notes.faultRecord = failed->faultRecord;
        notes.unread = files_.unread;
    }
    if (!skippedLines_.empty())
        notes.skipped.push_back({{}, skippedLines_, std::int64_t(skippedLines_.size())});
    return notes;
}
