#include "CsvExport.h"

#include <QDateTime>
#include <QSaveFile>

namespace history {

QString csvHeader()
{
    return QStringLiteral("time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms\r\n");
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvRow(const QString &account, const TryRecord &record)
{
    QString layout;
    if (record.game == Game::FindHidden) {
        for (const std::int8_t face : record.layout)
            layout += QString::number(face);
    }
    const QString time =
        QDateTime::fromMSecsSinceEpoch(record.timeUtcMs, Qt::UTC).toString(Qt::ISODateWithMs);
    const QStringList fields{time,
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
                             record.responseMs >= 0 ? QString::number(record.responseMs) : QString()};
    return fields.join(u',') + QStringLiteral("\r\n");
}

bool exportCsv(const QString &filePath, const AccountHistory &account, QString *reason)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    QByteArray text = csvHeader().toUtf8();
    text.reserve(qsizetype(account.tries.size()) * 80 + text.size());
    for (const TryRecord &record : account.tries)
        text += csvRow(account.userName, record).toUtf8();
    if (file.write(text) != text.size() || !file.commit()) {
        *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace history
