#include "frmUser.h"
#include "LoginTexts.h"

#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "platform/Twips.h"

#include <QKeySequence>
#include <QPainter>
#include <QShortcut>

namespace {

using namespace logintext;

const QString kWindowText = QStringLiteral("Login Screen");
const QString kBackgroundResource = QStringLiteral(":/art/login-background.png");
constexpr int kWidthPixels = 343;  // 5145 twips
constexpr int kHeightPixels = 316; // 4740 twips

constexpr QChar kPasswordChar = u'*';
constexpr int kEnterKey = 13;

// Black boxes with white text and no visible edge on the picture's black panel.
const QString kTextBoxStyle =
    QStringLiteral("QLineEdit { background-color: black; color: white; border: none; }");

} // namespace

frmUser::frmUser(LoginHost &host, QWidget *parent) : platform::Form(parent), m_host(host)
{
    // A tool window is the one kind that X11 window managers keep off the taskbar.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowTitle(kWindowText);
    setFixedSize(kWidthPixels, kHeightPixels);
    setStartUpCentered(true);

    txtUserName = makeTextBox(1290, 1950, kUserNamePlaceholder);
    txtPassword.add(0, makeTextBox(1290, 2820, kPasswordPlaceholder));
    // Created after box 0, so it lies above box 0 where the two overlap by one pixel.
    txtPassword.add(1, makeTextBox(1290, 3195, kConfirmPlaceholder));
    txtPassword(1)->hide();
    setTabOrder(txtUserName, txtPassword(0));
    setTabOrder(txtPassword(0), txtPassword(1));

    Label1 = new platform::Label(this);
    QFont hintFont(QStringLiteral("Arial"));
    hintFont.setPointSizeF(9.75);
    hintFont.setBold(true);
    Label1->setFont(hintFont);
    Label1->setForeColor(0x00FFFFFF);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometryTwips(465, 1110, 4215, 240);
    Label1->setAutoSize(true);
    Label1->setCaption(kHintLogin);

    Label2 = makeClickArea(465, 600, 4185, 300, kAccessibleCreate);
    lblContinue = makeClickArea(3795, 3975, 1050, 540, kAccessibleContinue);
    lblExit = makeClickArea(4635, 90, 390, 300, kAccessibleExit);

    // The boxes show their design texts until they take the focus; their names stay.
    txtUserName->setAccessibleName(kAccessibleUserName);
    txtPassword(0)->setAccessibleName(kAccessiblePassword);
    txtPassword(1)->setAccessibleName(kAccessibleConfirm);

    connect(Label2, &platform::Label::Click, this, &frmUser::Label2_Click);
    connect(lblContinue, &platform::Label::Click, this, &frmUser::lblContinue_Click);
    connect(lblExit, &platform::Label::Click, this, &frmUser::lblExit_Click);
    connect(txtUserName, &platform::TextBox::GotFocus, this, &frmUser::txtUserName_GotFocus);
    txtPassword.on(&platform::TextBox::GotFocus, this,
                   [this](std::int16_t index) { txtPassword_GotFocus(index); });
    // Whatever puts text into a password box (typing, pasting, an assistive technology setting it
    // without the focus), anything but its design text is masked and told to screen readers as a
    // password.
    for (std::int16_t index : {std::int16_t(0), std::int16_t(1)}) {
        connect(txtPassword(index), &QLineEdit::textChanged, this, [this, index](const QString &text) {
            platform::TextBox *box = txtPassword(index);
            if (text != (index == 0 ? kPasswordPlaceholder : kConfirmPlaceholder) &&
                box->passwordChar() != kPasswordChar)
                box->setPasswordChar(kPasswordChar);
        });
    }
    txtPassword.on(&platform::TextBox::KeyPress, this,
                   [this](std::int16_t index, int &keyAscii) { txtPassword_KeyPress(index, keyAscii); });

    setKeys();

    // The window opens with the focus in the name box, which empties it.
    txtUserName->setFocus();
}

platform::TextBox *frmUser::makeTextBox(float left, float top, const QString &text)
{
    auto *box = new platform::TextBox(this);
    box->setFrame(false);
    box->setStyleSheet(kTextBoxStyle);
    box->setFont(QFont(QStringLiteral("Courier New"), 12));
    box->setGeometryTwips(left, top, 2700, 390);
    box->setText(text);
    // Shows the start of a design text too long for the box, not its end.
    box->setCursorPosition(0);
    return box;
}

platform::Label *frmUser::makeClickArea(float left, float top, float width, float height,
                                        const QString &accessibleName)
{
    auto *label = new platform::Label(this);
    label->setGeometryTwips(left, top, width, height);
    // A caption-less label over a picture of a button: a button to a screen reader.
    label->setAccessibleRole(QAccessible::Button);
    label->setAccessibleName(accessibleName);
    return label;
}

void frmUser::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const platform::Picture background = platform::Picture::fromResource(kBackgroundResource);
    if (background.isNull()) {
        painter.fillRect(rect(), QColor(0x30, 0x30, 0x30));
        return;
    }
    background.paint(painter);
}

void frmUser::Label2_Click()
{
    txtPassword(1)->show();
    Label1->setCaption(kHintCreate);
    NewUserMode = true;
}

void frmUser::lblContinue_Click()
{
    // The name exactly as typed: never trimmed, and no placeholder is recognised.
    const QString name = txtUserName->text();
    if (name.isEmpty())
        return;
    if (NewUserMode)
        createAccount(name);
    else
        logIn(name);
}

void frmUser::logIn(const QString &name)
{
    if (!m_rules.exists(name)) {
        platform::MsgBox(kInvalidUserName, platform::MsgIcon::Exclamation, kWarningTitle);
        return;
    }
    // Checking such a hash would hang the login for minutes or take gigabytes of memory.
    if (m_rules.passwordTooCostly(name)) {
        platform::MsgBox(kPasswordTooCostly.arg(name), platform::MsgIcon::Exclamation, kWarningTitle);
        return;
    }
    if (!m_rules.checkPassword(name, txtPassword(0)->text())) {
        platform::MsgBox(kInvalidPassword, platform::MsgIcon::Exclamation, kWarningTitle);
        return;
    }
    accounts::AccountHold hold;
    if (!holdAccount(name, hold))
        return;
    const accounts::AccountCounts counts = m_rules.loadCounts(name);
    // Told now, while the stored texts are still there to be mended by hand.
    if (!counts.unsound.isEmpty())
        platform::MsgBox(kCountsUnsound.arg(name, counts.unsound.join(QStringLiteral(", ")),
                                            QString::number(counts.hits), QString::number(counts.tries)),
                         platform::MsgIcon::Exclamation, kWarningTitle);
    handOver(name, std::move(hold), counts.hits, counts.tries);
}

void frmUser::createAccount(const QString &name)
{
    // An existing name is reported before the two password boxes are compared.
    if (m_rules.exists(name)) {
        platform::MsgBox(kNameTaken, platform::MsgIcon::Exclamation, kWarningTitle);
        return;
    }
    const QString password = txtPassword(0)->text();
    if (password.isEmpty() || password != txtPassword(1)->text())
        return;
    // Another copy may be creating the same name at this moment. The account held until now stays
    // held until the new one exists.
    accounts::AccountHold hold;
    if (!holdAccount(name, hold))
        return;
    switch (m_rules.create(name, password)) {
    case accounts::AccountRules::CreateResult::Created:
        break;
    case accounts::AccountRules::CreateResult::NameTaken:
        platform::MsgBox(kNameTaken, platform::MsgIcon::Exclamation, kWarningTitle);
        return;
    case accounts::AccountRules::CreateResult::HashFailed:
        platform::MsgBox(kPasswordNotStored, platform::MsgIcon::Exclamation, kWarningTitle);
        return;
    case accounts::AccountRules::CreateResult::StoreFailed:
        // The store has told the user why; the window stays as it was so they can try again.
        return;
    }
    // The account is complete in the store before the user is told about it.
    platform::MsgBox(kUserCreated + name);
    txtPassword(1)->hide();
    Label1->setCaption(kHintLogin);
    NewUserMode = false;
    handOver(name, std::move(hold), 0, 0);
}

bool frmUser::holdAccount(const QString &name, accounts::AccountHold &hold)
{
    // Two copies on one account would each store their own totals over the other's.
    if (accounts::AccountHold::current().holds(name))
        return true;
    const accounts::AccountHold::Result result = hold.take(name);
    if (result == accounts::AccountHold::Result::Held)
        return true;
    platform::MsgBox(result == accounts::AccountHold::Result::InUse
                         ? kAccountInUse.arg(name)
                         : kAccountUnheld.arg(name, hold.failure()),
                     platform::MsgIcon::Exclamation, kWarningTitle);
    return false;
}

void frmUser::handOver(const QString &name, accounts::AccountHold hold, std::int16_t hits, std::int16_t tries)
{
    // The account held before (the user switches) is given up here.
    if (!accounts::AccountHold::current().holds(name))
        accounts::AccountHold::current() = std::move(hold);
    m_host.showTrainerFor(name, hits, tries);
    Unload();
}

void frmUser::lblExit_Click()
{
    Unload();
}

void frmUser::txtUserName_GotFocus()
{
    txtUserName->clear();
}

void frmUser::txtPassword_GotFocus(std::int16_t Index)
{
    platform::TextBox *box = txtPassword(Index);
    if (box->passwordChar() != kPasswordChar)
        box->setPasswordChar(kPasswordChar);
    box->clear();
}

void frmUser::txtPassword_KeyPress(std::int16_t Index, int &KeyAscii)
{
    if (KeyAscii != kEnterKey)
        return;
    KeyAscii = 0;
    if (!txtPassword(1)->isHidden()) {
        if (Index == 0)
            txtPassword(1)->setFocus();
        else
            lblContinue_Click();
    } else if (Index == 0) {
        lblContinue_Click();
    }
}

void frmUser::setKeys()
{
    // Keys beside the click areas, which take no focus: Escape leaves, Ctrl+N starts a new account;
    // Enter keeps its meaning in the password boxes. Each key shows in its area's tooltip and is told
    // to assistive technology as the area's key binding.
    const auto bind = [this](platform::Label *area, const QKeySequence &key, const QString &tip,
                             void (frmUser::*handler)()) {
        area->setToolTip(tip);
        platform::setAccessibleKey(area, key);
        if (handler)
            connect(new QShortcut(key, this), &QShortcut::activated, this, handler);
    };
    bind(Label2, QKeySequence(Qt::CTRL | Qt::Key_N), kTipCreate, &frmUser::Label2_Click);
    bind(lblExit, QKeySequence(Qt::Key_Escape), kTipExit, &frmUser::lblExit_Click);
    bind(lblContinue, QKeySequence(Qt::Key_Return), kTipContinue, nullptr);
}
