#include "CsvExport.h"

#include "RecordVerify.h"

#include "proof/RecordCsv.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFaultText.h"
#include "settings/StoreReader.h"
#include "settings/StoreFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <set>
#include <cstdio>
#include <sys/stat.h>

namespace history {

namespace {

const QString kRefuseStoreFolder =
    QStringLiteral("it is in the settings folder \"%1\", and writing there could destroy the settings file");
const QString kRefuseFolder = QStringLiteral("it is a folder");
const QString kRefuseNotFile = QStringLiteral("it is not a regular file, so it would be replaced");
const QString kRefuseDanglingLink = QStringLiteral("it is a link to a file that does not exist");

// The folder as the file system resolves it, links followed; the cleaned path where it does not exist.
QString resolvedFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

bool inside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + u'/');
}

// The system's reason for a failed write, in the store's own words where they exist.
QString writeReason(int error, const QString &fallback)
{
    if (error == ENOSPC || error == EDQUOT)
        return storetext::kReasonDiskFull;
    return error != 0 ? storefiles::systemReason(error) : fallback;
}

// One line of the chained record, with the `valid` column (empty on lines other than tries) put in
// before the chain's four columns, which never hold a comma.
QString chainedLine(const QString &account, const proof::ChainRow &row, const QString &valid)
{
    QString line = proof::recordCsvLine(account, row);
    qsizetype at = line.size();
    for (int commas = 0; commas < 4; ++commas)
        at = line.lastIndexOf(u',', at - 1);
    return line.insert(at, u',' + valid);
}

QByteArray csvBytes(const AccountHistory &account, const std::vector<proof::ChainRow> &rows)
{
    QByteArray text = csvHeader().toUtf8();
    text.reserve(qsizetype(rows.size()) * 110 + text.size());
    std::set<std::pair<std::int64_t, std::int64_t>> rejected;
    for (const RejectedTry &row : account.rejected)
        rejected.insert({row.record.runId, row.record.tryNumber});
    // Every row of the chain in record order (tries from before the chain first).
    for (const proof::ChainRow &row : rows) {
        const bool isTry = row.kind == proof::RowKind::Try;
        const QString valid = !isTry                                     ? QString()
                              : rejected.count({row.run, row.tryNumber}) ? QStringLiteral("0")
                                                                         : QStringLiteral("1");
        text += chainedLine(account.userName, row, valid).toUtf8();
    }
    return text;
}

bool writeStandardOutput(const QByteArray &text, QString *reason)
{
    errno = 0;
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()) ||
        std::fflush(stdout) != 0) {
        *reason = writeReason(errno, QStringLiteral("standard output cannot be written"));
        return false;
    }
    return true;
}

} // namespace

QString csvHeader()
{
    return QStringLiteral(
        "time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms,valid,kind,commitment,"
        "seed,chain\r\n");
}

QString csvField(const QString &text)
{
    QString field = text;
    // A spreadsheet runs a cell that starts like this as a formula (OWASP's CSV injection rule).
    // A leading single quote is doubled, so a reader that takes one off gets the text back.
    if (!field.isEmpty() && QStringLiteral("=+-@\t\r'").contains(field.front()))
        field.prepend(u'\'');
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QString csvRow(const QString &account, const TryRecord &record, bool valid)
{
    QString layout;
    if (record.game == Game::FindHidden) {
        for (const std::int8_t face : record.layout)
            layout += QString::number(face);
    }
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(record.timeUtcMs, Qt::UTC);
    // A time no calendar year 0000..9999 holds is left empty rather than written as a misleading date.
    const bool dated = time.date().year() >= 0 && time.date().year() <= 9999;
    const QStringList fields{dated ? time.toString(Qt::ISODateWithMs) : QString(),
                             csvField(account),
                             QString::number(record.runId),
                             QString::number(record.tryNumber),
                             gameName(record.game),
                             deckName(record.deck),
                             QString::number(record.blind ? 1 : 0),
                             QString::number(record.guess),
                             QString::number(record.target),
                             layout,
                             QString::number(record.hit ? 1 : 0),
                             record.responseMs >= 0 ? QString::number(record.responseMs) : QString(),
                             QString::number(valid ? 1 : 0)};
    return fields.join(u',') + QStringLiteral("\r\n");
}

std::optional<QString> exportRefusal(const QString &filePath, const QString &storePath)
{
    if (filePath == kStandardOutput)
        return std::nullopt;
    const QFileInfo target(filePath);
    const QString storeFolder = resolvedFolder(QFileInfo(storePath).absolutePath());
    // Where the bytes would land: a link's target, or the new name in its (resolved) folder.
    const QString landing = target.exists()
                                ? target.canonicalFilePath()
                                : resolvedFolder(target.absolutePath()) + u'/' + target.fileName();
    if (inside(landing, storeFolder) || inside(resolvedFolder(target.absolutePath()), storeFolder))
        return kRefuseStoreFolder.arg(QDir::toNativeSeparators(storeFolder));
    struct stat status;
    const QByteArray name = QFile::encodeName(filePath);
    if (::stat(name.constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            return kRefuseFolder;
        if (!S_ISREG(status.st_mode))
            return kRefuseNotFile;
    } else if (::lstat(name.constData(), &status) == 0) {
        return kRefuseDanglingLink;
    }
    return std::nullopt;
}

bool exportCsv(const QString &filePath, const QString &storePath, const AccountHistory &account,
               QString *reason)
{
    if (const std::optional<QString> refusal = exportRefusal(filePath, storePath)) {
        *reason = *refusal;
        return false;
    }
    std::vector<proof::ChainRow> rows;
    StoreReader reader(storePath);
    if (!reader.open(reason))
        return false;
    reader.beginSnapshot();
    const bool read = readChainRows(reader.connection(), SettingsStore::foldName(account.userName), &rows);
    reader.endSnapshot();
    if (!read) {
        *reason = reader.lastError();
        return false;
    }
    const QByteArray text = csvBytes(account, rows);
    if (filePath == kStandardOutput)
        return writeStandardOutput(text, reason);
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = writeReason(errno, file.errorString());
        return false;
    }
    errno = 0;
    if (file.write(text) != text.size() || !file.flush()) {
        *reason = writeReason(errno, file.errorString());
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        *reason = writeReason(errno, file.errorString());
        return false;
    }
    return true;
}

} // namespace history
