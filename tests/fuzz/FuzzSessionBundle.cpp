// The session bundle reader on any bytes taken as a zip.
//
// Invariants checked:
// - a bundle read holds a lap file whose SHA-256 is the one it names, under a plain file name;
// - written again and read back, it gives the same bundle.
#include "FuzzCheck.h"
#include "lap_library/SessionBundle.h"
#include "lap_library/ZipArchive.h"

#include <QCryptographicHash>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const QByteArrayView zip(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto bundle = readBundle(zip, error);
    if (!bundle) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(QCryptographicHash::hash(bundle->bytes, QCryptographicHash::Sha256).toHex() ==
               bundle->sha256.toLatin1());
    FUZZ_CHECK(isSafeEntryName(bundle->fileName) && !bundle->fileName.contains(u'/'));
    const auto again = readBundle(writeBundle(*bundle), error);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->bytes == bundle->bytes && again->sheet == bundle->sheet &&
               again->date == bundle->date && again->reportPdf == bundle->reportPdf);
    return 0;
}
