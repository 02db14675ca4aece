// The controls inside the trainer window's three panels: the plain game, the options, the find-hidden
// game.

#include "frmMain.h"

#include "TrainerArt.h"

#include "platform/Timer.h"

#include <array>

namespace {

struct Place
{
    float left, top, width, height; // twips
};

// The face row Card(1)..Card(5), left to right.
constexpr std::array<Place, 6> kFaceRow{{
    {},
    {450, 375, 1320, 1890},
    {2100, 375, 1320, 1890},
    {3765, 375, 1305, 1890},
    {5400, 375, 1305, 1890},
    {7050, 375, 1320, 1875},
}};

// HiddenCard(0) to HiddenCard(10): the chosen card, the hidden positions 1..5, their covers 6..10
// (cover 10 stands one pixel higher than position 5 beneath it).
constexpr std::array<Place, 11> kHiddenCards{{
    {3690, 2385, 1320, 1890},
    {480, 375, 1320, 1890},
    {2081, 375, 1320, 1890},
    {3682, 375, 1320, 1890},
    {5283, 375, 1320, 1890},
    {6885, 375, 1320, 1890},
    {480, 375, 1320, 1890},
    {2081, 375, 1320, 1890},
    {3682, 375, 1320, 1890},
    {5283, 375, 1320, 1890},
    {6885, 360, 1320, 1890},
}};

// The deck holders lie in the lower part of the plain game's panel, hidden for good.
constexpr float kHolderTop = 2400;

platform::Image *placed(QWidget *parent, const Place &place, const platform::Picture &picture)
{
    return trainerart::image(parent, place.left, place.top, place.width, place.height, picture);
}

platform::CheckBox *checkBox(QWidget *parent, const QString &caption, const Place &place, int value)
{
    auto *box = new platform::CheckBox(caption, parent);
    box->setGeometryTwips(place.left, place.top, place.width, place.height);
    box->setFont(trainerart::arial(9.75, false));
    trainerart::setBackColor(box, trainerart::kBodyGrey);
    box->setValue(value);
    return box;
}

} // namespace

void frmMain::createWorkArea()
{
    timerreset = new platform::Timer(2000, this);
    timerreset->setObjectName(QStringLiteral("timerreset"));

    const platform::Picture back = trainerart::picture(QStringLiteral("card-back.png"));
    for (std::int16_t i = 1; i <= 5; ++i) {
        const QString face = QString::number(i) + QStringLiteral(".png");
        const Place holder{kFaceRow[i].left, kHolderTop, kFaceRow[i].width, kFaceRow[i].height};
        pCard.add(i, placed(picWorkArea, holder, trainerart::picture(QStringLiteral("spade-") + face)));
        zCard.add(i, placed(picWorkArea, holder, trainerart::picture(QStringLiteral("zener-") + face)));
        ColorCards.add(i, placed(picWorkArea, holder, trainerart::picture(QStringLiteral("color-") + face)));
        pCard(i)->hide();
        zCard(i)->hide();
        ColorCards(i)->hide();
        // The face row carries the Zener faces from the start: the very pictures of zCard.
        Card.add(i, placed(picWorkArea, kFaceRow[i], zCard(i)->picture()));
    }
    Card.add(6, placed(picWorkArea, {3765, 2325, 1320, 1890}, back));
    Card.add(0, placed(picWorkArea, {3765, 2325, 1320, 1890}, back));

    btnStop.add(0, placed(picWorkArea, {7200, 3600, 1170, 630},
                          trainerart::picture(QStringLiteral("btn-stop-0.png"))));
    btnStop.add(1, placed(picWorkArea, {7200, 3600, 1170, 630},
                          trainerart::picture(QStringLiteral("btn-stop-1.png"))));
}

void frmMain::createOptionsPanel()
{
    chkFindHidden = checkBox(picOptions, QStringLiteral("Find Hidden Card"), {570, 1230, 1995, 270}, 0);

    Frame1 = new platform::Frame(QStringLiteral("Card Type"), picOptions);
    Frame1->setGeometryTwips(2955, 450, 2670, 1485);
    trainerart::setBackColor(Frame1, trainerart::kBodyGrey);
    const std::array<QString, 3> captions{QStringLiteral("Zener (default)"), QStringLiteral("Color Cards"),
                                          QStringLiteral("Playing Cards")};
    for (std::int16_t i = 0; i <= 2; ++i) {
        auto *option = new platform::OptionButton(captions[i], Frame1);
        option->setGeometryTwips(180, 375 + 300 * i, 1500, 210);
        trainerart::setBackColor(option, trainerart::kBodyGrey);
        Option1.add(i, option);
    }
    Option1(0)->setValue(true);

    chkHideScore = checkBox(picOptions, QStringLiteral("Hide Score"), {570, 900, 1665, 270}, 0);
    chkUseMeter = checkBox(picOptions, QStringLiteral("Accuracy Meter"), {570, 1560, 2070, 270}, 1);
    chkBlindMode = checkBox(picOptions, QStringLiteral("Play Blind"), {570, 570, 1665, 270}, 0);

    // The tab: a caption-less transparent label over the panel's dark strip.
    lblOptionsTouch = new platform::Label(picOptions);
    lblOptionsTouch->setGeometryTwips(255, 2040, 5535, 390);
}

void frmMain::createHiddenPanel()
{
    hiddenTimer = new platform::Timer(1800, this);
    hiddenTimer->setObjectName(QStringLiteral("hiddenTimer"));

    btnStop.add(
        2, placed(picHidden, {7050, 3600, 1170, 630}, trainerart::picture(QStringLiteral("btn-stop-0.png"))));
    btnStop.add(
        3, placed(picHidden, {7050, 3600, 1170, 630}, trainerart::picture(QStringLiteral("btn-stop-1.png"))));

    const platform::Picture back = trainerart::picture(QStringLiteral("card-back.png"));
    for (std::int16_t i = 0; i <= 10; ++i)
        HiddenCard.add(i, placed(picHidden, kHiddenCards[i], back));
}
