// What a screen reader learns of the trainer window: a name and role for every picture button, card
// and cover, the status line as the window's status bar, the meter. A card is named after the picture
// it shows itself, so a cover never names the face beneath it; the face row follows the deck.

#include "frmMain.h"

#include "FaceNames.h"
#include "TrainerTexts.h"

#include "platform/Accessibility.h"
#include "platform/Twips.h"

#include <QAccessibleEvent>
#include <QEvent>

#include <functional>
#include <initializer_list>

namespace {

const QString kNameTest = QStringLiteral("Test");
// Named as the picture letters it.
const QString kNamePractice = QStringLiteral("Drill");
const QString kNameStop = QStringLiteral("Stop");
const QString kNameUser = QStringLiteral("User");
const QString kNameHelp = QStringLiteral("Help");
const QString kNameClose = QStringLiteral("Close");
const QString kNameOptions = QStringLiteral("Options");
const QString kNameMeter = QStringLiteral("Accuracy meter");
const QString kNameFaceRowCard = QStringLiteral("Card %1");
const QString kNameComputersCard = QStringLiteral("Computer's card");
const QString kNameComputersCardCovered = QStringLiteral("Computer's card, covered");
const QString kNameHiddenCard = QStringLiteral("Hidden card %1");
const QString kNameChosenCard = QStringLiteral("Chosen card");
// Between a card's name and the face it shows: "Card 1: star".
const QString kFaceSeparator = QStringLiteral(": ");
const QString kAnnounceHit = QStringLiteral("Hit. ");
const QString kAnnounceMiss = QStringLiteral("Miss. ");

// Keeps a control out of the accessible tree while it lies in its closed place (the options panel
// slid up behind the title band), and tells assistive technology when that changes.
class ClosedPlaceWatcher : public QObject
{
public:
    ClosedPlaceWatcher(platform::Control *control, std::function<bool()> closed)
        : QObject(control), m_control(control), m_closed(std::move(closed))
    {
        control->installEventFilter(this);
        update();
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Show)
            update();
        return false;
    }

private:
    void update()
    {
        const bool closed = m_closed();
        if (closed == m_control->isAccessibleIgnored())
            return;
        m_control->setAccessibleIgnored(closed);
        QAccessibleEvent event(m_control, closed ? QAccessible::ObjectHide : QAccessible::ObjectShow);
        platform::notifyAccessibility(&event);
    }

    platform::Control *m_control;
    std::function<bool()> m_closed;
};

void setNameIfChanged(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

// A picture button and its lit picture lying under it: one button to a screen reader, whichever of
// the two shows.
void nameButtonPair(platform::Image *plain, platform::Image *lit, const QString &name,
                    const QString &description = QString())
{
    for (platform::Image *image : {plain, lit}) {
        image->setAccessibleRole(QAccessible::Button);
        image->setAccessibleName(name);
        image->setAccessibleDescription(description);
    }
    lit->setAccessibleCover(plain);
}

// Names the image now and again after every new picture.
void nameAfterPicture(platform::Image *image, const std::function<QString()> &name)
{
    setNameIfChanged(image, name());
    QObject::connect(image, &platform::Image::PictureChanged, image,
                     [image, name] { setNameIfChanged(image, name()); });
}

QString withFace(const QString &name, const QString &face)
{
    return face.isEmpty() ? name : name + kFaceSeparator + face;
}

} // namespace

QString frmMain::faceNameOf(const platform::Picture &picture) const
{
    // No picture (the art missing) shows no face, even where a holder lacks its picture too.
    if (picture.isNull())
        return QString();
    using facenames::Deck;
    for (std::int16_t face = 1; face <= 5; ++face) {
        if (zCard(face)->picture() == picture)
            return facenames::faceName(Deck::Zener, face);
        if (ColorCards(face)->picture() == picture)
            return facenames::faceName(Deck::Colors, face);
        if (pCard(face)->picture() == picture)
            return facenames::faceName(Deck::PlayingCards, face);
    }
    return QString(); // the card back
}

void frmMain::setAccessibility()
{
    nameButtonPair(StartButton(0), StartButton(1), kNameTest, trainertext::kHintTest);
    nameButtonPair(btnDrill(0), btnDrill(1), kNamePractice, trainertext::kHintPractice);
    nameButtonPair(btnUser(0), btnUser(1), kNameUser, trainertext::kHintUser);
    nameButtonPair(btnHelp(0), btnHelp(1), kNameHelp);
    nameButtonPair(Image1(0), Image1(1), kNameClose);
    nameButtonPair(btnStop(0), btnStop(1), kNameStop);
    nameButtonPair(btnStop(2), btnStop(3), kNameStop);

    lblOptionsTouch->setAccessibleRole(QAccessible::Button);
    lblOptionsTouch->setAccessibleName(kNameOptions);
    // Judged by the pixel place, where the widget's moves are told (a twip step may move nothing).
    new ClosedPlaceWatcher(picOptions, [this] {
        return picOptions->y() <= platform::twipsToPixels(kOptionsClosedTop);
    });

    // The score bar holds the status line, named by its text and announced as it changes.
    Picture1->setAccessibleRole(QAccessible::StatusBar);
    picMeter->setAccessibleRole(QAccessible::Graphic);
    picMeter->setAccessibleName(kNameMeter);
    shapeMeter->setAccessibleIgnored(true);
    // The piece of the title band that hides the closed options panel is decoration.
    picBlocker->setAccessibleIgnored(true);
    // Never shown: the window's outline source and the decks' holders.
    picBox2->setAccessibleIgnored(true);
    for (std::int16_t face = 1; face <= 5; ++face) {
        zCard(face)->setAccessibleIgnored(true);
        ColorCards(face)->setAccessibleIgnored(true);
        pCard(face)->setAccessibleIgnored(true);
    }

    // The plain game: the face row to click, the computer's card under its cover.
    for (std::int16_t position = 1; position <= 5; ++position) {
        platform::Image *card = Card(position);
        card->setAccessibleRole(QAccessible::Button);
        nameAfterPicture(card, [this, card, position] {
            return withFace(kNameFaceRowCard.arg(position), faceNameOf(card->picture()));
        });
    }
    Card(6)->setAccessibleName(kNameComputersCardCovered);
    Card(0)->setAccessibleCover(Card(6));
    nameAfterPicture(Card(0),
                     [this] { return withFace(kNameComputersCard, faceNameOf(Card(0)->picture())); });

    // The find-hidden game: the chosen card face up, five covers to click. The faces in the hidden
    // positions lie under the covers for good and are never told.
    nameAfterPicture(HiddenCard(0),
                     [this] { return withFace(kNameChosenCard, faceNameOf(HiddenCard(0)->picture())); });
    for (std::int16_t position = 1; position <= 5; ++position) {
        HiddenCard(position)->setAccessibleIgnored(true);
        platform::Image *cover = HiddenCard(static_cast<std::int16_t>(position + 5));
        cover->setAccessibleRole(QAccessible::Button);
        nameAfterPicture(cover, [this, cover, position] {
            return withFace(kNameHiddenCard.arg(position), faceNameOf(cover->picture()));
        });
    }
}

void frmMain::announceCountedTry(bool hit)
{
    // What the screen shows after the try, for a screen reader to speak: the answer (unless Play
    // Blind keeps it covered), then the status line. The score bar's name carries it, so the change
    // reaches assistive technology as a name change of a status bar (QWidget raises it) without
    // anything drawn anew.
    QString announcement = lblStats->caption();
    if (chkBlindMode->value() != 1)
        announcement.prepend(hit ? kAnnounceHit : kAnnounceMiss);
    Picture1->setAccessibleName(announcement);
}
