// The account rules over a real store in a temporary folder: what is stored at creation, how
// passwords are compared, hand-filled and damaged entries, and how counts are read.
#include "accounts/AccountHold.h"
#include "accounts/AccountRules.h"
#include "accounts/PasswordHash.h"
#include "settings/Settings.h"
#include "tests/settings/StoreTestSupport.h"
#include "tests/support/Accounts.h"
#include "tests/support/TestSandbox.h"

#include <QDir>

#include <QElapsedTimer>
#include <QTest>

#include <memory>

using namespace accounts;
using storetest::kAccounts;
using storetest::saveAccountValue;

namespace {

const QString kAlice = QStringLiteral("Alice");

} // namespace

class tst_AccountRules : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store = std::make_unique<PrivateStore>();
        QVERIFY(m_store->isValid());
        m_rules.setHashLimits(kMinimumHashLimits);
    }
    void cleanup() { m_store.reset(); }

    void holdThatCannotBeMadeRefuses_data()
    {
        QTest::addColumn<bool>("plainFile");
        QTest::newRow("a plain file named in-use") << true;
        QTest::newRow("a read-only store folder") << false;
    }
    // Guards a hold that reported success when its mark could not be made, so two copies played one
    // account and stored their totals over each other's: it fails, naming the folder and the reason.
    void holdThatCannotBeMadeRefuses()
    {
        QFETCH(bool, plainFile);
        const QString folder = m_store->path() + QStringLiteral("/qxOrvanta");
        QVERIFY(QDir().mkpath(folder));
        if (plainFile) {
            QFile file(folder + QStringLiteral("/in-use"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        {
            storetest::OrdinaryUser user(m_store->path());
            if (!plainFile)
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            AccountHold hold;
            QCOMPARE(hold.take(QStringLiteral("alice")), AccountHold::Result::Failed);
            QVERIFY(hold.failure().contains(folder + QStringLiteral("/in-use")));
            QVERIFY(hold.failure().contains(plainFile ? QStringLiteral("Not a directory")
                                                      : QStringLiteral("Permission denied")));
            QVERIFY(!hold.holds(QStringLiteral("alice")));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        storetest::OrdinaryUser::giveTree(m_store->path(), ::geteuid());
    }

    // The store must never hold a password as typed, and creation writes the whole account.
    void createdAccountHoldsOnlyAHash()
    {
        const QString password = QStringLiteral("s3cret");
        QCOMPARE(m_rules.create(kAlice, password), AccountRules::CreateResult::Created);
        const QString hash = stored(kAlice, "Password");
        QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")));
        QVERIFY(!hash.contains(password));
        QCOMPARE(stored(kAlice, "UserName"), kAlice);
        QCOMPARE(stored(kAlice, "Hits"), QStringLiteral("0"));
        QCOMPARE(stored(kAlice, "Tries"), QStringLiteral("0"));
        QVERIFY(m_rules.exists(QStringLiteral("aLIce")));
        QVERIFY(m_rules.checkPassword(QStringLiteral("alice"), password));
        QVERIFY(!m_rules.checkPassword(QStringLiteral("alice"), QStringLiteral("S3cret")));
    }

    // A name taken in any letter case must not be overwritten, nor the account half-rewritten.
    void createRefusesTakenNameInAnyCase()
    {
        QCOMPARE(m_rules.create(kAlice, QStringLiteral("first")), AccountRules::CreateResult::Created);
        const QString hash = stored(kAlice, "Password");
        saveAccountValue(kAlice, "Hits", QStringLiteral("7"));
        QCOMPARE(m_rules.create(QStringLiteral("ALICE"), QStringLiteral("second")),
                 AccountRules::CreateResult::NameTaken);
        QCOMPARE(stored(kAlice, "Password"), hash);
        QCOMPARE(stored(kAlice, "UserName"), kAlice);
        QCOMPARE(stored(kAlice, "Hits"), QStringLiteral("7"));
    }

    // Every character counts, letter case and characters after a NUL included, whether the stored
    // value is a hash or plain text filled in by hand.
    void passwordCompare_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("matches");
        const QString withNul = QString::fromUtf16(u"a\0b", 3);
        QTest::newRow("same text") << QStringLiteral("secret") << QStringLiteral("secret") << true;
        QTest::newRow("letter case only") << QStringLiteral("Secret") << QStringLiteral("secret") << false;
        QTest::newRow("prefix of the password")
            << QStringLiteral("secr") << QStringLiteral("secret") << false;
        QTest::newRow("password and more") << QStringLiteral("secret!") << QStringLiteral("secret") << false;
        QTest::newRow("empty against text") << QString() << QStringLiteral("secret") << false;
        QTest::newRow("non-ASCII letters")
            << QStringLiteral("pässwörd") << QStringLiteral("pässwörd") << true;
        QTest::newRow("accent missing") << QStringLiteral("passwörd") << QStringLiteral("pässwörd") << false;
        QTest::newRow("NUL inside, same") << withNul << withNul << true;
        QTest::newRow("cut short at the NUL") << QStringLiteral("a") << withNul << false;
        QTest::newRow("differs after the NUL") << QString::fromUtf16(u"a\0c", 3) << withNul << false;
    }
    void passwordCompare()
    {
        QFETCH(QString, typed);
        QFETCH(QString, password);
        QFETCH(bool, matches);
        QCOMPARE(passwordMatches(typed, password), matches);
        const QString hash = hashPassword(password, kMinimumHashLimits);
        QVERIFY(isPasswordHash(hash));
        QCOMPARE(passwordMatches(typed, hash), matches);
    }

    // A store filled by hand with a plain password still lets its user in, once in plain text:
    // from that login on it holds only the hash. A failed login rewrites nothing.
    void handFilledPlainPasswordIsHashedAtFirstLogin()
    {
        const QString name = QStringLiteral("Bob");
        SaveSettings(
            kAccounts, name,
            {{QStringLiteral("UserName"), name}, {QStringLiteral("Password"), QStringLiteral("letmein")}});
        QVERIFY(!m_rules.checkPassword(name, QStringLiteral("LetMeIn")));
        QCOMPARE(stored(name, "Password"), QStringLiteral("letmein"));
        QVERIFY(m_rules.checkPassword(name, QStringLiteral("letmein")));
        const QString hash = stored(name, "Password");
        QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")));
        QVERIFY(m_rules.checkPassword(name, QStringLiteral("letmein")));
        QCOMPARE(stored(name, "Password"), hash);
    }

    // A missing "Password" entry once read as the word NOTFOUND, which then logged in; a damaged
    // hash must not be compared as plain text either.
    void unusablePasswordEntryMatchesNothing_data()
    {
        QTest::addColumn<QString>("storedPassword"); // null: no entry at all
        QTest::addColumn<QString>("typed");
        QTest::newRow("missing entry, typed NOTFOUND") << QString() << QStringLiteral("NOTFOUND");
        QTest::newRow("missing entry, typed nothing") << QString() << QString();
        QTest::newRow("missing entry, typed the stand-in")
            << QString() << QStringLiteral("$argon2id$no-password");
        QTest::newRow("damaged hash typed as stored")
            << QStringLiteral("$argon2id$v=19$garbage") << QStringLiteral("$argon2id$v=19$garbage");
    }
    void unusablePasswordEntryMatchesNothing()
    {
        QFETCH(QString, storedPassword);
        QFETCH(QString, typed);
        const QString name = QStringLiteral("Carol");
        saveAccountValue(name, "UserName", name);
        if (!storedPassword.isNull())
            saveAccountValue(name, "Password", storedPassword);
        QVERIFY(m_rules.exists(name));
        QVERIFY(!m_rules.checkPassword(name, typed));
    }

    // "NOTFOUND" is the marker of a missing account, even when it is stored.
    void accountNamedNotFoundDoesNotExist()
    {
        SaveSettings(kAccounts, QStringLiteral("NOTFOUND"),
                     {{QStringLiteral("UserName"), QStringLiteral("NOTFOUND")},
                      {QStringLiteral("Password"), QStringLiteral("x")}});
        QVERIFY(!m_rules.exists(QStringLiteral("NOTFOUND")));
        QVERIFY(!m_rules.exists(QStringLiteral("Nobody")));
    }

    // Hand-edited counts must never load as negative, wrapped or impossible values, and every text
    // that is not a count this program writes is named, so the login can tell the user.
    void countsLoadWithinRange_data()
    {
        QTest::addColumn<QString>("hitsText"); // null: no entry
        QTest::addColumn<QString>("triesText");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("tries");
        QTest::addColumn<QStringList>("unsound");
        QTest::newRow("missing") << QString() << QString() << 0 << 0 << QStringList();
        QTest::newRow("plain numbers")
            << QStringLiteral("17") << QStringLiteral("40") << 17 << 40 << QStringList();
        QTest::newRow("largest count")
            << QStringLiteral("32767") << QStringLiteral("32767") << 32767 << 32767 << QStringList();
        QTest::newRow("past the 16-bit range") << QStringLiteral("5") << QStringLiteral("99999") << 5 << 32767
                                               << QStringList{QStringLiteral("Tries \"99999\"")};
        QTest::newRow("hits above tries")
            << QStringLiteral("50") << QStringLiteral("10") << 10 << 10 << QStringList();
        QTest::newRow("negative and not a number")
            << QStringLiteral("-5") << QStringLiteral("abc") << 0 << 0
            << QStringList{QStringLiteral("Hits \"-5\""), QStringLiteral("Tries \"abc\"")};
        QTest::newRow("empty and exponent")
            << QStringLiteral("") << QStringLiteral("1e3") << 0 << 0
            << QStringList{QStringLiteral("Hits \"\""), QStringLiteral("Tries \"1e3\"")};
        QTest::newRow("spaced, signed and decimal")
            << QStringLiteral(" 7") << QStringLiteral("+7") << 0 << 0
            << QStringList{QStringLiteral("Hits \" 7\""), QStringLiteral("Tries \"+7\"")};
        QTest::newRow("decimal") << QStringLiteral("1") << QStringLiteral("7.5") << 0 << 0
                                 << QStringList{QStringLiteral("Tries \"7.5\"")};
    }
    void countsLoadWithinRange()
    {
        QFETCH(QString, hitsText);
        QFETCH(QString, triesText);
        QFETCH(int, hits);
        QFETCH(int, tries);
        QFETCH(QStringList, unsound);
        const QString name = QStringLiteral("Dave");
        saveAccountValue(name, "UserName", name);
        if (!hitsText.isNull()) {
            saveAccountValue(name, "Hits", hitsText);
            saveAccountValue(name, "Tries", triesText);
        }
        const AccountCounts counts = m_rules.loadCounts(QStringLiteral("DAVE"));
        QCOMPARE(int(counts.hits), hits);
        QCOMPARE(int(counts.tries), tries);
        QCOMPARE(counts.unsound, unsound);
    }

    // A hash whose costs would hang the login for minutes or take gigabytes is never verified; the
    // costs this program writes, and libsodium's strongest preset, are.
    void absurdHashCostsAreRefused_data()
    {
        QTest::addColumn<QString>("costs");
        QTest::addColumn<bool>("sane");
        QTest::newRow("as written here") << QStringLiteral("m=19456,t=2,p=1") << true;
        QTest::newRow("libsodium moderate") << QStringLiteral("m=262144,t=3,p=1") << true;
        QTest::newRow("a hundred million passes") << QStringLiteral("m=19456,t=100000000,p=1") << false;
        QTest::newRow("4 GiB of memory") << QStringLiteral("m=4194304,t=1,p=1") << false;
        QTest::newRow("too much work in all") << QStringLiteral("m=262144,t=16,p=1") << false;
        QTest::newRow("more digits than any count")
            << QStringLiteral("m=19456,t=2000000000000000,p=1") << false;
    }
    void absurdHashCostsAreRefused()
    {
        QFETCH(QString, costs);
        QFETCH(bool, sane);
        const QString hash =
            QStringLiteral("$argon2id$v=19$%1$c2FsdHNhbHRzYWx0$aGFzaGhhc2hoYXNoaGFzaA").arg(costs);
        QCOMPARE(hashCostsAreSane(hash), sane);
        SaveSettings(
            kAccounts, QStringLiteral("Erin"),
            {{QStringLiteral("UserName"), QStringLiteral("Erin")}, {QStringLiteral("Password"), hash}});
        QCOMPARE(m_rules.passwordTooCostly(QStringLiteral("erin")), !sane);
        if (!sane) {
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!passwordMatches(QStringLiteral("x"), hash));
            QVERIFY(timer.elapsed() < 1000);
        }
    }

private:
    std::unique_ptr<PrivateStore> m_store;
    AccountRules m_rules;
};

QTEST_GUILESS_MAIN(tst_AccountRules)
#include "tst_account_rules.moc"
