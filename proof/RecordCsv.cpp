#include "RecordCsv.h"

#include <QDateTime>
#include <QHash>

#include <limits>

namespace proof {

namespace {

constexpr std::int64_t kUnreadable = std::numeric_limits<std::int64_t>::min();

const QStringList kKindNames{QStringLiteral("run-start"), QStringLiteral("try"), QStringLiteral("run-end"),
                             QStringLiteral("series"), QStringLiteral("series-end")};
const QStringList kGameNames{QString(), QStringLiteral("plain"), QStringLiteral("find-hidden")};
const QStringList kDeckNames{QStringLiteral("zener"), QStringLiteral("colors"),
                             QStringLiteral("playing-cards")};

QString nameAt(const QStringList &names, std::int64_t index)
{
    return index >= 0 && index < names.size() ? names[qsizetype(index)] : QString::number(index);
}

std::int64_t number(const QString &text, std::int64_t whenEmpty)
{
    if (text.isEmpty())
        return whenEmpty;
    if (text.trimmed() != text)
        return kUnreadable;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return ok ? value : kUnreadable;
}

std::int64_t indexOf(const QStringList &names, const QString &name)
{
    const qsizetype index = names.indexOf(name);
    if (index >= 0 && !name.isEmpty())
        return index;
    return number(name, kUnreadable);
}

QString field(const QString &text)
{
    // RFC 4180, and the export's guard against spreadsheet formulas: text starting with = + - @, a
    // tab or a carriage return gets a leading single quote; so does text starting with a single quote,
    // so that reading takes exactly one off and gives the text back.
    QString guarded = text;
    if (!text.isEmpty() && QStringLiteral("=+-@\t\r'").contains(text.front()))
        guarded.prepend(u'\'');
    if (!guarded.contains(u',') && !guarded.contains(u'"') && !guarded.contains(u'\n') &&
        !guarded.contains(u'\r'))
        return guarded;
    guarded.replace(u'"', QStringLiteral("\"\""));
    return u'"' + guarded + u'"';
}

QString unguarded(const QString &text)
{
    if (text.size() >= 2 && text.front() == u'\'' && QStringLiteral("=+-@\t\r'").contains(text[1]))
        return text.mid(1);
    return text;
}

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// YYYY-MM-DDTHH:MM:SS.mmmZ, exactly; anything else is unreadable.
std::int64_t timeFromIso(const QString &text)
{
    static const QString pattern = QStringLiteral("dddd-dd-ddTdd:dd:dd.dddZ");
    if (text.size() != pattern.size())
        return kUnreadable;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (pattern[i] == u'd' ? !(text[i] >= u'0' && text[i] <= u'9') : text[i] != pattern[i])
            return kUnreadable;
    }
    const auto at = [&](qsizetype from, qsizetype length) { return text.mid(from, length).toLongLong(); };
    const std::int64_t days = daysFromCivil(at(0, 4), at(5, 2), at(8, 2));
    return ((days * 24 + at(11, 2)) * 60 + at(14, 2)) * 60000 + at(17, 2) * 1000 + at(20, 3);
}

// One field from position i, which moves past it: quoted (doubled quotes inside) or plain.
// A quoted field may hold line breaks.
QString nextField(const QString &text, qsizetype &i)
{
    if (i < text.size() && text[i] == u'"') {
        QString field;
        for (++i; i < text.size(); ++i) {
            if (text[i] == u'"' && (i + 1 >= text.size() || text[i + 1] != u'"')) {
                ++i;
                break;
            }
            if (text[i] == u'"')
                ++i;
            field += text[i];
        }
        // Text after the closing quote is kept, as Python's csv module keeps it.
        while (i < text.size() && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
            field += text[i++];
        return field;
    }
    const qsizetype from = i;
    while (i < text.size() && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
        ++i;
    return text.mid(from, i - from);
}

// RFC 4180 records; a lone LF ends a line as CRLF does.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> records;
    qsizetype i = 0;
    while (i < text.size()) {
        QStringList record;
        for (;;) {
            record.append(nextField(text, i));
            if (i >= text.size() || text[i] != u',')
                break;
            ++i;
        }
        if (i < text.size() && text[i] == u'\r')
            ++i;
        if (i < text.size() && text[i] == u'\n')
            ++i;
        records.append(record);
    }
    return records;
}

} // namespace

QStringList chainCsvColumns()
{
    return {QStringLiteral("kind"), QStringLiteral("commitment"), QStringLiteral("seed"),
            QStringLiteral("chain")};
}

QStringList chainCsvFields(const ChainRow &row)
{
    return {nameAt(kKindNames, std::int64_t(row.kind) - 1),
            row.kind == RowKind::RunStart ? toHex(row.secret) : QString(),
            row.kind == RowKind::RunEnd ? toHex(row.secret) : QString(),
            row.link ? toHex(*row.link) : QString()};
}

QString recordCsvHeader()
{
    return QStringLiteral("time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms,") +
           chainCsvColumns().join(u',') + QStringLiteral("\r\n");
}

QString recordCsvLine(const QString &account, const ChainRow &row)
{
    const bool isTry = row.kind == RowKind::Try;
    const bool hasGame = isTry || row.kind == RowKind::RunStart || row.kind == RowKind::Series;
    const bool hasRun = isTry || row.kind == RowKind::RunStart || row.kind == RowKind::RunEnd;
    const auto shown = [](bool shows, std::int64_t value) {
        return shows ? QString::number(value) : QString();
    };
    QStringList fields{QDateTime::fromMSecsSinceEpoch(row.timeUtcMs, Qt::UTC).toString(Qt::ISODateWithMs),
                       field(account),
                       shown(hasRun, row.run),
                       shown(isTry || row.kind == RowKind::Series, row.tryNumber),
                       hasGame ? nameAt(kGameNames, row.game) : QString(),
                       isTry || row.kind == RowKind::Series ? nameAt(kDeckNames, row.deck) : QString(),
                       shown(isTry, row.blind),
                       shown(isTry, row.guess),
                       shown(isTry, row.target),
                       isTry && row.layout != 0 ? QString::number(row.layout) : QString(),
                       shown(isTry, row.hit),
                       isTry && row.responseMs >= 0 ? QString::number(row.responseMs) : QString()};
    fields += chainCsvFields(row);
    return fields.join(u',') + QStringLiteral("\r\n");
}

CsvRecord readRecordCsv(const QByteArray &text)
{
    CsvRecord out;
    QList<QStringList> records = parseCsv(QString::fromUtf8(text));
    if (records.isEmpty() || !records.front().contains(QStringLiteral("time_utc"))) {
        out.error = QStringLiteral("not an exported record: no header with time_utc");
        return out;
    }
    QHash<QString, qsizetype> column;
    for (qsizetype i = 0; i < records.front().size(); ++i)
        column.insert(records.front()[i], i);
    for (qsizetype line = 1; line < records.size(); ++line) {
        const QStringList &fields = records[line];
        if (fields.size() == 1 && fields.front().isEmpty())
            continue; // a blank line
        const auto get = [&](const char *name) {
            const qsizetype at = column.value(QString::fromLatin1(name), -1);
            return at >= 0 && at < fields.size() ? fields[at] : QString();
        };
        if (out.rows.empty())
            out.account = unguarded(get("account"));
        ChainRow row;
        const QString kind = get("kind");
        row.kind = RowKind(kind.isEmpty() ? 2 : std::uint8_t(kKindNames.indexOf(kind) + 1));
        row.timeUtcMs = timeFromIso(get("time_utc"));
        row.run = number(get("run"), 0);
        row.tryNumber = number(get("try"), 0);
        row.game = get("game").isEmpty() ? 0 : indexOf(kGameNames, get("game"));
        row.deck = get("deck").isEmpty() ? 0 : indexOf(kDeckNames, get("deck"));
        row.blind = number(get("blind"), 0);
        row.guess = number(get("guess"), 0);
        row.target = number(get("target"), 0);
        row.layout = number(get("layout"), 0);
        row.hit = number(get("hit"), 0);
        row.responseMs = number(get("response_ms"), -1);
        const QString secret = row.kind == RowKind::RunStart ? get("commitment") : get("seed");
        if (const auto digest = fromHex(secret))
            row.secret = *digest;
        if (!get("chain").isEmpty())
            row.link = fromHex(get("chain")).value_or(Digest{});
        out.rows.push_back(row);
    }
    return out;
}

} // namespace proof
