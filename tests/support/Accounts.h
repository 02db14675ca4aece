#pragma once

#include "accounts/AccountRules.h"
#include "settings/Settings.h"

#include <QTest>

// An account as the login window creates it (fast hashing), then its totals as raw stored text.
inline void makeAccount(const QString &name, const QString &password,
                        const QString &hits = QStringLiteral("0"), const QString &tries = QStringLiteral("0"))
{
    accounts::AccountRules rules;
    rules.setHashLimits(accounts::kMinimumHashLimits);
    QCOMPARE(rules.create(name, password), accounts::AccountRules::CreateResult::Created);
    SaveSetting(QStringLiteral("Orvanta"), name, QStringLiteral("Hits"), hits);
    SaveSetting(QStringLiteral("Orvanta"), name, QStringLiteral("Tries"), tries);
}

// A value of an account as stored, "<missing>" when there is none.
inline QString stored(const QString &name, const QString &key)
{
    return GetSetting(QStringLiteral("Orvanta"), name, key, QStringLiteral("<missing>"));
}
inline QString stored(const QString &name, const char *key)
{
    return stored(name, QString::fromLatin1(key));
}
