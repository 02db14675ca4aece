// The trainer window's creation, its load step and the controls that sit on the window itself.

#include "frmMain.h"

#include "TrainerArt.h"
#include "TrainerTexts.h"

#include "art/ProductText.h"
#include "platform/Timer.h"
#include "shape/WindowRegion.h"

#include <QIcon>
#include <QPainter>

#include <algorithm>
#include <initializer_list>

namespace {

constexpr int kWindowWidth = 783;  // pixels
constexpr int kWindowHeight = 590; // pixels

platform::PictureBox *makePictureBox(QWidget *parent, float left, float top, float width, float height)
{
    auto *box = new platform::PictureBox(parent);
    box->setGeometryTwips(left, top, width, height);
    return box;
}

// A picture box that takes exactly its picture's size (every box but the meter does).
void setBoxPicture(platform::PictureBox *box, const platform::Picture &picture)
{
    box->setAutoSize(true);
    box->setPicture(picture);
}

} // namespace

frmMain::frmMain(TrainerHost &host, std::unique_ptr<DrawSource> random, QWidget *parent)
    : Form(parent), m_host(host), m_helpDataDirectory(QString::fromUtf8(QXO_DATA_DIR))
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(trainertext::kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/art/icon.png")));
    setFixedSize(kWindowWidth, kWindowHeight);
    setStartUpCentered(true);
    setFont(trainerart::dialogFont());
    m_picture = trainerart::picture(QStringLiteral("trainer-background.png"));

    createWindowControls();
    createWorkArea();
    createOptionsPanel();
    createHiddenPanel();
    setStackingOrder();
    setFocusOrder();
    connectEvents();
    connectResultsOpeners();
    setAccessibility();
    setKeyToolTips();

    Form_Initialize(std::move(random));
}

frmMain::~frmMain() = default;

void frmMain::Form_Initialize(std::unique_ptr<DrawSource> draws)
{
    // Seeded once per window, so each window deals its own unforeseeable games.
    if (!draws)
        draws = RandomSource::fromTimeOfDayAndEntropy();
    m_run = std::make_unique<TrainerRun>(std::move(draws));
}

void frmMain::Form_Load()
{
    picBox2->setPicture(m_picture);
    std::int32_t key = 0;
    // The window owns its outline once applied; nothing else keeps the region.
    const QRegion WindowRegion = shape::BuildWindowRegion(*picBox2, key);
    shape::SetWindowRgn(this, WindowRegion, true);
    if (picOptions->top() != kOptionsClosedTop)
        lblOptionsTouch_Click();
}

void frmMain::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), platform::colorFromBgr(trainerart::kBodyGrey));
    else
        m_picture.paint(painter);
}

void frmMain::createWindowControls()
{
    picMeter = makePictureBox(this, 255, 3375, 1155, 2445);
    picMeter->setBackColor(trainerart::kBodyGrey);
    picMeter->setPicture(trainerart::picture(QStringLiteral("meter.png"))); // keeps its own size
    shapeMeter = new platform::Shape(picMeter);
    shapeMeter->setGeometryTwips(45, 1080, 270, 150);
    shapeMeter->setFillColor(trainerart::kWhite);

    picBox2 = makePictureBox(this, 10215, 7860, 240, 240);
    picBox2->setAutoSize(true);
    picBox2->hide();

    Picture1 = makePictureBox(this, 1852, 7545, 8040, 720);
    setBoxPicture(Picture1, trainerart::picture(QStringLiteral("score-bar.png")));
    lblStats = new platform::Label(Picture1);
    lblStats->setGeometryTwips(300, 225, 7410, 300);
    lblStats->setFont(trainerart::arial(11.25, true));
    lblStats->setForeColor(trainerart::kWhite);
    lblStats->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblStats->setCaption(art::kProductLine);

    picBlocker = makePictureBox(this, 4785, 0, 6225, 420);
    setBoxPicture(picBlocker, trainerart::picture(QStringLiteral("title-strip.png")));

    picWorkArea = makePictureBox(this, 1462, 2775, 8820, 4590);
    setBoxPicture(picWorkArea, trainerart::picture(QStringLiteral("panel-plain.png")));
    picWorkArea->hide();

    picOptions = makePictureBox(this, 4950, 60, 6030, 2595);
    picOptions->setBackColor(trainerart::kBodyGrey);
    setBoxPicture(picOptions, trainerart::picture(QStringLiteral("options-panel.png")));

    picHidden = makePictureBox(this, 1530, 2790, 8685, 4650);
    picHidden->setBackColor(trainerart::kBodyGrey);
    setBoxPicture(picHidden, trainerart::picture(QStringLiteral("panel-hidden.png")));
    picHidden->hide();

    lblUserName = new platform::Label(this);
    lblUserName->setGeometryTwips(405, 8490, 6960, 300);
    lblUserName->setFont(trainerart::arial(12, true));
    lblUserName->setForeColor(trainerart::kWhite);
    lblUserName->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btnHelp.add(0, trainerart::image(this, 11115, 555, 450, 720,
                                     trainerart::picture(QStringLiteral("btn-help-0.png"))));
    btnHelp.add(1, trainerart::image(this, 11115, 555, 450, 720,
                                     trainerart::picture(QStringLiteral("btn-help-1.png"))));
    Image1.add(0, trainerart::image(this, 11220, 45, 330, 315,
                                    trainerart::picture(QStringLiteral("btn-close-0.png"))));
    Image1.add(1, trainerart::image(this, 11175, 30, 405, 345,
                                    trainerart::picture(QStringLiteral("btn-close-1.png"))));
    btnUser.add(0, trainerart::image(this, 255, 525, 1305, 645,
                                     trainerart::picture(QStringLiteral("btn-user-0.png"))));
    btnUser.add(1, trainerart::image(this, 255, 525, 1305, 645,
                                     trainerart::picture(QStringLiteral("btn-user-1.png"))));
    btnDrill.add(0, trainerart::image(this, 3090, 540, 1305, 645,
                                      trainerart::picture(QStringLiteral("btn-drill-0.png"))));
    btnDrill.add(1, trainerart::image(this, 3090, 540, 1305, 645,
                                      trainerart::picture(QStringLiteral("btn-drill-1.png"))));
    StartButton.add(0, trainerart::image(this, 1665, 525, 1305, 645,
                                         trainerart::picture(QStringLiteral("btn-test-0.png"))));
    StartButton.add(1, trainerart::image(this, 1665, 525, 1305, 645,
                                         trainerart::picture(QStringLiteral("btn-test-1.png"))));
}

namespace {

// Lays the widgets out so that the first listed lies on top; windowless controls (images, labels,
// shapes) of one container go below its windowed ones (picture boxes, check boxes, frames, option
// buttons). Qt stacks later-raised siblings above earlier ones.
void stackTopFirst(std::initializer_list<QWidget *> windowed, std::initializer_list<QWidget *> windowless)
{
    for (auto it = std::rbegin(windowless); it != std::rend(windowless); ++it)
        (*it)->raise();
    for (auto it = std::rbegin(windowed); it != std::rend(windowed); ++it)
        (*it)->raise();
}

} // namespace

void frmMain::setStackingOrder()
{
    stackTopFirst({picMeter, picBox2, Picture1, picBlocker, picWorkArea, picOptions, picHidden},
                  {btnHelp(0), lblUserName, Image1(0), btnUser(0), btnDrill(0), btnDrill(1), Image1(1),
                   StartButton(0), StartButton(1), btnUser(1), btnHelp(1)});

    stackTopFirst({},
                  {Card(5), Card(4), Card(3), Card(2), Card(1), Card(6), Card(0), btnStop(0), btnStop(1)});
    for (std::int16_t i = 5; i >= 1; --i) {
        // The holders are never shown; they lie at the bottom, out of the way.
        pCard(i)->lower();
        zCard(i)->lower();
        ColorCards(i)->lower();
    }

    stackTopFirst({chkFindHidden, Frame1, chkHideScore, chkUseMeter, chkBlindMode}, {lblOptionsTouch});
    stackTopFirst({Option1(2), Option1(1), Option1(0)}, {});

    stackTopFirst({}, {btnStop(2), btnStop(3), HiddenCard(10), HiddenCard(9), HiddenCard(8), HiddenCard(7),
                       HiddenCard(6), HiddenCard(5), HiddenCard(4), HiddenCard(3), HiddenCard(2),
                       HiddenCard(1), HiddenCard(0)});
}

void frmMain::setFocusOrder()
{
    // Picture boxes take the focus by the Tab key as they did in the window's design; labels and the
    // frame take none themselves.
    for (QWidget *box : {picOptions, picBlocker, picWorkArea, Picture1, picBox2, picMeter, picHidden})
        box->setFocusPolicy(Qt::TabFocus);
    const std::initializer_list<QWidget *> order{
        picOptions, picBlocker, picWorkArea, chkBlindMode, chkUseMeter, chkHideScore,  Option1(0),
        Option1(1), Option1(2), Picture1,    picBox2,      picMeter,    chkFindHidden, picHidden};
    QWidget *previous = nullptr;
    for (QWidget *widget : order) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void frmMain::connectEvents()
{
    using platform::Control;
    using platform::MouseArgs;

    Card.on(&Control::Click, this, [this](std::int16_t i) { Card_Click(i); });
    HiddenCard.on(&Control::Click, this, [this](std::int16_t i) { HiddenCard_Click(i); });
    connect(timerreset, &platform::Timer::Elapsed, this, &frmMain::timerreset_Timer);
    connect(hiddenTimer, &platform::Timer::Elapsed, this, &frmMain::hiddenTimer_Timer);

    StartButton.on(&Control::Click, this, [this](std::int16_t i) { StartButton_Click(i); });
    btnDrill.on(&Control::Click, this, [this](std::int16_t i) { btnDrill_Click(i); });
    btnStop.on(&Control::Click, this, [this](std::int16_t i) { btnStop_Click(i); });

    connect(chkUseMeter, &platform::CheckBox::Click, this, &frmMain::chkUseMeter_Click);
    Option1.on(&platform::OptionButton::Click, this, [this](std::int16_t i) { Option1_Click(i); });
    connect(lblOptionsTouch, &Control::Click, this, &frmMain::lblOptionsTouch_Click);

    StartButton.on(&Control::MouseMove, this,
                   [this](std::int16_t i, const MouseArgs &) { StartButton_MouseMove(i); });
    btnDrill.on(&Control::MouseMove, this,
                [this](std::int16_t i, const MouseArgs &) { btnDrill_MouseMove(i); });
    btnUser.on(&Control::MouseMove, this,
               [this](std::int16_t i, const MouseArgs &) { btnUser_MouseMove(i); });
    btnHelp.on(&Control::MouseMove, this,
               [this](std::int16_t i, const MouseArgs &) { btnHelp_MouseMove(i); });
    Image1.on(&Control::MouseMove, this, [this](std::int16_t i, const MouseArgs &) { Image1_MouseMove(i); });
    btnStop.on(&Control::MouseMove, this,
               [this](std::int16_t i, const MouseArgs &) { btnStop_MouseMove(i); });
    connect(picWorkArea, &Control::MouseMove, this, &frmMain::picWorkArea_MouseMove);
    connect(picHidden, &Control::MouseMove, this, &frmMain::picHidden_MouseMove);

    btnHelp.on(&Control::Click, this, [this](std::int16_t i) { btnHelp_Click(i); });
    btnUser.on(&Control::Click, this, [this](std::int16_t i) { btnUser_Click(i); });
    Image1.on(&Control::Click, this, [this](std::int16_t i) { Image1_Click(i); });
}
