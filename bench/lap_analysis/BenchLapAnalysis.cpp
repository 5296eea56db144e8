// Speed of the lap analysis: session statistics over 1,000,000 laps, the lap table text of
// 400,000 laps read back, and miren-convert --format csv of a 400,000-lap file (from the .BIL and
// from its table text), with the converter's peak memory at a tenth and at the full size.
#include "BilBuilder.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/SessionStats.h"
#include "lap_conversion/LapConverter.h"
#include "lap_conversion/LapTable.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kStatsLaps = 1000000;
constexpr int kLaps = 400000;
constexpr int kRounds = 3;

double seconds(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

// The laps of lap record bytes.
std::vector<LapData> lapsOf(const QByteArray& bytes)
{
    std::vector<LapData> laps;
    LapRecord record;
    RecordFault fault;
    for (auto rest = bytesOf(bytes); rest.size() >= kRecordSize; rest = rest.subspan(kRecordSize)) {
        if (decodeLapRecord(rest.first(kRecordSize), record, fault) != RecordStatus::Lap)
            break;
        laps.push_back(lapFromRecord(record));
    }
    return laps;
}

// Runs miren-convert with its output thrown away; the best of kRounds in seconds, or -1.
double convertSeconds(const QStringList& args)
{
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(MIREN_CONVERT_PATH), args);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "bench_lap_analysis: miren-convert failed: %s\n",
                         process.readAllStandardError().constData());
            return -1;
        }
        best = std::min(best, seconds(timer));
    }
    return best;
}

// The highest peak memory of any finished child so far, in MB.
double childPeakMB()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The table text of lap record bytes, as miren-convert writes it.
std::string tableOf(const QByteArray& bil)
{
    std::string text;
    LapConverter converter('.', [&text](std::string_view batch) { text.append(batch); });
    converter.feed(bytesOf(bil));
    converter.flush();
    text += kLineEnd;
    return text;
}

bool writeText(const QString& path, const std::string& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size());
}

// miren-convert's speed and peak memory. Runs first, while this process is still small: a child
// counts the pages it shares with its parent until it starts the converter.
bool benchConverter()
{
    QTemporaryDir dir;
    const QString small = dir.filePath("SMALL.BIL");
    const QString input = dir.filePath("BENCH.BIL");
    const QString table = dir.filePath("BENCH.txt");
    {
        BilBuilder smallFile;
        smallFile.raw(fullLaps(kLaps / 10));
        BilBuilder file;
        file.raw(fullLaps(kLaps));
        if (!smallFile.writeTo(small) || !file.writeTo(input) ||
            !writeText(table, tableOf(file.bytes()))) {
            std::fprintf(stderr, "bench_lap_analysis: cannot write the input files\n");
            return false;
        }
    }
    // A tenth of the laps first, so the peak of the full run shows whether memory grows.
    const double smallCsv = convertSeconds({"--format", "csv", small});
    const double smallPeak = childPeakMB();
    const double csv = convertSeconds({"--format", "csv", input});
    const double csvPeak = childPeakMB();
    const double csvText = convertSeconds({"--format", "csv", table});
    const double textPeak = childPeakMB();
    const double tablePlain = convertSeconds({input});
    const double summary = convertSeconds({"--format", "summary", input});
    if (smallCsv < 0 || csv < 0 || csvText < 0 || tablePlain < 0 || summary < 0)
        return false;
    std::printf("miren-convert --format csv, .BIL: %.0f laps/s (%.2f s)  [target >= 1,000,000 "
                "laps/s]\n",
                kLaps / csv, csv);
    std::printf("miren-convert --format csv, table text: %.0f laps/s (%.2f s)\n", kLaps / csvText,
                csvText);
    std::printf("miren-convert (table): %.0f laps/s; --format summary: %.0f laps/s\n",
                kLaps / tablePlain, kLaps / summary);
    std::printf("peak memory of miren-convert --format csv: %.1f MB at %d laps, %.1f MB at %d "
                "laps (.BIL), %.1f MB with the table text too\n",
                smallPeak, kLaps / 10, csvPeak, kLaps, textPeak);
    std::printf("peak memory of any run, --format summary included (it holds the laps): %.1f MB\n",
                childPeakMB());
    return true;
}

} // namespace

int main()
{
    if (!benchConverter())
        return 1;

    // Statistics: 1,000,000 laps with all seven blocks.
    const QByteArray bil = fullLaps(kLaps);
    {
        std::vector<LapData> laps = lapsOf(bil);
        while (laps.size() < static_cast<std::size_t>(kStatsLaps))
            laps.push_back(laps[laps.size() % kLaps]);
        double best = 1e9;
        int counted = 0;
        for (int round = 0; round < kRounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            const SessionStats stats = analyseSession(laps);
            best = std::min(best, seconds(timer));
            counted = stats.countedCount;
        }
        std::printf("statistics over %d laps: %.3f s (%d counted)  [target < 0.2 s]\n", kStatsLaps,
                    best, counted);
    }

    // The table text read back line by line, laps taken as they come (as the converter does).
    const std::string text = tableOf(bil);
    double best = 1e9;
    std::size_t lapsRead = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        LapTableReader reader;
        lapsRead = 0;
        std::string_view rest = text;
        for (std::size_t lf; (lf = rest.find('\n')) != std::string_view::npos;
             rest.remove_prefix(lf + 1)) {
            reader.feedLine(rest.substr(0, lf));
            lapsRead += reader.laps().size();
            reader.laps().clear();
        }
        best = std::min(best, seconds(timer));
    }
    std::printf("table read back: %.0f lines/s, %.0f MB/s (%zu laps, %.1f MB)  [target >= "
                "1,000,000 lines/s]\n",
                (kLaps + 2) / best, static_cast<double>(text.size()) / 1e6 / best, lapsRead,
                static_cast<double>(text.size()) / 1e6);
    return 0;
}
