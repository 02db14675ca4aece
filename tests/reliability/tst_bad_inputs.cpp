// Hostile names, passwords and stored counts through the real login window, the real trainer and the
// real store: each has a clear outcome, and nothing stored is lost or changed by an input that is
// refused. The store's own handling of such text is tested with the store; here it is the whole way
// from the boxes of the login window to the totals a test run stores.

#include "ProgramSandbox.h"

#include <QPointer>

using namespace sandbox;
using storetest::withNul;

namespace {

const QString kInvalidUserName = QStringLiteral("Invalid Username! Please Try Again!");
const QString kInvalidPassword = QStringLiteral("Invalid Password... please try again!");
const QString kNameTaken =
    QStringLiteral("That Username already exists... you'll need to use a different name!");
const QString kUserCreated = QStringLiteral("New User Created!  You are now logged on as: ");
const QString kCountLimitReached =
    QStringLiteral("Count limit reached: no more than 32767 tries or hits can be counted.");

constexpr qsizetype kOneMegabyte = 1 << 20;

// The same password with its first character changed: still as long, so a box that keeps only the
// start of a long text cannot make the two equal.
QString otherPassword(const QString &password)
{
    QString other = password;
    other[0] = other[0] == u'x' ? u'y' : u'x';
    return other;
}

} // namespace

class tst_BadInputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ProgramSandbox::initSuite(); }
    void init()
    {
        m_sandbox = std::make_unique<ProgramSandbox>();
        QVERIFY(m_sandbox->isValid());
    }
    void cleanup() { m_sandbox.reset(); }

    // A name or password of any text a user can paste: the account is created under exactly the text the
    // name box holds (a box keeps at most its first 32767 characters), a test run's guess is stored under
    // it, the same account logs in again (names in any letter case, Unicode's own case pairs included),
    // another password is refused, and an account already in the store is never touched.
    void hostileAccountWorksThroughTheWindows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("loginName"); // as typed at the later login

        const QString longName(kOneMegabyte, u'N');
        const QString sql = QStringLiteral("'; DROP TABLE setting; --");
        QTest::newRow("1 MB name") << longName << QStringLiteral("pw") << longName;
        QTest::newRow("1 MB password")
            << QStringLiteral("Long") << QString(kOneMegabyte, u'p') << QStringLiteral("Long");
        QTest::newRow("path and ini characters")
            << QStringLiteral("a/b\\c[d]=e") << QStringLiteral("]\\/=[") << QStringLiteral("A/B\\C[D]=E");
        QTest::newRow("quotes") << QStringLiteral("O'Brien \"Bob\" `x`") << QStringLiteral("'\"`")
                                << QStringLiteral("o'brien \"bob\" `X`");
        QTest::newRow("newlines") << QStringLiteral("two\nlines\r\n") << QStringLiteral("pass\nword")
                                  << QStringLiteral("TWO\nLINES\r\n");
        QTest::newRow("NUL characters")
            << withNul(u"Nul", u"Name") << withNul(u"p", u"w") << withNul(u"nul", u"name");
        QTest::newRow("right-to-left text") << QStringLiteral("\u05e9\u05dc\u05d5\u05dd \u202eabc")
                                            << QStringLiteral("\u0643\u0644\u0645\u0629")
                                            << QStringLiteral("\u05e9\u05dc\u05d5\u05dd \u202eABC");
        QTest::newRow("\u00c4RGER, then \u00e4rger")
            << QStringLiteral("\u00c4RGER") << QStringLiteral("pw") << QStringLiteral("\u00e4rger");
        QTest::newRow("\u03a3, then \u03c3")
            << QStringLiteral("\u03a3") << QStringLiteral("pw") << QStringLiteral("\u03c3");
        QTest::newRow("\u03a3, then final \u03c2")
            << QStringLiteral("\u03a3") << QStringLiteral("pw") << QStringLiteral("\u03c2");
        QTest::newRow("SQL text") << sql << sql << sql;
        QTest::newRow("spaces only") << QStringLiteral("   ") << QStringLiteral(" ") << QStringLiteral("   ");
    }
    void hostileAccountWorksThroughTheWindows()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, loginName);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(QStringLiteral("Alice"), QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        const QList<QStringList> alice = storeRows(s.storePath());

        s.host->openLoginWindow();
        frmUser *login = activeLogin(*s.host);
        QVERIFY(login);
        const qsizetype boxLimit = login->txtUserName->maxLength();
        const QString account = name.left(boxLimit);
        const QString typedAtLogin = loginName.left(boxLimit);
        submitLogin(login, name, password, true);
        QCOMPARE(s.messageTexts(), QStringList{kUserCreated + account});
        QCOMPARE(s.host->session().CurrentUserName, account);
        QCOMPARE(stored(account, "UserName"), account);
        QVERIFY(stored(account, "Password").startsWith(QStringLiteral("$argon2id$")));

        QPointer<frmMain> trainer = s.host->trainerWindow();
        QVERIFY(trainer && QTest::qWaitForWindowExposed(trainer));
        clickOn(trainer->StartButton(0));
        clickOn(trainer->Card(4));
        QCOMPARE(stored(account, "Tries"), QStringLiteral("1"));
        const QString hits = stored(account, "Hits");
        QVERIFY(hits == QStringLiteral("0") || hits == QStringLiteral("1"));
        const QList<QStringList> rows = storeRows(s.storePath());
        for (const QStringList &row : alice)
            QVERIFY(rows.contains(row));
        QCOMPARE(rows.size(), alice.size() + 4);

        s.messages.clear();
        clickOn(trainer->btnUser(0));
        login = activeLogin(*s.host);
        QVERIFY(login);
        submitLogin(login, loginName, otherPassword(password));
        QCOMPARE(s.messageTexts(), QStringList{kInvalidPassword});
        QCOMPARE(s.host->session().CurrentUserName, account);
        submitLogin(login, loginName, password);
        QCOMPARE(s.messageTexts(), QStringList{kInvalidPassword});
        QCOMPARE(s.host->session().CurrentUserName, typedAtLogin);
        QCOMPARE(trainer->lblUserName->caption(), typedAtLogin);
        clickOn(trainer->StartButton(0));
        QCOMPARE(int(trainer->run().RunTries()), 1);
        QCOMPARE(QString::number(trainer->run().RunHits()), hits);
        QCOMPARE(storeRows(s.storePath()), rows);
    }

    // Input the login window refuses, in either mode: the user is told why, the window stays for another
    // try, nobody is logged in, and the store is exactly as it was.
    void refusedInputChangesNothing_data()
    {
        QTest::addColumn<bool>("createMode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");

        const QString alice = QStringLiteral("Alice");
        QTest::newRow("empty password") << false << alice << QString() << kInvalidPassword;
        QTest::newRow("1 MB wrong password")
            << false << alice << QString(kOneMegabyte, u's') << kInvalidPassword;
        QTest::newRow("password in another letter case")
            << false << QStringLiteral("\u00e4rger") << QStringLiteral("\u00c4\u00d6") << kInvalidPassword;
        QTest::newRow("SQL in the password")
            << false << alice << QStringLiteral("' OR '1'='1") << kInvalidPassword;
        QTest::newRow("SQL matching every row as name")
            << false << QStringLiteral("' OR '1'='1") << QStringLiteral("s3cret") << kInvalidUserName;
        QTest::newRow("name cut short at its NUL")
            << false << QStringLiteral("Nul") << QStringLiteral("x") << kInvalidUserName;
        QTest::newRow("name with a NUL added")
            << false << withNul(u"Alice", u"") << QStringLiteral("s3cret") << kInvalidUserName;
        QTest::newRow("name with a space added")
            << false << QStringLiteral("Alice ") << QStringLiteral("s3cret") << kInvalidUserName;
        QTest::newRow("new \u00e4rger while \u00c4RGER exists")
            << true << QStringLiteral("\u00e4rger") << QStringLiteral("new") << kNameTaken;
        QTest::newRow("new final \u03c2 while \u03a3 exists")
            << true << QStringLiteral("\u03c2") << QStringLiteral("new") << kNameTaken;
        QTest::newRow("new name taken, 1 MB password")
            << true << QStringLiteral("ALICE") << QString(kOneMegabyte, u'n') << kNameTaken;
    }
    void refusedInputChangesNothing()
    {
        QFETCH(bool, createMode);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(QStringLiteral("Alice"), QStringLiteral("s3cret"), QStringLiteral("3"),
                    QStringLiteral("10"));
        makeAccount(QStringLiteral("\u00c4RGER"), QStringLiteral("\u00e4\u00f6"), QStringLiteral("1"),
                    QStringLiteral("2"));
        makeAccount(QStringLiteral("\u03a3"), QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("0"));
        makeAccount(withNul(u"Nul", u"Name"), QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("0"));
        const QList<QStringList> before = storeRows(s.storePath());
        QCOMPARE(before.size(), 16);

        s.host->openLoginWindow();
        QPointer<frmUser> login = activeLogin(*s.host);
        QVERIFY(login);
        submitLogin(login, name, password, createMode);
        QCOMPARE(s.messageTexts(), QStringList{message});
        QVERIFY(login && login->isVisible());
        QCOMPARE(login->NewUserMode, createMode);
        QVERIFY(s.host->trainerWindow() == nullptr);
        QVERIFY(s.host->session().CurrentUserName.isEmpty());
        QCOMPARE(storeRows(s.storePath()), before);
    }

    // Counts filled into the store by hand reach the trainer as whole numbers in range: what is not a
    // plain decimal number (signs, spaces, letters) counts as 0, and the login says so once, before the
    // first guess of a test run stores plain numbers over it; leading zeros are dropped silently.
    void storedCountsReachTheTrainerInRange_data()
    {
        QTest::addColumn<QString>("hitsText");
        QTest::addColumn<QString>("triesText");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("tries");
        QTest::addColumn<bool>("told");
        QTest::newRow("not a number") << QStringLiteral("lots") << QStringLiteral("many") << 0 << 0 << true;
        QTest::newRow("negative") << QStringLiteral("-5") << QStringLiteral("-1") << 0 << 0 << true;
        QTest::newRow("spaces around") << QStringLiteral(" 4") << QStringLiteral("9 ") << 0 << 0 << true;
        QTest::newRow("space inside") << QStringLiteral("1 2") << QStringLiteral("3 4") << 0 << 0 << true;
        QTest::newRow("empty") << QString() << QString() << 0 << 0 << true;
        QTest::newRow("leading zeros") << QStringLiteral("007") << QStringLiteral("0020") << 7 << 20 << false;
        QTest::newRow("hits not a number, tries fine")
            << QStringLiteral("x5") << QStringLiteral("9") << 0 << 9 << true;
    }
    void storedCountsReachTheTrainerInRange()
    {
        QFETCH(QString, hitsText);
        QFETCH(QString, triesText);
        QFETCH(int, hits);
        QFETCH(int, tries);
        QFETCH(bool, told);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(QStringLiteral("Dave"), QStringLiteral("d"), hitsText, triesText);
        frmMain *trainer = logInFromStart(*s.host, QStringLiteral("Dave"), QStringLiteral("d"));
        QVERIFY(trainer);
        QCOMPARE(s.messages.size(), told ? 1 : 0);
        if (told)
            QVERIFY2(s.messages[0].text.contains(QStringLiteral("\"%1\"").arg(
                         hitsText != QLatin1String("x5") ? triesText : hitsText)),
                     qPrintable(s.messages[0].text));
        s.messages.clear();
        QCOMPARE(int(s.host->session().UserHits), hits);
        QCOMPARE(int(s.host->session().UserTries), tries);

        clickOn(trainer->StartButton(0));
        QCOMPARE(int(trainer->run().RunHits()), hits);
        QCOMPARE(int(trainer->run().RunTries()), tries);
        clickOn(trainer->Card(3));
        QCOMPARE(stored(QStringLiteral("Dave"), "Tries"), QString::number(tries + 1));
        QCOMPARE(stored(QStringLiteral("Dave"), "Hits"), QString::number(trainer->run().RunHits()));
        QVERIFY(trainer->run().RunHits() == hits || trainer->run().RunHits() == hits + 1);
        QVERIFY(trainer->lblStats->caption().startsWith(QStringLiteral("Tries: %1 ").arg(tries + 1)));
        QVERIFY(s.messages.isEmpty());
    }

    // 16-bit totals end to end: a user whose stored tries are at (or were filled in past) 32767 logs in,
    // starts a test, and a guess is refused with the limit message, revealing and storing nothing; at
    // 32766 one more guess counts and stores 32767, and the one after it is refused.
    void countLimitEndToEnd_data()
    {
        QTest::addColumn<QString>("triesText");
        QTest::addColumn<int>("countedGuesses");
        QTest::newRow("32767 tries") << QStringLiteral("32767") << 0;
        QTest::newRow("tries filled in past the limit") << QStringLiteral("40000") << 0;
        QTest::newRow("32766 tries") << QStringLiteral("32766") << 1;
    }
    void countLimitEndToEnd()
    {
        QFETCH(QString, triesText);
        QFETCH(int, countedGuesses);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(QStringLiteral("Max"), QStringLiteral("m"), QStringLiteral("100"), triesText);
        frmMain *trainer = logInFromStart(*s.host, QStringLiteral("Max"), QStringLiteral("m"));
        QVERIFY(trainer);
        // Tries filled in past the limit are told at the login, as the largest count.
        QCOMPARE(s.messages.size(), triesText == QLatin1String("40000") ? 1 : 0);
        s.messages.clear();
        clickOn(trainer->StartButton(0));

        if (countedGuesses == 1) {
            clickOn(trainer->Card(1));
            QCOMPARE(stored(QStringLiteral("Max"), "Tries"), QStringLiteral("32767"));
            QCOMPARE(int(s.host->session().UserTries), 32767);
            QVERIFY(trainer->timerreset->isEnabled());
            trainer->timerreset_Timer(); // the reveal ends as its timer ends it
        }
        const QList<QStringList> before = storeRows(s.storePath());
        const int hits = trainer->run().RunHits();
        clickOn(trainer->Card(2));
        QCOMPARE(trainer->lblStats->caption(), kCountLimitReached);
        QCOMPARE(int(trainer->run().RunTries()), 32767);
        QCOMPARE(int(trainer->run().RunHits()), hits);
        QVERIFY(trainer->Card(6)->isVisible());
        QVERIFY(!trainer->timerreset->isEnabled());
        QCOMPARE(storeRows(s.storePath()), before);
        QVERIFY(s.messages.isEmpty());
    }

private:
    std::unique_ptr<ProgramSandbox> m_sandbox;
};

QTEST_MAIN(tst_BadInputs)
#include "tst_bad_inputs.moc"
