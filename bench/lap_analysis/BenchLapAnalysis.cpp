// Speed of the lap analysis: session statistics over 1,000,000 laps, the sessions of 1,000 files of
// 100 laps analysed and compared, the lap table text of
// 400,000 laps read back, and miren-convert --format csv of a 400,000-lap file (from the .BIL and
// from its table text), with the converter's peak memory at a tenth and at the full size; and
// the session report as PDF of 1,000, 16,000 and 200,000 laps.
#include "BilBuilder.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_analysis/SessionTexts.h"
#include "lap_analysis/SessionStats.h"
#include "lap_conversion/LapConverter.h"
#include "lap_conversion/LapTable.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kStatsLaps = 1000000;
constexpr int kLaps = 400000;
constexpr int kRounds = 3;

double seconds(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

// CPU time of this process so far, in seconds.
double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
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

// One run of miren-convert with its output thrown away: seconds and the peak memory of that
// process alone (fork and wait4, as QProcess cannot report it).
struct ConverterRun {
    double seconds = -1; // wall clock
    double cpuSeconds =
        0; // user + system time of the process: what the run costs on a busy machine
    double peakMB = 0;
};

ConverterRun runConverter(const QStringList& args)
{
    std::vector<QByteArray> storage{QByteArray(MIREN_CONVERT_PATH)};
    for (const QString& a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_lap_analysis: miren-convert %s failed\n",
                     qPrintable(args.join(' ')));
        return {};
    }
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {seconds(timer), cpu, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// The best time of kRounds runs and the highest peak memory.
ConverterRun bestRun(const QStringList& args)
{
    ConverterRun best{1e9, 1e9, 0};
    for (int round = 0; round < kRounds; ++round) {
        const ConverterRun run = runConverter(args);
        if (run.seconds < 0)
            return run;
        best.seconds = std::min(best.seconds, run.seconds);
        best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
        best.peakMB = std::max(best.peakMB, run.peakMB);
    }
    return best;
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

// Writes the input files in a child process, so that this one stays small: a converter forked
// from it starts with a copy of its pages, which would count in the converter's peak memory.
bool writeInputs(const QString& small, const QString& input, const QString& table)
{
    const pid_t pid = fork();
    if (pid == 0) {
        BilBuilder smallFile;
        smallFile.raw(fullLaps(kLaps / 10));
        BilBuilder file;
        file.raw(fullLaps(kLaps));
        const bool ok = smallFile.writeTo(small) && file.writeTo(input) &&
                        writeText(table, tableOf(file.bytes()));
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// miren-convert's speed and peak memory.
bool benchConverter()
{
    QTemporaryDir dir;
    const QString small = dir.filePath("SMALL.BIL");
    const QString input = dir.filePath("BENCH.BIL");
    const QString table = dir.filePath("BENCH.txt");
    if (!writeInputs(small, input, table)) {
        std::fprintf(stderr, "bench_lap_analysis: cannot write the input files\n");
        return false;
    }
    const ConverterRun smallCsv = bestRun({"--format", "csv", small});
    const ConverterRun csv = bestRun({"--format", "csv", input});
    const ConverterRun csvText = bestRun({"--format", "csv", table});
    const ConverterRun plain = bestRun({input});
    const ConverterRun summary = bestRun({"--format", "summary", input});
    if (smallCsv.seconds < 0 || csv.seconds < 0 || csvText.seconds < 0 || plain.seconds < 0 ||
        summary.seconds < 0)
        return false;
    std::printf("miren-convert --format csv, .BIL: %.0f laps/s (%.2f s; by CPU time %.0f laps/s)"
                "  [target >= 1,000,000 laps/s]\n",
                kLaps / csv.seconds, csv.seconds, kLaps / csv.cpuSeconds);
    std::printf("miren-convert --format csv, table text: %.0f laps/s (%.2f s; by CPU time %.0f "
                "laps/s)\n",
                kLaps / csvText.seconds, csvText.seconds, kLaps / csvText.cpuSeconds);
    std::printf("miren-convert (table): %.0f laps/s; --format summary: %.0f laps/s\n",
                kLaps / plain.seconds, kLaps / summary.seconds);
    std::printf("peak memory, csv: %.1f MB at %d laps, %.1f MB at %d laps, %.1f MB from the "
                "table text; table: %.1f MB; summary (holds the laps): %.1f MB\n",
                smallCsv.peakMB, kLaps / 10, csv.peakMB, kLaps, csvText.peakMB, plain.peakMB,
                summary.peakMB);
    return true;
}

// The session report as PDF (miren-convert --format pdf) of one session of 1,000, 16,000 and
// 200,000 laps with all seven blocks, one run each: its time grows with the pages, so the
// largest shows whether a page costs the same wherever it stands.
bool benchReport()
{
    QTemporaryDir dir;
    for (const int laps : {1000, 16000, 200000}) {
        const QString input = dir.filePath(QStringLiteral("REPORT%1.BIL").arg(laps));
        const pid_t pid = fork();
        if (pid == 0) {
            BilBuilder file;
            file.raw(fullLaps(laps));
            _exit(file.writeTo(input) ? 0 : 1);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            return false;
        const ConverterRun run =
            runConverter({"--format", "pdf", "-o", dir.filePath("report.pdf"), input});
        if (run.seconds < 0)
            return false;
        std::printf("miren-convert --format pdf, %d laps: %.2f s (CPU time %.2f s), %.1f MB%s\n",
                    laps, run.seconds, run.cpuSeconds, run.peakMB,
                    laps == 200000 ? "  [target <= 30 s]" : "");
    }
    return true;
}

} // namespace

int main()
{
    if (!benchConverter() || !benchReport())
        return 1;

    // Statistics: 1,000,000 laps with all seven blocks.
    const QByteArray bil = fullLaps(kLaps);
    {
        std::vector<LapData> laps = lapsOf(bil);
        while (laps.size() < static_cast<std::size_t>(kStatsLaps))
            laps.push_back(laps[laps.size() % kLaps]);
        double best = 1e9;
        double bestCpu = 1e9;
        int counted = 0;
        for (int round = 0; round < kRounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            const double cpu = cpuNow();
            const SessionStats stats = analyseSession(laps);
            best = std::min(best, seconds(timer));
            bestCpu = std::min(bestCpu, cpuNow() - cpu);
            counted = stats.countedCount;
        }
        std::printf("statistics over %d laps: %.3f s (CPU time %.3f s; %d counted)  [target < 0.2 "
                    "s]\n",
                    kStatsLaps, best, bestCpu, counted);
    }

    // 1,000 sessions of 100 laps: analysed, the day found and the comparison written.
    {
        std::vector<LapData> laps = lapsOf(bil);
        laps.resize(100000);
        std::vector<SessionSpan> sessions;
        for (std::size_t s = 0; s < 1000; ++s)
            sessions.push_back(
                SessionSpan{"S" + std::to_string(s) + ".BIL", SpeedUnit::Kmh, s * 100, 100, {}});
        double best = 1e9;
        std::size_t size = 0;
        for (int round = 0; round < kRounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            SessionAnalysis analysis;
            analysis.load(laps, sessions);
            size = comparisonText(analysis).size();
            best = std::min(best, seconds(timer));
        }
        std::printf("sessions: 1000 of 100 laps analysed and compared: %.0f laps/s (%.3f s, %zu "
                    "bytes of text)  [target >= 1,000,000 laps/s]\n",
                    100000 / best, best, size);
    }

    // The table text read back line by line, laps taken as they come (as the converter does).
    const std::string text = tableOf(bil);
    double best = 1e9;
    double bestCpu = 1e9;
    std::size_t lapsRead = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = cpuNow();
        LapTableReader reader;
        lapsRead = 0;
        std::string_view rest = text;
        for (std::size_t lf; (lf = rest.find('\n')) != std::string_view::npos;
             rest.remove_prefix(lf + 1)) {
            reader.feedLine(rest.substr(0, lf));
            lapsRead += reader.laps().size();
            reader.clearLaps();
        }
        best = std::min(best, seconds(timer));
        bestCpu = std::min(bestCpu, cpuNow() - cpu);
    }
    std::printf("table read back: %.0f lines/s, %.0f MB/s (by CPU time %.0f lines/s; %zu laps, "
                "%.1f MB)  [target >= 1,000,000 lines/s]\n",
                (kLaps + 2) / best, static_cast<double>(text.size()) / 1e6 / best,
                (kLaps + 2) / bestCpu, lapsRead, static_cast<double>(text.size()) / 1e6);
    return 0;
}
