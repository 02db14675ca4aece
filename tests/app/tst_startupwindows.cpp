// The agreement and splash windows on their own, each handing over to a recording stand-in for the
// rest of the program: the agreement flag, Accept and Decline with their messages, the text that
// cannot be edited, the close request, and the splash window's outline and click.
#include "app/StartupHost.h"
#include "app/frmEULA.h"
#include "app/frmSplash.h"

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "settings/Settings.h"
#include "tests/support/TestSandbox.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTest>

#include <memory>

using namespace platform;

namespace {

const QString kAcceptedMessage = QStringLiteral("EULA Terms accepted.  Enjoy!");
const QString kDeclinedMessage = QStringLiteral("You did not accept the terms of the End User License "
                                                "Agreement.\r\n\r\nqxOrvanta Trainer will now exit...");

QString storedFlag()
{
    return GetSetting(QStringLiteral("qxOrvanta"), QStringLiteral("EULA"), QStringLiteral("TermsAccepted"),
                      QStringLiteral("<missing>"));
}

void storeFlag(const QString &value)
{
    SaveSetting(QStringLiteral("qxOrvanta"), QStringLiteral("EULA"), QStringLiteral("TermsAccepted"), value);
}

// Stands in for the program: opens a real splash window when asked (as the program does) and
// counts the requests for the login window.
class ChainHost : public StartupHost
{
public:
    void showSplash() override
    {
        ++splashRequests;
        splash = new frmSplash(*this);
        splash->Show();
    }
    void openLoginWindow() override { ++loginRequests; }

    int splashRequests = 0;
    int loginRequests = 0;
    QPointer<frmSplash> splash;
};

template <typename T> T *control(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class tst_StartupWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initWindowSuite(); }

    void init()
    {
        m_sandbox = std::make_unique<WindowSandbox>();
        QVERIFY(m_sandbox->isValid());
        m_host = std::make_unique<ChainHost>();
        m_sandbox->onMessage = [this] {
            m_flagAtMessage = storedFlag();
            m_splashRequestsAtMessage = m_host->splashRequests;
        };
    }

    void cleanup() { m_sandbox.reset(); }

    // Only the exact text "True" passes the agreement; anything else (never answered, declined,
    // other letter case, a stray space) shows it again.
    void agreementShowsUnlessAcceptedExactly_data()
    {
        QTest::addColumn<bool>("store");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("passesOn");
        QTest::newRow("fresh store") << false << QString() << false;
        QTest::newRow("accepted earlier") << true << QStringLiteral("True") << true;
        QTest::newRow("declined earlier") << true << QStringLiteral("False") << false;
        QTest::newRow("lower case") << true << QStringLiteral("true") << false;
        QTest::newRow("upper case") << true << QStringLiteral("TRUE") << false;
        QTest::newRow("trailing space") << true << QStringLiteral("True ") << false;
        QTest::newRow("empty text") << true << QString() << false;
    }
    void agreementShowsUnlessAcceptedExactly()
    {
        QFETCH(bool, store);
        QFETCH(QString, flag);
        QFETCH(bool, passesOn);
        if (store)
            storeFlag(flag);

        QPointer<frmEULA> eula = showWindow<frmEULA>(*m_host);

        if (passesOn) {
            // Unloaded inside its load step, so it never appeared; the splash is the window shown.
            QVERIFY(eula->isUnloaded());
            QVERIFY(!eula->isVisible());
            QVERIFY(m_host->splash);
            QVERIFY(m_host->splash->isVisible());
            QCOMPARE(FormRegistry::loadedForms(), QList<Form *>{m_host->splash.data()});
            QCOMPARE(m_sandbox->programEnds, 0);
        } else {
            QVERIFY(eula->isVisible());
            QCOMPARE(m_host->splashRequests, 0);
            QVERIFY(QTest::qWaitForWindowActive(eula));
            QCOMPARE(QApplication::focusWidget(), control<QWidget>(eula, "Text1"));
        }
        QVERIFY(m_sandbox->messages.isEmpty());
        QCOMPARE(storedFlag(), store ? flag : QStringLiteral("<missing>"));
    }

    // Accept stores the flag before its message, and opens the splash only after the message is
    // closed; an earlier refusal is overwritten. Decline stores the refusal, says so in two
    // paragraphs, and ends the program: no other window is left.
    void answerIsStoredBeforeItsMessage_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("flag");
        const QString accept = QStringLiteral("cmdAccept"), decline = QStringLiteral("cmdNotaccepted");
        const QString yes = QStringLiteral("True"), no = QStringLiteral("False");
        QTest::newRow("accept, fresh store") << QString() << accept << kAcceptedMessage << yes;
        QTest::newRow("accept after an earlier decline") << no << accept << kAcceptedMessage << yes;
        QTest::newRow("decline") << QString() << decline << kDeclinedMessage << no;
    }
    void answerIsStoredBeforeItsMessage()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, button);
        QFETCH(QString, message);
        QFETCH(QString, flag);
        if (!earlier.isEmpty())
            storeFlag(earlier);
        const bool accepted = flag == QStringLiteral("True");
        QPointer<frmEULA> eula = showWindow<frmEULA>(*m_host);

        QTest::mouseClick(control<QWidget>(eula, qPrintable(button)), Qt::LeftButton);

        QCOMPARE(m_sandbox->messages.size(), 1);
        QCOMPARE(m_sandbox->messages.first().text, message);
        QCOMPARE(m_sandbox->messages.first().icon, MsgIcon::Exclamation);
        QCOMPARE(m_sandbox->messages.first().title, kApplicationTitle);
        QCOMPARE(m_flagAtMessage, flag);
        QCOMPARE(m_splashRequestsAtMessage, 0);
        QCOMPARE(storedFlag(), flag);
        QCOMPARE(m_host->splashRequests, accepted ? 1 : 0);
        QVERIFY(!accepted || m_host->splash->isVisible());
        QVERIFY(eula->isUnloaded());
        QVERIFY(!eula->isVisible());
        QCOMPARE(m_sandbox->programEnds, accepted ? 0 : 1);
        QTRY_VERIFY(eula.isNull());
    }

    // A close request from the window manager (the dialog has no close box, but window managers may
    // still offer one) unloads the window without answering the agreement.
    void closeRequestUnloadsWithoutStoring()
    {
        QPointer<frmEULA> eula = showWindow<frmEULA>(*m_host);
        QVERIFY(eula->close());
        QVERIFY(eula->isUnloaded());
        QCOMPARE(storedFlag(), QStringLiteral("<missing>"));
        QVERIFY(m_sandbox->messages.isEmpty());
        QCOMPARE(m_host->splashRequests, 0);
        QCOMPARE(m_sandbox->programEnds, 1);
    }

    // Nothing typed, pasted or deleted changes the agreement.
    void typingNeverChangesAgreement_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier);
        QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier);
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier);
        QTest::newRow("enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("delete") << int(Qt::Key_Delete) << int(Qt::NoModifier);
        QTest::newRow("paste") << int(Qt::Key_V) << int(Qt::ControlModifier);
        QTest::newRow("paste by shift insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier);
        QTest::newRow("cut") << int(Qt::Key_X) << int(Qt::ControlModifier);
    }
    void typingNeverChangesAgreement()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto *eula = showWindow<frmEULA>(*m_host);
        auto *text1 = control<MultiLineTextBox>(eula, "Text1");
        const QString before = text1->toPlainText();
        QVERIFY(before.size() > 1000);
        QVERIFY(!before.contains(QLatin1Char('\r'))); // one line break per line, no stray CR
        QApplication::clipboard()->setText(QStringLiteral("pasted"));

        // At the start, in the middle of a line, and with the whole text selected.
        text1->moveCursor(QTextCursor::Start);
        for (int place = 0; place < 3; ++place) {
            if (place == 1) {
                text1->moveCursor(QTextCursor::Down);
                text1->moveCursor(QTextCursor::Right);
            } else if (place == 2) {
                text1->selectAll();
            }
            QTest::keyClick(text1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QCOMPARE(text1->toPlainText(), before);
        }

        // Enter in the text box never presses a button: neither is the window's default.
        QVERIFY(m_sandbox->messages.isEmpty());
        QCOMPARE(storedFlag(), QStringLiteral("<missing>"));
    }

    // The keys that produce no character keep their effect: the caret moves and the text scrolls.
    void navigationKeysMoveAndScroll()
    {
        auto *eula = showWindow<frmEULA>(*m_host);
        auto *text1 = control<MultiLineTextBox>(eula, "Text1");
        QCOMPARE(text1->textCursor().position(), 0);

        QTest::keyClick(text1, Qt::Key_Right);
        QCOMPARE(text1->textCursor().position(), 1);
        QTest::keyClick(text1, Qt::Key_Down);
        QVERIFY(text1->textCursor().position() > 1);
        while (text1->textCursor().block().length() < 3) // on to a line with words
            QTest::keyClick(text1, Qt::Key_Down);
        const int afterDown = text1->textCursor().position();
        QTest::keyClick(text1, Qt::Key_End);
        QVERIFY(text1->textCursor().position() > afterDown);
        QTest::keyClick(text1, Qt::Key_Home);
        QVERIFY(text1->textCursor().position() <= afterDown);

        QScrollBar *bar = text1->verticalScrollBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 0);
        QTest::keyClick(text1, Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);
        QTest::keyClick(text1, Qt::Key_PageUp);
        QCOMPARE(bar->value(), 0);
        QTest::keyClick(text1, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
    }

    // The focus goes Text1, Accept, Decline; a focused button takes Space or Enter.
    void focusOrderAndButtonKeys_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("flag");
        QTest::newRow("space on accept") << 1 << int(Qt::Key_Space) << QStringLiteral("True");
        QTest::newRow("enter on accept") << 1 << int(Qt::Key_Return) << QStringLiteral("True");
        QTest::newRow("space on decline") << 2 << int(Qt::Key_Space) << QStringLiteral("False");
        QTest::newRow("enter on decline") << 2 << int(Qt::Key_Return) << QStringLiteral("False");
    }
    void focusOrderAndButtonKeys()
    {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(QString, flag);
        QPointer<frmEULA> eula = showWindow<frmEULA>(*m_host);
        QVERIFY(QTest::qWaitForWindowActive(eula));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(eula, "Text1"));
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(),
                 control<QWidget>(eula, tabs == 1 ? "cmdAccept" : "cmdNotaccepted"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(storedFlag(), flag);
        QCOMPARE(m_sandbox->messages.size(), 1);
        QVERIFY(eula->isUnloaded());
    }

    // The dialog as drawn: a title bar without boxes, a fixed client area, the navy band under the
    // white headings, cut at the window's right edge.
    void agreementWindowLook()
    {
        auto *eula = showWindow<frmEULA>(*m_host);
        QCOMPARE(eula->windowTitle(), QStringLiteral("End User License Agreement"));
        const Qt::WindowFlags flags = eula->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::Tool)); // keeps its taskbar button
        QCOMPARE(eula->size(), QSize(520, 452));
        QCOMPARE(eula->minimumSize(), eula->maximumSize());

        const QImage face = eula->grab().toImage();
        QCOMPARE(face.pixelColor(515, 5), QColor(0, 0, 128)); // band reaches the right edge
        QCOMPARE(face.pixelColor(515, 65), eula->palette().color(QPalette::Window));
        // Headings in white on the band, above it in the stacking order.
        const QRect label3 = control<QWidget>(eula, "Label3")->geometry();
        QVERIFY(label3.bottom() < 61);
        QCOMPARE(eula->childAt(label3.center()), control<QWidget>(eula, "Label3"));
        bool whiteOnBand = false;
        for (int x = label3.left(); x <= label3.right() && !whiteOnBand; ++x)
            for (int y = label3.top(); y <= label3.bottom() && !whiteOnBand; ++y)
                whiteOnBand = face.pixelColor(x, y) == QColor(Qt::white);
        QVERIFY(whiteOnBand);
        QVERIFY(!control<QPushButton>(eula, "cmdAccept")->isDefault());
        QVERIFY(!control<QPushButton>(eula, "cmdNotaccepted")->isDefault());
    }

    // The splash is cut to its picture: every pixel of the top left pixel's colour is outside the
    // window (the offscreen platform does not apply masks, but the window reads its mask back).
    void splashTakesOutlineOfItsPicture()
    {
        auto *splash = showWindow<frmSplash>(*m_host);
        QVERIFY(splash->isVisible());
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash->windowType(), Qt::Tool); // no taskbar button
        QCOMPARE(splash->size(), QSize(424, 367));

        const QImage picture = Picture::fromResource(QStringLiteral(":/art/splash.png")).image();
        QCOMPARE(picture.size(), QSize(424, 367));
        const QRgb key = picture.pixel(0, 0);
        const QRegion mask = splash->mask();
        qint64 keptPixels = 0;
        qint64 maskPixels = 0;
        for (const QRect &rect : mask)
            maskPixels += qint64(rect.width()) * rect.height();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool kept = picture.pixel(x, y) != key;
                keptPixels += kept ? 1 : 0;
                if (kept != mask.contains(QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("outline wrong at %1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(maskPixels, keptPixels);
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(!mask.contains(QPoint(423, 366)));
        QVERIFY(mask.contains(QPoint(212, 183)));
    }

    // A click on the splash opens the login window and closes the splash; other buttons do nothing.
    void splashClickOpensLogin()
    {
        QPointer<frmSplash> splash = showWindow<frmSplash>(*m_host);
        QTest::mouseClick(splash, Qt::RightButton, {}, QPoint(212, 183));
        QCOMPARE(m_host->loginRequests, 0);
        QVERIFY(splash->isVisible());

        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(212, 183));
        QCOMPARE(m_host->loginRequests, 1);
        QVERIFY(splash->isUnloaded());
        QCOMPARE(m_sandbox->programEnds, 1); // the stand-in opened no real login window
        QTRY_VERIFY(splash.isNull());
    }

private:
    std::unique_ptr<WindowSandbox> m_sandbox;
    std::unique_ptr<ChainHost> m_host;
    QString m_flagAtMessage;
    int m_splashRequestsAtMessage = -1;
};

QTEST_MAIN(tst_StartupWindows)
#include "tst_startupwindows.moc"
