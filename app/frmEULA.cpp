#include "frmEULA.h"

#include "NoIcon.h"
#include "StartupHost.h"

#include "art/ProductText.h"
#include "platform/Contrast.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "settings/Settings.h"

#include <QEvent>
#include <QFile>
#include <QFont>

namespace {

const QString kEulaTitle = QStringLiteral("End User License Agreement");
const QString kAcceptCaption = QStringLiteral("I ACCEPT The Agreement");
const QString kDeclineCaption = QStringLiteral("I DO NOT ACCEPT The Agreement");
const QString kHeading = QStringLiteral("IMPORTANT LICENSE AGREEMENT");
const QString kMustAccept =
    QStringLiteral("You MUST accept the terms of this agreement before you use this product.");
const QString kPleaseRead =
    QStringLiteral("Please read the following important information before you continue.");
const QString kAcceptedMessage = QStringLiteral("EULA Terms accepted.  Enjoy!");
const QString kDeclinedMessage =
    QStringLiteral("You did not accept the terms of the End User License Agreement.") +
    QStringLiteral("\r\n\r\n") + QStringLiteral("qxOrvanta Trainer will now exit...");
const QString kAgreementResource = QStringLiteral(":/art/agreement.txt");

// Where the answer lives; only the exact text "True" counts as accepted.
const QString kFlagApplication = QStringLiteral("qxOrvanta");
const QString kFlagSection = QStringLiteral("EULA");
const QString kFlagKey = QStringLiteral("TermsAccepted");
const QString kAccepted = QStringLiteral("True");
const QString kDeclined = QStringLiteral("False");

constexpr int kClientWidth = 520;  // pixels (7800 twips)
constexpr int kClientHeight = 452; // pixels (6780 twips)
constexpr std::int32_t kNavy = 0x800000;
constexpr std::int32_t kWhite = 0xFFFFFF;

QFont arial(double points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The agreement as supplied with the product. Its lines are separated by CR LF; the text box wants
// one line break per line.
QString agreementText()
{
    QFile file(kAgreementResource);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

frmEULA::frmEULA(StartupHost &host, QWidget *parent) : platform::Form(parent), m_host(host)
{
    setObjectName(QStringLiteral("frmEULA"));
    // A title bar without close, minimise or maximise box and a thin fixed border.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(kEulaTitle);
    showNoIcon(*this);
    setFixedSize(kClientWidth, kClientHeight);
    setStartUpCentered(true);
    createControls();
}

void frmEULA::createControls()
{
    // Created from the bottom of the stack upwards, so each lies above the ones before it.
    createBand();
    createLabels();
    createAgreementText();
    createButtons();
    setTabOrder(Text1, cmdAccept);
    setTabOrder(cmdAccept, cmdNotaccepted);
    Text1->setFocus();
}

void frmEULA::createBand()
{
    Shape1 = new platform::Shape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometryTwips(0, 0, 7845, 915);
    Shape1->setFillColor(kNavy);
    // The navy band behind the heading is decoration.
    Shape1->setAccessibleIgnored(true);
}

void frmEULA::createLabels()
{
    // White on the navy band: the invitation to read and the heading.
    Label1 = makeLabel(QStringLiteral("Label1"), {570, 540, 6915, 345}, arial(11.25), kPleaseRead);
    Label1->setForeColor(kWhite);

    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSizeF(8.25);
    Label2 = makeLabel(QStringLiteral("Label2"), {630, 1320, 5415, 315}, dialogFont, QString());
    // Wide enough for its sentence whatever the substitute dialog font measures.
    Label2->setAutoSize(true);
    Label2->setCaption(kMustAccept);

    Label3 = makeLabel(QStringLiteral("Label3"), {390, 210, 4995, 345}, arial(11.25, true), kHeading);
    Label3->setForeColor(kWhite);

    Label4 = makeLabel(QStringLiteral("Label4"), {90, 6480, 5415, 225}, arial(8.25), art::kMakerNotice);
    applyTextColours();
}

void frmEULA::createAgreementText()
{
    Text1 = new platform::MultiLineTextBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometryTwips(600, 1620, 6495, 3555);
    Text1->setFont(arial(9));
    Text1->setPlainText(agreementText());
    // Typing is dropped by Text1_KeyPress; read-only closes the other ways in (paste from the menu or
    // the middle button, drops, undo) while the caret still moves and the text still scrolls.
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Text1->setAcceptDrops(false);
    Text1->moveCursor(QTextCursor::Start);
    Text1->setAccessibleName(kEulaTitle);
    connect(Text1, &platform::MultiLineTextBox::KeyPress, this, &frmEULA::Text1_KeyPress);
}

void frmEULA::createButtons()
{
    cmdAccept = new platform::CommandButton(kAcceptCaption, this);
    cmdAccept->setObjectName(QStringLiteral("cmdAccept"));
    cmdAccept->setGeometryTwips(1770, 5460, 1785, 555);
    connect(cmdAccept, &platform::CommandButton::Click, this, &frmEULA::cmdAccept_Click);

    cmdNotaccepted = new platform::CommandButton(kDeclineCaption, this);
    cmdNotaccepted->setObjectName(QStringLiteral("cmdNotaccepted"));
    cmdNotaccepted->setGeometryTwips(4080, 5460, 1815, 555);
    connect(cmdNotaccepted, &platform::CommandButton::Click, this, &frmEULA::cmdNotaccepted_Click);

    // Neither button is the window's default, but the one holding the focus takes Enter as well as
    // Space.
    for (platform::CommandButton *button : {cmdAccept, cmdNotaccepted}) {
        button->setFont(arial(9));
        button->setAutoDefault(true);
    }
}

platform::Label *frmEULA::makeLabel(const QString &name, const QRectF &twips, const QFont &font,
                                    const QString &caption)
{
    auto *label = new platform::Label(this);
    label->setObjectName(name);
    label->setGeometryTwips(float(twips.left()), float(twips.top()), float(twips.width()),
                            float(twips.height()));
    label->setFont(font);
    label->setCaption(caption);
    return label;
}

void frmEULA::applyTextColours()
{
    // The two labels in the default text colour lie on the window's face: they follow the desktop's
    // palette (light text on a dark theme's face), kept readable against that face.
    const QColor text =
        platform::readableTextOn(palette().color(QPalette::Window), palette().color(QPalette::WindowText));
    for (platform::Label *label : {Label2, Label4})
        label->setForeColor(platform::bgrFromColor(text));
}

void frmEULA::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange && Label4)
        applyTextColours();
    platform::Form::changeEvent(event);
}

void frmEULA::Form_Load()
{
    const QString flag = GetSetting(kFlagApplication, kFlagSection, kFlagKey, QString());
    if (flag == kAccepted) {
        m_host.showSplash();
        Unload();
    }
}

void frmEULA::cmdAccept_Click()
{
    SaveSetting(kFlagApplication, kFlagSection, kFlagKey, kAccepted);
    platform::MsgBox(kAcceptedMessage, platform::MsgIcon::Exclamation);
    m_host.showSplash();
    Unload();
}

void frmEULA::cmdNotaccepted_Click()
{
    SaveSetting(kFlagApplication, kFlagSection, kFlagKey, kDeclined);
    platform::MsgBox(kDeclinedMessage, platform::MsgIcon::Exclamation);
    Unload();
}

void frmEULA::Text1_KeyPress(int &keyAscii)
{
    // The agreement is read, never edited.
    keyAscii = 0;
}
