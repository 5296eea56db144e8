#include "cli/ConvertSheets.h"

#include "lap_library/LapFileScan.h"
#include "lap_library/LapLibrary.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <map>

std::vector<std::optional<SessionSheet>> librarySheets(RunInputs& inputs,
                                                       const std::vector<std::size_t>& inputOf)
{
    std::vector<std::optional<SessionSheet>> sheets(inputOf.size());
    // Only an existing library is read; a missing or broken one leaves the report as it was.
    const QString path = LapLibrary::defaultPath();
    if (!QFileInfo(path).isFile())
        return sheets;
    auto opened = LapLibrary::open(path, LapLibrary::Mode::ReadOnly);
    if (!opened.ok())
        return sheets;
    LapLibrary& library = **opened.value;
    std::map<std::size_t, std::optional<SessionSheet>> byInput;
    for (std::size_t s = 0; s < inputOf.size(); ++s) {
        const std::size_t input = inputOf[s];
        auto known = byInput.find(input);
        if (known == byInput.end()) {
            std::optional<SessionSheet> sheet;
            if (inputs.kind(qsizetype(input)) == LapInputKind::Records) {
                // A regular file is opened anew (and must still be the file read); a stream
                // cannot be, and has no sheet.
                auto device = inputs.open(qsizetype(input), RunInputs::Pass::Last);
                if (device && device.value()->size() <= kMaxLapFileBytes) {
                    const QByteArray bytes = device.value()->readAll();
                    const QString hash = QString::fromLatin1(
                        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
                    if (const auto id = library.resolve(hash); id.ok())
                        if (const auto info = library.session(*id.value); info.ok())
                            sheet = info.value->sheet;
                }
            }
            known = byInput.emplace(input, std::move(sheet)).first;
        }
        sheets[s] = known->second;
    }
    return sheets;
}
