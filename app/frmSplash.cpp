#include "frmSplash.h"

#include "NoIcon.h"
#include "StartupHost.h"

#include "art/ProductText.h"
#include "platform/Accessibility.h"
#include "platform/Controls.h"
#include "shape/WindowRegion.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>

namespace {

const QString kSplashPicture = QStringLiteral(":/art/splash.png");
// The window's caption is shown nowhere; it names the window for the desktop's window lists.
const QString kSplashCaption = QStringLiteral("Form1");
// What a screen reader calls the window: the whole window is the click that continues.
const QString kSplashAccessibleName = art::kProductName + QStringLiteral(" - click to continue");
const QString kSplashToolTip = QStringLiteral("Continue (Enter or Space)");

constexpr int kSplashWidth = 424;  // pixels (6360 twips)
constexpr int kSplashHeight = 367; // pixels (5505 twips)

} // namespace

frmSplash::frmSplash(StartupHost &host, QWidget *parent)
    : platform::Form(parent), m_host(host), m_picture(platform::Picture::fromResource(kSplashPicture))
{
    setObjectName(QStringLiteral("frmSplash"));
    // Borderless and without a taskbar button.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowTitle(kSplashCaption);
    showNoIcon(*this);
    setFixedSize(kSplashWidth, kSplashHeight);
    setStartUpCentered(true);
    setAccessibleName(kSplashAccessibleName);
    platform::setWindowPressable(this, true);
    // The window takes the keyboard focus itself: it has no control that could.
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(kSplashToolTip);
    platform::setAccessibleKey(this, QKeySequence(Qt::Key_Return));

    picbox2 = new platform::PictureBox(this);
    picbox2->setObjectName(QStringLiteral("picbox2"));
    picbox2->setGeometryTwips(135, 270, 405, 300);
    picbox2->setAutoSize(true);
    picbox2->hide();
    picbox2->setAccessibleIgnored(true);
}

void frmSplash::Form_Load()
{
    picbox2->setPicture(m_picture);
    std::int32_t key = 0;
    // The window owns its outline once applied; nothing else keeps the region.
    const QRegion WindowRegion = shape::BuildWindowRegion(*picbox2, key);
    shape::SetWindowRgn(this, WindowRegion, true);
}

void frmSplash::Form_Click()
{
    m_host.openLoginWindow();
    Unload();
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        if (!event->isAutoRepeat())
            Form_Click();
        return;
    default:
        platform::Form::keyPressEvent(event);
    }
}

void frmSplash::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    m_picture.paint(painter);
}
