// The settings reader on any bytes.
//
// Invariants checked:
// - no value is longer than the input, all values together are not either, and no value holds
//   a line end;
// - asking for fewer values gives a prefix of the longer answer;
// - the two folders exist exactly when the file holds two values, each no longer than its bytes;
// - writing the two folders and reading the file back gives them again, unless a folder holds a
//   double quote followed (after blanks) by a comma, which the file format cannot carry.
#include "FuzzCheck.h"
#include "settings/DelimitedValues.h"
#include "settings/FolderSettings.h"

namespace {

bool carriedByFileFormat(const QString& folder)
{
    for (qsizetype i = folder.indexOf(u'"'); i >= 0; i = folder.indexOf(u'"', i + 1)) {
        qsizetype after = i + 1;
        while (after < folder.size() && (folder[after] == u' ' || folder[after] == u'\t'))
            ++after;
        if (after < folder.size() && folder[after] == u',')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));

    const QList<QByteArray> values = readDelimitedValues(bytes, 8);
    FUZZ_CHECK(values.size() <= 8);
    qsizetype total = 0;
    for (const QByteArray& value : values) {
        FUZZ_CHECK(value.size() <= bytes.size());
        FUZZ_CHECK(!value.contains('\r') && !value.contains('\n'));
        total += value.size();
    }
    FUZZ_CHECK(total <= bytes.size());

    const QList<QByteArray> two = readDelimitedValues(bytes, 2);
    FUZZ_CHECK(two == values.mid(0, 2));

    const auto folders = readFolderSettings(bytes);
    FUZZ_CHECK(folders.has_value() == (values.size() >= 2));
    if (!folders)
        return 0;
    // The system encoding gives at most one UTF-16 unit per byte.
    FUZZ_CHECK(folders->first.size() <= values[0].size());
    FUZZ_CHECK(folders->second.size() <= values[1].size());

    const QByteArray file = folderSettingsBytes(folders->first, folders->second);
    FUZZ_CHECK(file.startsWith('"') && file.endsWith("\"\r\n"));
    if (carriedByFileFormat(folders->first) && carriedByFileFormat(folders->second)) {
        const auto back = readFolderSettings(file);
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(back->first == folders->first);
        FUZZ_CHECK(back->second == folders->second);
    }
    return 0;
}
