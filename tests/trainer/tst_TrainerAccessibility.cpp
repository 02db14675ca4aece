// The trainer window as a screen reader meets it: the picture buttons by name, pressing Test, the
// cards of both games without a word about a face that lies face down, the face row after a deck
// change, the status line, the meter and the pictures that are never shown.

#include "TrainerTestSupport.h"

#include "trainer/FaceNames.h"

#include "tests/support/Accessible.h"

#include "platform/Accessibility.h"

#include <QAccessible>

namespace {

bool exposed(QObject *object)
{
    return !iface(object)->state().invisible;
}

bool listedAmongChildren(QWidget *widget)
{
    return iface(widget->parentWidget())->indexOfChild(iface(widget)) >= 0;
}

// Every face name of every deck: none may appear in what a face-down card is called.
QStringList allFaceNames()
{
    QStringList names;
    for (auto deck : {facenames::Deck::Zener, facenames::Deck::Colors, facenames::Deck::PlayingCards}) {
        for (std::int16_t face = 1; face <= 5; ++face)
            names << facenames::faceName(deck, face);
    }
    return names;
}

bool mentionsAFace(const QString &name)
{
    for (const QString &face : allFaceNames()) {
        if (name.contains(face))
            return true;
    }
    return false;
}

} // namespace

class tst_TrainerAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initTrainerSuite();
        platform::installAccessibility();
    }

    void init() { m_store = std::make_unique<PrivateStore>(); }
    void cleanup()
    {
        platform::setAccessibilityEventRecorder({});
        m_store.reset();
    }

    // Each picture button reads its name with the role Button, once: its lit picture is not a
    // second button, also not while the pointer lies on the button and the lit picture shows. The
    // name is the word drawn on it, and its key is in its tooltip and told as its press binding.
    void pictureButtonsReadTheirNamesOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("key");
        QTest::newRow("Test") << QStringLiteral("Test") << 0 << QStringLiteral("T");
        QTest::newRow("Drill, as drawn") << QStringLiteral("Drill") << 1 << QStringLiteral("P");
        QTest::newRow("User") << QStringLiteral("User") << 2 << QStringLiteral("U");
        QTest::newRow("Help") << QStringLiteral("Help") << 3 << QStringLiteral("F1");
        QTest::newRow("Close") << QStringLiteral("Close") << 4 << QStringLiteral("Ctrl+Q");
    }
    void pictureButtonsReadTheirNamesOnce()
    {
        QFETCH(QString, name);
        QFETCH(int, which);
        QFETCH(QString, key);
        TrainerFixture f;
        frmMain &w = f.opened();
        const std::array<platform::ControlArray<platform::Image> *, 5> pairs{
            &w.StartButton, &w.btnDrill, &w.btnUser, &w.btnHelp, &w.Image1};
        platform::Image *plain = (*pairs[which])(0);
        platform::Image *lit = (*pairs[which])(1);

        QCOMPARE(iface(plain)->role(), QAccessible::Button);
        QCOMPARE(nameOf(plain), name);
        QCOMPARE(shownChildNames(&w).count(name), 1);
        QVERIFY(!exposed(lit));
        for (platform::Image *picture : {plain, lit}) {
            QVERIFY(picture->toolTip().endsWith(QStringLiteral("(%1)").arg(key)));
            QAccessibleActionInterface *actions = iface(picture)->actionInterface();
            QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                     QStringList{key});
        }

        plain->hide(); // as the pointer moving onto it does
        QCOMPARE(shownChildNames(&w).count(name), 1);
        QVERIFY(exposed(lit));
        QCOMPARE(nameOf(lit), name);
        QCOMPARE(iface(lit)->role(), QAccessible::Button);
    }

    // Pressing Test does what clicking it does: the plain game's run starts. The window's body is
    // no button.
    void pressingTestStartsARun()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        QVERIFY(
            !iface(&w)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QVERIFY(iface(w.StartButton(0))
                    ->actionInterface()
                    ->actionNames()
                    .contains(QAccessibleActionInterface::pressAction()));
        press(w.StartButton(0));
        QVERIFY(w.picWorkArea->isVisible());
        QCOMPARE(w.lblUserName->caption(), QStringLiteral("Ada is testing..."));
        QCOMPARE(w.lblStats->caption(), QStringLiteral("Click the card you feel the computer has chosen."));

        // A face row card: the guess is counted as a click counts it. Then Stop.
        press(w.Card(2));
        QCOMPARE(w.run().RunTries(), 1);
        press(w.btnStop(0));
        QVERIFY(w.picWorkArea->isHidden());
    }

    // The covers read "Hidden card 1".."Hidden card 5" and never the face beneath; a turned cover
    // shows its face and may say it, and says nothing of it once turned back. The faces under the
    // covers are not in the tree at all.
    void coversNeverTellTheFaceBeneath()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        w.chkFindHidden->setValue(1);
        press(w.StartButton(0));
        QVERIFY(w.picHidden->isVisible());

        const QString chosen = facenames::faceName(facenames::Deck::Zener, w.run().DealtFaces()[0]);
        QCOMPARE(nameOf(w.HiddenCard(0)), QStringLiteral("Chosen card: ") + chosen);
        for (std::int16_t position = 1; position <= 5; ++position) {
            platform::Image *cover = w.HiddenCard(static_cast<std::int16_t>(position + 5));
            QCOMPARE(nameOf(cover), QStringLiteral("Hidden card %1").arg(position));
            QCOMPARE(iface(cover)->role(), QAccessible::Button);
            QVERIFY(!listedAmongChildren(w.HiddenCard(position)));
            QVERIFY(iface(w.HiddenCard(position))->text(QAccessible::Name).isEmpty());
        }
        for (const QString &name : shownChildNames(w.picHidden)) {
            if (name != nameOf(w.HiddenCard(0)))
                QVERIFY2(!mentionsAFace(name), qPrintable(name));
        }

        const QString third = facenames::faceName(facenames::Deck::Zener, w.run().DealtFaces()[3]);
        press(w.HiddenCard(8));
        QCOMPARE(w.run().RunTries(), 1);
        QCOMPARE(nameOf(w.HiddenCard(8)), QStringLiteral("Hidden card 3: ") + third);
        QCOMPARE(nameOf(w.HiddenCard(7)), QStringLiteral("Hidden card 2"));

        w.hiddenTimer_Timer();
        QCOMPARE(nameOf(w.HiddenCard(8)), QStringLiteral("Hidden card 3"));
        QCOMPARE(nameOf(w.HiddenCard(0)),
                 QStringLiteral("Chosen card: ") +
                     facenames::faceName(facenames::Deck::Zener, w.run().DealtFaces()[0]));
    }

    // The computer's card says nothing of its face while covered (blind play keeps it covered) and
    // its face once revealed.
    void computersCardSpeaksOnlyWhenRevealed_data()
    {
        QTest::addColumn<bool>("blind");
        QTest::newRow("revealed after a guess") << false;
        QTest::newRow("blind play keeps it covered") << true;
    }
    void computersCardSpeaksOnlyWhenRevealed()
    {
        QFETCH(bool, blind);
        TrainerFixture f;
        frmMain &w = f.opened();
        w.chkBlindMode->setValue(blind ? 1 : 0);
        press(w.StartButton(0));

        QCOMPARE(nameOf(w.Card(6)), QStringLiteral("Computer's card, covered"));
        QVERIFY(exposed(w.Card(6)));
        QVERIFY(!exposed(w.Card(0)));

        press(w.Card(1));
        QCOMPARE(w.run().RunTries(), 1);
        if (blind) {
            QVERIFY(!exposed(w.Card(0)));
            QVERIFY(nameOf(w.Card(0)).isEmpty());
            QVERIFY(exposed(w.Card(6)));
            return;
        }
        QVERIFY(exposed(w.Card(0)));
        const QString revealed = nameOf(w.Card(0));
        QVERIFY2(revealed.startsWith(QStringLiteral("Computer's card: ")) && mentionsAFace(revealed),
                 qPrintable(revealed));
        w.timerreset_Timer();
        QVERIFY(!exposed(w.Card(0)));
        QVERIFY(nameOf(w.Card(0)).isEmpty());
    }

    // The face row is named after the deck in use, and renamed when the deck changes.
    void faceRowFollowsTheDeck()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        QCOMPARE(nameOf(w.Card(1)), QStringLiteral("Card 1: star"));
        QCOMPARE(nameOf(w.Card(3)), QStringLiteral("Card 3: three wavy lines"));
        QCOMPARE(iface(w.Card(1))->role(), QAccessible::Button);

        QTest::mouseClick(w.Option1(1), Qt::LeftButton);
        QCOMPARE(nameOf(w.Card(1)), QStringLiteral("Card 1: red"));
        QCOMPARE(nameOf(w.Card(5)), QStringLiteral("Card 5: magenta"));
        QTest::mouseClick(w.Option1(2), Qt::LeftButton);
        QCOMPARE(nameOf(w.Card(1)), QStringLiteral("Card 1: ace of spades"));
        QCOMPARE(nameOf(w.Card(5)), QStringLiteral("Card 5: ten of spades"));

        // The find-hidden game deals from the deck in use.
        w.chkFindHidden->setValue(1);
        press(w.StartButton(0));
        QVERIFY(nameOf(w.HiddenCard(0))
                    .endsWith(facenames::faceName(facenames::Deck::PlayingCards, w.run().DealtFaces()[0])));
    }

    // The status line reads its text and announces each new one; the meter has a name; the
    // options tab is a button; pictures never shown are not in the tree.
    void statusLineMeterAndHiddenPictures()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        QCOMPARE(iface(w.Picture1)->role(), QAccessible::StatusBar);
        QCOMPARE(iface(w.lblStats)->role(), QAccessible::StaticText);
        QCOMPARE(iface(w.picMeter)->role(), QAccessible::Graphic);
        QCOMPARE(nameOf(w.picMeter), QStringLiteral("Accuracy meter"));
        QCOMPARE(iface(w.lblOptionsTouch)->role(), QAccessible::Button);
        QCOMPARE(nameOf(w.lblOptionsTouch), QStringLiteral("Options"));

        int announcements = 0;
        platform::setAccessibilityEventRecorder([&](QAccessibleEvent *event) {
            if (event->object() == w.lblStats && event->type() == QAccessible::NameChanged)
                ++announcements;
        });
        press(w.StartButton(0));
        press(w.Card(4));
        QCOMPARE(nameOf(w.lblStats), w.lblStats->caption());
        QVERIFY(w.lblStats->caption() != QStringLiteral("Click the card you feel the computer has chosen."));
        QCOMPARE(announcements, 2); // the prompt, then the score
        // The try's result and the score line on the score bar's name, nothing drawn anew.
        const QString told = nameOf(w.Picture1);
        QVERIFY2(told.startsWith(QStringLiteral("Hit. ")) || told.startsWith(QStringLiteral("Miss. ")),
                 qPrintable(told));
        QVERIFY(told.endsWith(w.lblStats->caption()));

        // The options panel, slid up behind the title band, is not in the tree until it opens.
        QVERIFY(!listedAmongChildren(w.picOptions));
        w.lblOptionsTouch_Click();
        QVERIFY(listedAmongChildren(w.picOptions));
        w.lblOptionsTouch_Click();
        QVERIFY(!listedAmongChildren(w.picOptions));

        QVERIFY(!listedAmongChildren(w.picBox2));
        QVERIFY(!listedAmongChildren(w.shapeMeter));
        for (std::int16_t face = 1; face <= 5; ++face) {
            QVERIFY(!listedAmongChildren(w.zCard(face)));
            QVERIFY(!listedAmongChildren(w.ColorCards(face)));
            QVERIFY(!listedAmongChildren(w.pCard(face)));
        }
        // A panel not in play is hidden, and Qt reports what lies in it as invisible.
        QVERIFY(w.picHidden->isHidden());
        QVERIFY(!exposed(w.HiddenCard(6)));
    }

private:
    std::unique_ptr<PrivateStore> m_store;
};

QTEST_MAIN(tst_TrainerAccessibility)
#include "tst_TrainerAccessibility.moc"
