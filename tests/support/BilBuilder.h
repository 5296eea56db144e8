#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

// The sixteen words of one block as they are stored, the four unshown ones included.
struct BilBlock {
    quint16 time = 0;
    quint16 rpmMin = 0;
    quint16 rpmMax = 0;
    quint16 speedMin = 0;
    quint16 speedMax = 0;
    quint16 tmp1Min = 0;
    quint16 tmp1Max = 0;
    quint16 tmp2Min = 0;
    quint16 tmp2Max = 0;
    std::array<quint16, 4> unshown{};
    quint16 gxMax = 0;
    quint16 gyMax = 0;
    quint16 length = 0;
};

// Writes lap record files word by word, big-endian, any value allowed, so tests can make both
// good and deliberately faulty files.
class BilBuilder {
public:
    static constexpr int kRecordSize = 228;
    static constexpr int kBlockSize = 32;

    // Byte offset of block k (0 to 6) inside a record.
    static constexpr int blockOffset(int k) { return 4 + kBlockSize * k; }

    // One raw word appended as it is, high byte first.
    BilBuilder& word(quint16 value);
    // One whole record: the record word, the lap index and the given blocks (at most seven); the
    // blocks after them are zero, so the first of them ends the record's data.
    BilBuilder& lap(quint16 recordWord, quint16 lapIndex, const std::vector<BilBlock>& blocks);
    // A record whose record word is 0 and every other byte 0: the end of the file's data.
    BilBuilder& endRecord();
    // Raw bytes appended as they are (e.g. a piece shorter than a record).
    BilBuilder& raw(const QByteArray& bytes);
    // Overwrites the word at byteOffset from the start of the file.
    BilBuilder& setWord(qsizetype byteOffset, quint16 value);
    // Overwrites the word at byteOffset inside record `record` (0-based).
    BilBuilder& setRecordWord(int record, int byteOffset, quint16 value);

    const QByteArray& bytes() const { return bytes_; }
    // Writes the bytes to path; false when the file cannot be written.
    bool writeTo(const QString& path) const;

private:
    BilBuilder& block(const BilBlock& b);
    QByteArray bytes_;
};

// The block values of the lap table's worked example: lap index 2, record word 2, block 0 and
// block 1 present.
std::vector<BilBlock> workedExampleBlocks();

// A file of `laps` lap records (lap indexes from 0, wrapping before 32767) with all seven blocks
// present and varied, plausible values: the load of benchmarks and large-file tests.
QByteArray fullLaps(int laps, quint16 recordWord = 2);

// The committed sample files: name and contents.
struct SampleFile {
    QString name;
    QByteArray bytes;
};
std::vector<SampleFile> sampleFiles();
