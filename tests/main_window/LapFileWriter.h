#pragma once

// Writes small lap record files for the window's tests and benchmark: 228-byte records of
// big-endian words (record word, lap index, then 7 blocks of 16 words whose first is the time).

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <array>

namespace lapfile {

using Block = std::array<quint16, 16>;

inline constexpr int kRecordSize = 228;

// One record; blocks after the given ones stay zero, so they are absent.
inline QByteArray record(quint16 recordWord, quint16 lapIndex, const QList<Block>& blocks)
{
    QByteArray bytes(kRecordSize, '\0');
    auto put = [&bytes](int offset, quint16 word) {
        bytes[offset] = char(word >> 8);
        bytes[offset + 1] = char(word & 0xFF);
    };
    put(0, recordWord);
    put(2, lapIndex);
    for (int k = 0; k < blocks.size() && k < 7; ++k) {
        for (int w = 0; w < 16; ++w)
            put(4 + 32 * k + 2 * w, blocks[k][w]);
    }
    return bytes;
}

// A plausible block: time, rpm, speed, TMP1, TMP2, four unused words, GX, GY, LENGTH.
inline Block block(quint16 time, quint16 seed = 0)
{
    return Block{time,
                 quint16(3000 + seed % 500),
                 quint16(9000 + seed % 900),
                 quint16(40 + seed % 20),
                 quint16(150 + seed % 50),
                 quint16(70 + seed % 10),
                 quint16(90 + seed % 10),
                 quint16(60 + seed % 10),
                 quint16(80 + seed % 10),
                 0,
                 0,
                 0,
                 0,
                 quint16(seed % 150),
                 quint16(seed % 120),
                 quint16(800 + seed % 2000)};
}

// A file of `laps` lap records with all seven blocks present.
inline QByteArray fullLaps(int laps, quint16 recordWord = 2)
{
    QByteArray bytes;
    bytes.reserve(laps * kRecordSize);
    for (int lap = 0; lap < laps; ++lap) {
        QList<Block> blocks;
        for (int k = 0; k < 7; ++k)
            blocks.append(block(quint16(k == 0 ? 6000 + lap % 3000 : 800 + k * 10 + lap % 90),
                                quint16(lap * 7 + k)));
        bytes += record(recordWord, quint16(lap), blocks);
    }
    return bytes;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace lapfile
