// Picture buttons that light up under the pointer, the status-line hints, activation, help, switching
// user, closing, and dragging the window by its body.

#include "frmMain.h"

#include "HelpDocument.h"
#include "TrainerHost.h"
#include "TrainerTexts.h"

#include "art/ProductText.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QDir>

void frmMain::StartButton_MouseMove(std::int16_t Index)
{
    if (Index == 0) {
        StartButton(0)->hide();
        lblStats->setCaption(trainertext::kHintTest);
    }
}

void frmMain::btnDrill_MouseMove(std::int16_t)
{
    if (!btnDrill(0)->isHidden()) {
        btnDrill(0)->hide();
        lblStats->setCaption(trainertext::kHintPractice);
    }
}

void frmMain::btnUser_MouseMove(std::int16_t Index)
{
    if (Index == 0)
        btnUser(0)->hide();
    lblStats->setCaption(trainertext::kHintUser);
}

void frmMain::btnHelp_MouseMove(std::int16_t Index)
{
    if (Index == 0)
        btnHelp(0)->hide();
}

void frmMain::Image1_MouseMove(std::int16_t Index)
{
    if (Index == 0)
        Image1(0)->hide();
}

void frmMain::btnStop_MouseMove(std::int16_t Index)
{
    if (Index == 0)
        btnStop(0)->hide();
    if (Index == 2)
        btnStop(2)->hide();
}

void frmMain::picWorkArea_MouseMove()
{
    if (btnStop(0)->isHidden())
        btnStop(0)->show();
}

void frmMain::picHidden_MouseMove()
{
    if (btnStop(2)->isHidden())
        btnStop(2)->show();
}

void frmMain::Form_MouseMove(const platform::MouseArgs &args)
{
    for (auto *pair : {&StartButton, &btnDrill, &Image1, &btnUser, &btnHelp}) {
        if ((*pair)(0)->isHidden())
            (*pair)(0)->show();
    }
    if (picWorkArea->isHidden() && picHidden->isHidden())
        lblStats->setCaption(art::kProductLine);
    m_drag.move(this, args);
}

void frmMain::Form_MouseDown(const platform::MouseArgs &args)
{
    m_drag.press(args);
}

void frmMain::Form_Activate()
{
    lblStats->setCaption(m_run->CurrentUserName());
}

void frmMain::btnHelp_Click(std::int16_t)
{
    // The desktop opens the document; where it cannot (no opener installed) or the document is
    // missing, the user is told where it lies or where it was looked for, rather than nothing happening.
    const QStringList folders = helpdocument::searchFolders(
        QDir::currentPath(), QCoreApplication::applicationDirPath(), m_helpDataDirectory);
    const QString document = helpdocument::find(folders);
    if (document.isEmpty())
        platform::MsgBox(trainertext::kHelpMissing.arg(folders.join(u'\n')), platform::MsgIcon::Exclamation);
    else if (!platform::openDocument(document))
        platform::MsgBox(trainertext::kHelpNotOpened.arg(QDir::toNativeSeparators(document)),
                         platform::MsgIcon::Exclamation);
}

void frmMain::btnUser_Click(std::int16_t)
{
    // The run state, counts, timers and options stay; the new user starts a run of their own.
    picWorkArea->hide();
    picHidden->hide();
    m_host.openLoginWindow();
}

void frmMain::Image1_Click(std::int16_t)
{
    // Nothing to save: the totals are stored after every guess.
    Unload();
}
