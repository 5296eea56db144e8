#include "lap_library/SessionBundle.h"

#include "lap_library/ZipArchive.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const QString kSessionEntry = QStringLiteral("session.json");
const QString kReportEntry = QStringLiteral("report.pdf");
const QString kFormat = QStringLiteral("miren-loader session");
constexpr int kBundleVersion = 1;
// The JSON holds the sheet: 1 MB of notes and thousands of tags fit well within this.
constexpr qint64 kMaxSheetBytes = 64 * 1024 * 1024;

QString entryNameOf(const QString& fileName)
{
    return isSafeEntryName(fileName) && !fileName.contains(u'/') && fileName != kSessionEntry &&
                   fileName != kReportEntry
               ? fileName
               : QStringLiteral("session.BIL");
}

} // namespace

QByteArray writeBundle(const SessionBundle& bundle)
{
    const QString lapEntry = entryNameOf(bundle.fileName);
    QJsonObject session{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kBundleVersion},
        {QStringLiteral("file"), lapEntry},
        {QStringLiteral("file_name"), bundle.fileName},
        {QStringLiteral("sha256"), bundle.sha256},
        {QStringLiteral("date"), bundle.date.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("sheet"), sheetToJson(bundle.sheet)},
    };
    std::vector<ZipEntry> entries{
        {kSessionEntry, QJsonDocument(session).toJson(QJsonDocument::Indented)},
        {lapEntry, bundle.bytes}};
    if (!bundle.reportPdf.isEmpty())
        entries.push_back({kReportEntry, bundle.reportPdf});
    return writeZip(entries, bundle.date.isValid() ? bundle.date : QDateTime::currentDateTime());
}

std::optional<SessionBundle> readBundle(QByteArrayView zip, QString& error)
{
    const auto fail = [&error](const QString& reason) {
        error = reason;
        return std::nullopt;
    };
    if (zip.size() > kMaxBundleBytes)
        return fail(QCoreApplication::translate("SessionBundle", "the bundle is too large"));
    ZipLimits limits;
    limits.maxTotalBytes = kMaxBundleBytes;
    const auto entries = readZip(zip, error, limits);
    if (!entries)
        return std::nullopt;
    const auto entry = [&entries](const QString& name) -> const ZipEntry* {
        for (const ZipEntry& e : *entries)
            if (e.name == name)
                return &e;
        return nullptr;
    };
    const ZipEntry* sessionEntry = entry(kSessionEntry);
    if (!sessionEntry)
        return fail(QCoreApplication::translate("SessionBundle", "it holds no session.json"));
    if (sessionEntry->data.size() > kMaxSheetBytes)
        return fail(QCoreApplication::translate("SessionBundle", "session.json is too large"));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(sessionEntry->data, &parseError);
    if (!document.isObject())
        return fail(QCoreApplication::translate("SessionBundle", "session.json is not a JSON object: %1").arg(parseError.errorString()));
    const QJsonObject o = document.object();
    const auto missing = [&fail](const char* field) {
        return fail(QCoreApplication::translate("SessionBundle", "session.json lacks the field \"%1\" or has it of the wrong type")
                        .arg(QLatin1String(field)));
    };
    if (o.value(QStringLiteral("format")).toString() != kFormat)
        return missing("format");
    if (!o.value(QStringLiteral("version")).isDouble())
        return missing("version");
    if (o.value(QStringLiteral("version")).toInt() > kBundleVersion)
        return fail(QCoreApplication::translate("SessionBundle", "the bundle was made by a newer version of this tool"));
    for (const char* field : {"file", "file_name", "sha256", "date"})
        if (!o.value(QLatin1String(field)).isString())
            return missing(field);
    if (!o.value(QStringLiteral("sheet")).isObject())
        return missing("sheet");

    SessionBundle bundle;
    const QString lapEntry = o.value(QStringLiteral("file")).toString();
    const ZipEntry* lap = entry(lapEntry);
    if (!lap || lapEntry == kSessionEntry || lapEntry == kReportEntry)
        return fail(QCoreApplication::translate("SessionBundle", "the lap file \"%1\" that session.json names is not in the bundle")
                        .arg(lapEntry));
    bundle.fileName = o.value(QStringLiteral("file_name")).toString();
    if (bundle.fileName.isEmpty() || !isSafeEntryName(bundle.fileName) ||
        bundle.fileName.contains(u'/'))
        bundle.fileName = lapEntry;
    bundle.bytes = lap->data;
    bundle.sha256 = o.value(QStringLiteral("sha256")).toString().toLower();
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    if (!hex.match(bundle.sha256).hasMatch())
        return missing("sha256");
    const QString actual = QString::fromLatin1(
        QCryptographicHash::hash(bundle.bytes, QCryptographicHash::Sha256).toHex());
    if (actual != bundle.sha256)
        return fail(QCoreApplication::translate("SessionBundle", "the lap file does not match the hash session.json gives: it was changed "
                       "or damaged"));
    bundle.date = QDateTime::fromString(o.value(QStringLiteral("date")).toString(), Qt::ISODate);
    if (!bundle.date.isValid())
        return missing("date");
    QString sheetError;
    const auto sheet = sheetFromJson(o.value(QStringLiteral("sheet")).toObject(), sheetError);
    if (!sheet)
        return fail(QCoreApplication::translate("SessionBundle", "the sheet's field \"%1\" has the wrong type").arg(sheetError));
    bundle.sheet = *sheet;
    if (const ZipEntry* report = entry(kReportEntry))
        bundle.reportPdf = report->data;
    return bundle;
}
