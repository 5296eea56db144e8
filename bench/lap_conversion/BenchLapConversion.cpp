// Speed of the converter: decode + layout in records per second in-process (from memory and
// streamed from a file), and miren-convert in MB/s of input, on a 400,000-lap file with all seven
// blocks present.
#include "BilBuilder.h"
#include "lap_conversion/LapFile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLaps = 400000;
constexpr int kRounds = 3;

double seconds(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString input = dir.filePath("BENCH.BIL");
    BilBuilder file;
    file.raw(fullLaps(kLaps));
    if (!file.writeTo(input)) {
        std::fprintf(stderr, "bench_lap_conversion: cannot write %s\n", qPrintable(input));
        return 1;
    }
    const QByteArray& bytes = file.bytes();
    const double inputMB = static_cast<double>(bytes.size()) / 1e6;
    std::printf("input: %d laps, 7 blocks each, %.1f MB\n", kLaps, inputMB);

    // In memory: decode and layout only; the text goes to a sink that just counts it.
    double best = 1e9;
    std::size_t textBytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        textBytes = 0;
        LapConverter converter('.', [&textBytes](std::string_view t) { textBytes += t.size(); });
        QElapsedTimer timer;
        timer.start();
        converter.startFile();
        converter.feed({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size())});
        converter.flush();
        best = std::min(best, seconds(timer));
    }
    std::printf("decode + layout (memory): %.0f records/s, %.0f MB/s of text (%.1f MB)\n",
                kLaps / best, static_cast<double>(textBytes) / 1e6 / best,
                static_cast<double>(textBytes) / 1e6);

    // Streamed from the file in chunks (page cache warm).
    best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        LapConverter converter('.', [](std::string_view) {});
        QElapsedTimer timer;
        timer.start();
        const LapFileResult result = convertLapFile(input, converter);
        converter.flush();
        if (!result.ok()) {
            std::fprintf(stderr, "bench_lap_conversion: %s\n", qPrintable(result.describe()));
            return 1;
        }
        best = std::min(best, seconds(timer));
    }
    std::printf("decode + layout (file):   %.0f records/s\n", kLaps / best);

    // The command-line converter, writing its output file through QSaveFile.
    best = 1e9;
    const QString output = dir.filePath("out.txt");
    for (int round = 0; round < kRounds; ++round) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(MIREN_CONVERT_PATH), {"-o", output, input});
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "bench_lap_conversion: miren-convert failed: %s\n",
                         process.readAllStandardError().constData());
            return 1;
        }
        best = std::min(best, seconds(timer));
    }
    std::printf("miren-convert -o: %.1f MB/s of input, %.0f records/s (%.2f s, output %.1f MB)\n",
                inputMB / best, kLaps / best, best,
                static_cast<double>(QFileInfo(output).size()) / 1e6);
    return 0;
}
