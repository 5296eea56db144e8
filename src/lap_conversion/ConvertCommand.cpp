#include "lap_conversion/ConvertCommand.h"

#include "lap_conversion/LapFile.h"

namespace {

// Takes the first name off GET_NAME: the text before its first carriage return, or all of it
// when there is none.
QString takeName(QString& names)
{
    const qsizetype cr = names.indexOf(QLatin1Char('\r'));
    if (cr < 0) {
        QString name = names;
        names.clear();
        return name;
    }
    QString name = names.left(cr);
    names.remove(0, cr + 1);
    return name;
}

} // namespace

void convertLapFiles(SharedState& state, TextView& view, const WarningFn& warn, char decimalPoint)
{
    if (state.GET_NAME.isEmpty())
        return;
    // The view is cleared once the first file has been opened, as Text load does: a file that
    // vanished since the chooser listed it must not cost the user the table on screen.
    bool cleared = false;
    const auto clearOnce = [&view, &cleared] {
        if (!cleared)
            view.clear();
        cleared = true;
    };
    // The view is slow per call, so the text reaches it in batches; the result is the same as
    // appending every line on its own.
    LapConverter converter(decimalPoint, [&view, &clearOnce](std::string_view text) {
        clearOnce();
        view.append(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    });
    while (!state.GET_NAME.isEmpty()) {
        const QString name = takeName(state.GET_NAME);
        const LapFileResult result = convertLapFile(joinFolder(state.PASS_NAME2, name), converter);
        if (result.error != LapFileResult::Error::Open)
            clearOnce();
        if (!result.ok()) {
            converter.flush();
            warn(QString::fromLatin1(kWarnNonFile));
            return;
        }
    }
    converter.flush();
}
