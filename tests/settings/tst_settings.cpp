// The settings store as the windows use it: defaults, the case rule for names, exact values, counts,
// durability across reopening, two writers at once, and what happens when a write cannot reach disk.

#include "StoreTestSupport.h"

#include "settings/PendingWrites.h"
#include "settings/StorePath.h"
#include "settings/StoreReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sqlite3.h>

#include <atomic>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>

using namespace storetest;

namespace {

const QString kAgreement = QStringLiteral("qxOrvanta");
const QString kAlice = QStringLiteral("Alice");

// Rows of setting(application, section, key, value).
QList<QStringList> storedRows(const QString &path)
{
    return queryRows(path, "SELECT application, section, key, value FROM setting ORDER BY 1, 2, 3");
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void freshStoreGivesEachCallersDefault_data()
    {
        QTest::addColumn<QString>("application");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("defaultValue");
        QTest::newRow("agreement flag, empty default") << kAgreement << "EULA"
                                                       << "TermsAccepted"
                                                       << "";
        QTest::newRow("account existence, NOTFOUND") << kAccounts << "Alice"
                                                     << "UserName" << kNotFound;
        QTest::newRow("password, NOTFOUND") << kAccounts << "Alice"
                                            << "Password" << kNotFound;
        QTest::newRow("count, zero") << kAccounts << "Alice"
                                     << "Hits"
                                     << "0";
    }
    void freshStoreGivesEachCallersDefault()
    {
        QFETCH(QString, application);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, defaultValue);
        StoreSandbox sandbox;
        QCOMPARE(GetSetting(application, section, key, defaultValue), defaultValue);
        QVERIFY2(sandbox.reports.isEmpty(), qPrintable(sandbox.reports.join(u'|')));
        // Reading creates nothing: the first start's agreement check must not pay for creating the file.
        QVERIFY(!QFileInfo::exists(sandbox.storePath()));
        SaveSetting(application, section, key, QStringLiteral("written"));
        QCOMPARE(GetSetting(application, section, key, defaultValue), QStringLiteral("written"));
        QVERIFY(QFileInfo::exists(sandbox.storePath()));
    }

    // Guards against a store others on the machine can read (it holds password hashes) and against a
    // format the sqlite3 tool cannot list.
    void storeIsPrivateAndReadableBySqlite()
    {
        StoreSandbox sandbox;
        saveAccountValue(kAlice, "Hits", QStringLiteral("3"));
        struct stat folderInfo = {};
        struct stat fileInfo = {};
        QCOMPARE(::stat(QFile::encodeName(sandbox.folder()).constData(), &folderInfo), 0);
        QCOMPARE(::stat(QFile::encodeName(sandbox.storePath()).constData(), &fileInfo), 0);
        QCOMPARE(folderInfo.st_mode & 0777, 0700u);
        QCOMPARE(fileInfo.st_mode & 0777, 0600u);
        const QList<QStringList> expected{{kAccounts, kAlice, QStringLiteral("Hits"), QStringLiteral("3")}};
        QCOMPARE(storedRows(sandbox.storePath()), expected);
    }

    void namesMatchByCaseFolding_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<bool>("sameEntry");
        const auto names = [](const QString &application, const QString &section, const QString &key) {
            return QStringList{application, section, key};
        };
        const QStringList alice = names(kAccounts, kAlice, QStringLiteral("Hits"));
        QTest::newRow("Alice and alice")
            << alice << names(kAccounts, QStringLiteral("alice"), QStringLiteral("Hits")) << true;
        QTest::newRow("application in capitals")
            << alice << names(QStringLiteral("ORVANTA"), kAlice, QStringLiteral("Hits")) << true;
        QTest::newRow("key in small letters")
            << alice << names(kAccounts, kAlice, QStringLiteral("hits")) << true;
        QTest::newRow("umlaut \u00c4 and \u00e4")
            << names(kAccounts, QStringLiteral("\u00c4rger"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("\u00e4RGER"), QStringLiteral("Hits")) << true;
        QTest::newRow("sigma \u03a3 and final \u03c2")
            << names(kAccounts, QStringLiteral("\u039f\u0394\u039f\u03a3"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("\u03bf\u03b4\u03bf\u03c2"), QStringLiteral("Hits")) << true;
        QTest::newRow("sigma \u03c3 and final \u03c2")
            << names(kAccounts, QStringLiteral("\u03bf\u03b4\u03bf\u03c3"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("\u03bf\u03b4\u03bf\u03c2"), QStringLiteral("Hits")) << true;
        QTest::newRow("Kelvin sign and k")
            << names(kAccounts, QStringLiteral("\u212aate"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("kate"), QStringLiteral("Hits")) << true;
        QTest::newRow("dotless \u0131 stays apart from i")
            << names(kAccounts, QStringLiteral("L\u0131la"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("Lila"), QStringLiteral("Hits")) << false;
        QTest::newRow("\u00df stays apart from ss")
            << names(kAccounts, QStringLiteral("Stra\u00dfe"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("STRASSE"), QStringLiteral("Hits")) << false;
        QTest::newRow("composed \u00e9 stays apart from e and accent")
            << names(kAccounts, QStringLiteral("Ren\u00e9"), QStringLiteral("Hits"))
            << names(kAccounts, QStringLiteral("Rene\u0301"), QStringLiteral("Hits")) << false;
        QTest::newRow("trailing space is part of the name")
            << alice << names(kAccounts, QStringLiteral("Alice "), QStringLiteral("Hits")) << false;
    }
    void namesMatchByCaseFolding()
    {
        QFETCH(QStringList, written);
        QFETCH(QStringList, read);
        QFETCH(bool, sameEntry);
        StoreSandbox sandbox;
        SaveSetting(written[0], written[1], written[2], QStringLiteral("17"));
        const QString expected = sameEntry ? QStringLiteral("17") : QStringLiteral("0");
        QCOMPARE(GetSetting(read[0], read[1], read[2], QStringLiteral("0")), expected);
        resetSettingsStore();
        QCOMPARE(GetSetting(read[0], read[1], read[2], QStringLiteral("0")), expected);
    }

    // Alice's account reached as alice: one section, the later value in its own letter case, and the
    // section keeps the spelling it was created with.
    void caseVariantsShareOneEntryButValuesKeepTheirCase()
    {
        StoreSandbox sandbox;
        saveAccountValue(kAlice, "Password", QStringLiteral("Secret"));
        saveAccountValue(QStringLiteral("alice"), "password", QStringLiteral("sECRET"));
        QCOMPARE(accountValue(QStringLiteral("ALICE"), "PASSWORD", kNotFound), QStringLiteral("sECRET"));
        const QList<QStringList> expected{
            {kAccounts, kAlice, QStringLiteral("Password"), QStringLiteral("sECRET")}};
        QCOMPARE(storedRows(sandbox.storePath()), expected);
    }

    void valuesRoundTripExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QStringLiteral("");
        QTest::newRow("1 MB") << QString(1 << 20, u'x');
        QTest::newRow("1 MB of mixed text") << QStringLiteral("\u00e9a\n\u2603\0").repeated(1 << 18);
        QTest::newRow("newlines") << QStringLiteral("line one\nline two\r\nline three\r");
        QTest::newRow("quotes") << QStringLiteral("'single' \"double\" ``back``");
        QTest::newRow("slashes and backslashes") << QStringLiteral("a/b\\c\\\\d//e");
        QTest::newRow("ini syntax") << QStringLiteral("[section]\nkey=value\n[");
        QTest::newRow("NUL inside") << withNul(u"before", u"after");
        QTest::newRow("NUL at both ends") << withNul(u"", u"middle") + QChar(u'\0');
        QTest::newRow("right-to-left")
            << QStringLiteral("\u05e9\u05dc\u05d5\u05dd \u202e\u0645\u0631\u062d\u0628\u0627");
        QTest::newRow("outside the BMP") << QStringLiteral("\U0001F0A1\U0001F600 \U00010348");
        QTest::newRow("combining marks") << QStringLiteral("e\u0301\u0327 Z\u0351\u0360");
        QTest::newRow("SQL") << QStringLiteral("'); DROP TABLE setting; --");
        QTest::newRow("leading and trailing spaces") << QStringLiteral("  padded\t ");
        QTest::newRow("letter case kept") << QStringLiteral("MiXeD CaSe");
    }
    void valuesRoundTripExactly()
    {
        QFETCH(QString, value);
        StoreSandbox sandbox;
        saveAccountValue(kAlice, "Password", value);
        QCOMPARE(accountValue(kAlice, "Password", kNotFound), value);
        resetSettingsStore();
        const QString reread = accountValue(QStringLiteral("alice"), "Password", kNotFound);
        QCOMPARE(reread.size(), value.size());
        QCOMPARE(reread, value);
        QVERIFY2(sandbox.reports.isEmpty(), qPrintable(sandbox.reports.join(u'|')));
    }

    void hostileSectionNameCannotReachAnotherSection_data()
    {
        QTest::addColumn<QString>("section");
        QTest::newRow("path up to the other") << QStringLiteral("x/../Bob");
        QTest::newRow("backslash path") << QStringLiteral("Orvanta\\Bob");
        QTest::newRow("SQL that matches every row") << QStringLiteral("' OR '1'='1");
        QTest::newRow("SQL comment") << QStringLiteral("Bob'--");
        QTest::newRow("LIKE wildcard") << QStringLiteral("B%");
        QTest::newRow("NUL after the name") << withNul(u"Bob", u"");
        QTest::newRow("NUL before the name") << withNul(u"", u"Bob");
        QTest::newRow("ini section header") << QStringLiteral("]\n[Bob");
        QTest::newRow("empty") << QStringLiteral("");
        QTest::newRow("1 MB") << QString(1 << 20, u'B');
    }
    void hostileSectionNameCannotReachAnotherSection()
    {
        QFETCH(QString, section);
        StoreSandbox sandbox;
        const QString bob = QStringLiteral("Bob");
        const QString password = QStringLiteral("Password");
        SaveSetting(kAccounts, bob, password, QStringLiteral("bobs secret"));
        QCOMPARE(GetSetting(kAccounts, section, password, kNotFound), kNotFound);
        SaveSetting(kAccounts, section, password, QStringLiteral("intruder"));
        QCOMPARE(GetSetting(kAccounts, section, password, kNotFound), QStringLiteral("intruder"));
        QCOMPARE(GetSetting(kAccounts, bob, password, kNotFound), QStringLiteral("bobs secret"));
        QCOMPARE(storedRows(sandbox.storePath()).size(), 2);
    }

    void accountNamedEulaLeavesAgreementFlagAlone()
    {
        StoreSandbox sandbox;
        const QString eula = QStringLiteral("EULA");
        const QString flagKey = QStringLiteral("TermsAccepted");
        SaveSetting(kAgreement, eula, flagKey, QStringLiteral("True"));
        QVERIFY(SaveSettings(kAccounts, eula,
                             {{QStringLiteral("UserName"), eula},
                              {QStringLiteral("Password"), QStringLiteral("pw")},
                              {QStringLiteral("Hits"), QStringLiteral("0")},
                              {QStringLiteral("Tries"), QStringLiteral("0")},
                              {flagKey, QStringLiteral("False")}}));
        QCOMPARE(GetSetting(kAgreement, eula, flagKey, QString()), QStringLiteral("True"));
        QCOMPARE(accountValue(QStringLiteral("eula"), "UserName", kNotFound), eula);
    }

    void countsSurviveReopening()
    {
        StoreSandbox sandbox;
        saveAccountValue(kAlice, "Hits", QStringLiteral("12"));
        saveAccountValue(kAlice, "Tries", QStringLiteral("40"));
        resetSettingsStore();
        QCOMPARE(readCount(accountValue(kAlice, "Hits", QStringLiteral("0"))), 12);
        QCOMPARE(readCount(accountValue(kAlice, "Tries", QStringLiteral("0"))), 40);
        // An account written without counts (by hand, or before counts existed) starts from zero.
        saveAccountValue(QStringLiteral("Bob"), "UserName", QStringLiteral("Bob"));
        QCOMPARE(readCount(accountValue(QStringLiteral("Bob"), "Hits", QStringLiteral("0"))), 0);
    }

    void readCountTakesWholeNumbersOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("plain number") << "1234" << 1234;
        QTest::newRow("largest count") << "32767" << 32767;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("one past the largest clamps") << "32768" << 32767;
        QTest::newRow("65536 does not wrap") << "65536" << 32767;
        QTest::newRow("forty digits clamp") << QString(40, u'9') << 32767;
        QTest::newRow("a thousand digits clamp") << QStringLiteral("1").repeated(1000) << 32767;
        QTest::newRow("negative clamps to zero") << "-5" << 0;
        QTest::newRow("minus zero") << "-0" << 0;
        QTest::newRow("huge negative") << QStringLiteral("-") + QString(40, u'9') << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("minus alone") << "-" << 0;
        QTest::newRow("two minus signs") << "--5" << 0;
        QTest::newRow("plus sign") << "+5" << 0;
        QTest::newRow("leading space") << " 12" << 0;
        QTest::newRow("trailing space") << "12 " << 0;
        QTest::newRow("trailing newline") << "12\n" << 0;
        QTest::newRow("letters after digits") << "12abc" << 0;
        QTest::newRow("exponent") << "1e3" << 0;
        QTest::newRow("decimal point") << "12.0" << 0;
        QTest::newRow("group separator") << "1,234" << 0;
        QTest::newRow("hexadecimal") << "0x10" << 0;
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662") << 0;
        QTest::newRow("full-width digits") << QStringLiteral("\uff11\uff12") << 0;
        QTest::newRow("NUL after digits") << withNul(u"12", u"") << 0;
    }
    void readCountTakesWholeNumbersOnly()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(int(readCount(text)), count);
    }

    // Two copies of the program share the store: each writes its own user's entries through its own
    // connection while the other writes, and every entry must be there afterwards.
    void twoConnectionsWritingAtOnceLoseNothing()
    {
        StoreSandbox sandbox;
        constexpr int kWrites = 150;
        std::atomic<int> failures = 0;
        const auto writer = [&](const QString &user) {
            // A write that found the other's lock for longer than a window may wait is kept and goes in
            // with the next one: only a fault that was told counts.
            SettingsStore store(sandbox.storePath(), [&](const QString &) { ++failures; });
            for (int i = 1; i <= kWrites; ++i)
                store.setValue(kAccounts, user, QStringLiteral("Entry%1").arg(i), QString::number(i));
        };
        std::thread first(writer, kAlice);
        std::thread second(writer, QStringLiteral("Bob"));
        first.join();
        second.join();
        QCOMPARE(failures.load(), 0);
        QCOMPARE(storedRows(sandbox.storePath()).size(), 2 * kWrites);
        for (const QString &user : {kAlice, QStringLiteral("Bob")}) {
            for (int i = 1; i <= kWrites; ++i)
                QCOMPARE(GetSetting(kAccounts, user, QStringLiteral("Entry%1").arg(i), QString()),
                         QString::number(i));
        }
    }

    // Guards copies of the program starting at the same moment on a fresh folder: one that found the
    // file missing must never move the live log of the file another has just created aside as an
    // orphan (a write then fails, or a committed one is lost).
    void copiesStartingAtOnceOnAFreshFolderLoseNothing()
    {
        StoreSandbox sandbox;
        constexpr int kCopies = 4;
        for (int round = 0; round < 40; ++round) {
            const QString path = sandbox.home() + QStringLiteral("/round%1/settings.sqlite3").arg(round);
            std::atomic<int> failures = 0;
            std::atomic<int> waiting = kCopies;
            const auto copy = [&](int n) {
                --waiting;
                while (waiting.load() > 0) {
                }
                SettingsStore store(path, [&](const QString &m) {
                    qWarning("%s", qPrintable(m));
                    ++failures;
                });
                for (int i = 1; i <= 3; ++i)
                    store.setValue(kAccounts, QStringLiteral("User%1").arg(n), QStringLiteral("Entry"),
                                   QString::number(i));
            };
            std::vector<std::thread> copies;
            for (int n = 0; n < kCopies; ++n)
                copies.emplace_back(copy, n);
            for (std::thread &t : copies)
                t.join();
            QCOMPARE(failures.load(), 0);
            QCOMPARE(storedRows(path).size(), kCopies);
            QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).filter(u".unusable").size(),
                     0);
        }
    }

    // A full disk in the middle of a run: the user is told once, the program sees its own latest
    // values, and the first write after space comes back stores everything that was kept back.
    void failedWriteIsToldOnceAndRetriedAtNextWrite()
    {
        StoreSandbox sandbox;
        saveAccountValue(kAlice, "Hits", QStringLiteral("1"));
        {
            storetest::FileSizeLimit diskFull(QFileInfo(sandbox.storePath()).size() + 4096);
            saveAccountValue(kAlice, "Picture", QString(1 << 20, u'p'));
            saveAccountValue(kAlice, "Hits", QStringLiteral("2"));
            saveAccountValue(kAlice, "Notes", QString(1 << 19, u'n'));
            QVERIFY2(sandbox.reports.size() == 1, qPrintable(sandbox.reports.join(u'|')));
            QVERIFY2(sandbox.reports[0].contains(sandbox.storePath()), qPrintable(sandbox.reports[0]));
            QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("2"));
        }
        saveAccountValue(kAlice, "Tries", QStringLiteral("5"));
        QCOMPARE(sandbox.reports.size(), 1);
        resetSettingsStore();
        QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("2"));
        QCOMPARE(accountValue(kAlice, "Picture").size(), 1 << 20);
        QCOMPARE(accountValue(kAlice, "Notes").size(), 1 << 19);
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("5"));

        // A new failure after a success is a new streak and is told again.
        {
            storetest::FileSizeLimit diskFull(QFileInfo(sandbox.storePath()).size() + 4096);
            saveAccountValue(kAlice, "Picture", QString(1 << 21, u'q'));
        }
        QCOMPARE(sandbox.reports.size(), 2);
    }

    // Account creation writes its four entries in one transaction: a failure leaves none of them, so
    // there is never an account without its password.
    void failedAccountCreationLeavesNoHalfAccount()
    {
        StoreSandbox sandbox;
        SaveSetting(kAgreement, QStringLiteral("EULA"), QStringLiteral("TermsAccepted"),
                    QStringLiteral("True"));
        const QString carol = QStringLiteral("Carol");
        {
            storetest::FileSizeLimit diskFull(QFileInfo(sandbox.storePath()).size() + 4096);
            QVERIFY(!SaveSettings(kAccounts, carol,
                                  {{QStringLiteral("UserName"), carol},
                                   {QStringLiteral("Password"), QString(1 << 20, u'h')},
                                   {QStringLiteral("Hits"), QStringLiteral("0")},
                                   {QStringLiteral("Tries"), QStringLiteral("0")}}));
        }
        QCOMPARE(sandbox.reports.size(), 1);
        QCOMPARE(accountValue(carol, "UserName", kNotFound), kNotFound);
        SaveSetting(kAgreement, QStringLiteral("EULA"), QStringLiteral("TermsAccepted"),
                    QStringLiteral("True"));
        resetSettingsStore();
        QCOMPARE(accountValue(carol, "UserName", kNotFound), kNotFound);
        QCOMPARE(storedRows(sandbox.storePath()).size(), 1);
    }

    // The totals after a guess are one combined write. One that the disk refuses is kept like a single
    // write: reads see it, and the next write or the end of the program stores it. Statements attached
    // to kept writes run once each, in the order of the writes; a refused write that asked to be dropped
    // (account creation) never turns up later.
    void refusedCombinedWritesAreKeptInOrderAndRetried()
    {
        StoreSandbox sandbox;
        const QString carol = QStringLiteral("Carol");
        const QString path = sandbox.storePath();
        saveAccountValue(kAlice, "UserName", kAlice);
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TABLE note(n INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        const auto guess = [&](int n) {
            return SaveSettings({kAccounts,
                                 kAlice,
                                 {{QStringLiteral("Hits"), QString::number(n)},
                                  {QStringLiteral("Tries"), QString::number(10 * n)}},
                                 {{"INSERT INTO note VALUES (?1)", {n}}}},
                                WhenRefused::KeepAndRetry);
        };
        const auto notes = [&] { return queryRows(path, "SELECT group_concat(n) FROM note ORDER BY rowid"); };
        storetest::OrdinaryUser user(sandbox.home());
        // An open connection keeps writing a file made read-only under it: a locked file is met anew.
        const auto setWritable = [&](bool writable) {
            QVERIFY(QFile::setPermissions(path, writable ? QFile::ReadOwner | QFile::WriteOwner
                                                         : QFile::ReadOwner));
            if (!writable)
                resetSettingsStore();
        };

        setWritable(false);
        QVERIFY(!guess(1));
        QVERIFY(!guess(2));
        QVERIFY(!SaveSettings(kAccounts, carol, {{QStringLiteral("UserName"), carol}}));
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("20"));
        QCOMPARE(sandbox.reports.size(), 1);
        setWritable(true);
        QVERIFY(guess(3));
        QCOMPARE(notes(), QList<QStringList>{{QStringLiteral("1,2,3")}});

        setWritable(false);
        QVERIFY(!guess(4));
        setWritable(true);
        resetSettingsStore();
        QCOMPARE(notes(), QList<QStringList>{{QStringLiteral("1,2,3,4")}});
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("40"));
        QCOMPARE(accountValue(carol, "UserName", kNotFound), kNotFound);
    }

    // The program shows a fault in a message box, whose event loop may run a timer that saves the totals:
    // the store must be whole again before it reports.
    void faultReportMayUseTheStoreAgain()
    {
        StoreSandbox sandbox;
        QVERIFY(QDir().mkpath(sandbox.folder()));
        QVERIFY(writeFileBytes(sandbox.storePath(), QByteArray(8192, 'x')));
        QString seenInside;
        setStoreFaultReporter([&](const QString &message) {
            sandbox.reports << message;
            saveAccountValue(kAlice, "Tries", QStringLiteral("8"));
            seenInside = accountValue(kAlice, "Hits");
        });
        saveAccountValue(kAlice, "Hits", QStringLiteral("2"));
        QCOMPARE(sandbox.reports.size(), 1);
        QCOMPARE(seenInside, QStringLiteral("2"));
        resetSettingsStore();
        QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("2"));
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("8"));
        QCOMPARE(sandbox.setAsideNames().size(), 1);
    }

    // Guards a kept write read back stale, an older kept value written over a newer one, and salvaged
    // entries replacing what this session kept: the queue, without a file.
    void keptWritesKeepOneValuePerEntryInOrder()
    {
        const auto entry = [](const char *key, const char *value) {
            return PendingWrites::Entry{kAccounts, kAlice, QString::fromLatin1(key),
                                        QString::fromLatin1(value)};
        };
        const auto key = [&](const char *name) { return PendingWrites::foldedKey(entry(name, "")); };
        PendingWrites queue;
        queue.keep(PendingWrites::makeWrite({entry("Hits", "1"), entry("Tries", "1")}));
        queue.keep(PendingWrites::makeWrite({entry("HITS", "2"), entry("Tries", "2")}, {{"SELECT 1", {}}}));
        queue.keep(PendingWrites::makeWrite({entry("Tries", "3")}));
        QCOMPARE(queue.lookup(key("hits")), std::optional<QString>(QStringLiteral("2")));
        QCOMPARE(queue.lookup(key("Tries")), std::optional<QString>(QStringLiteral("3")));
        // The first write lost both its entries to later ones; the second keeps its statement.
        QCOMPARE(queue.writes().size(), size_t(2));
        QCOMPARE(queue.writes()[0].statements.size(), 1);
        queue.keepOldest(PendingWrites::makeWrite({entry("Tries", "9"), entry("Deck", "1")}));
        QCOMPARE(queue.writes().front().entries.size(), size_t(1));
        QCOMPARE(queue.lookup(key("Tries")), std::optional<QString>(QStringLiteral("3")));
        QCOMPARE(queue.lookup(key("Deck")), std::optional<QString>(QStringLiteral("1")));
    }

    void pathIsClassifiedAndReadWithoutBlocking_data()
    {
        QTest::addColumn<QString>("make"); // what stands at the store's path
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("readerSays"); // empty: the reader opens it
        QTest::newRow("nothing") << "" << int(StorePathKind::Missing) << "no store at";
        QTest::newRow("a dangling link") << "link" << int(StorePathKind::DanglingLink) << "link to a file";
        QTest::newRow("a folder") << "folder" << int(StorePathKind::Folder) << "a folder in its place";
        QTest::newRow("a FIFO") << "fifo" << int(StorePathKind::NotAFile) << "not a regular file";
        QTest::newRow("a device") << "device" << int(StorePathKind::NotAFile) << "not a regular file";
        QTest::newRow("a zero-length file") << "empty" << int(StorePathKind::Empty) << "";
        QTest::newRow("a store") << "store" << int(StorePathKind::Regular) << "";
    }
    // Guards the command line blocking for ever on a FIFO at the store's path, saying "disk I/O error"
    // for a folder, and refusing a zero-length store that the windows use as an empty one; the reader
    // changes nothing at the path.
    void pathIsClassifiedAndReadWithoutBlocking()
    {
        QFETCH(QString, make);
        QFETCH(int, kind);
        QFETCH(QString, readerSays);
        StoreSandbox sandbox;
        const QString path = sandbox.storePath();
        if (make == QLatin1String("store"))
            saveAccountValue(kAlice, "UserName", kAlice);
        resetSettingsStore();
        QVERIFY(QDir().mkpath(sandbox.folder()));
        const QByteArray native = QFile::encodeName(path);
        if (make == QLatin1String("link"))
            QVERIFY(QFile::link(path + QStringLiteral(".gone"), path));
        else if (make == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (make == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        else if (make == QLatin1String("device"))
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
        else if (make == QLatin1String("empty"))
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        QCOMPARE(int(classifyStorePath(path).kind), kind);

        StoreReader reader(path);
        QString reason;
        auto opened = std::async(std::launch::async, [&] { return reader.open(&reason); });
        if (opened.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ::close(::open(native.constData(), O_WRONLY | O_NONBLOCK)); // lets the blocked reader go
            QFAIL("opening the store blocked");
        }
        QCOMPARE(opened.get(), readerSays.isEmpty());
        QVERIFY2(reason.contains(readerSays), qPrintable(reason));
        if (make == QLatin1String("empty")) {
            QVERIFY(!reader.lookup(kAccounts, kAlice, QStringLiteral("UserName")));
            QCOMPARE(QFileInfo(path).size(), 0);
            QVERIFY(!QFileInfo::exists(path + QStringLiteral("-wal")));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
