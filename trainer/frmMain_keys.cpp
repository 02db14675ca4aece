// Playing from the keyboard: each key of the trainer window stands for a click on one of its
// pictures and goes through that click's handler, with the same guards. Keys light no picture and
// write no hint.

#include "frmMain.h"

#include "TrainerTexts.h"

#include "platform/Accessibility.h"
#include "platform/Form.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <array>
#include <tuple>

namespace {

// One key of the window and the click it stands for. Keypad keys match the keys of the same name
// (the keypad's 1 is the top row's 1).
struct KeyCommand
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    void (*run)(frmMain &window);
};

const std::array kKeyCommands{
    KeyCommand{Qt::Key_1, Qt::NoModifier, [](frmMain &w) { w.guessByKey(1); }},
    KeyCommand{Qt::Key_2, Qt::NoModifier, [](frmMain &w) { w.guessByKey(2); }},
    KeyCommand{Qt::Key_3, Qt::NoModifier, [](frmMain &w) { w.guessByKey(3); }},
    KeyCommand{Qt::Key_4, Qt::NoModifier, [](frmMain &w) { w.guessByKey(4); }},
    KeyCommand{Qt::Key_5, Qt::NoModifier, [](frmMain &w) { w.guessByKey(5); }},
    KeyCommand{Qt::Key_T, Qt::NoModifier, [](frmMain &w) { w.StartButton_Click(0); }},
    KeyCommand{Qt::Key_P, Qt::NoModifier, [](frmMain &w) { w.btnDrill_Click(0); }},
    KeyCommand{Qt::Key_S, Qt::NoModifier, [](frmMain &w) { w.stopByKey(); }},
    KeyCommand{Qt::Key_Escape, Qt::NoModifier, [](frmMain &w) { w.stopByKey(); }},
    KeyCommand{Qt::Key_O, Qt::NoModifier, [](frmMain &w) { w.lblOptionsTouch_Click(); }},
    KeyCommand{Qt::Key_U, Qt::NoModifier, [](frmMain &w) { w.btnUser_Click(0); }},
    KeyCommand{Qt::Key_Q, Qt::ControlModifier, [](frmMain &w) { w.Image1_Click(0); }},
    KeyCommand{Qt::Key_N, Qt::NoModifier, [](frmMain &w) { w.planSeries(); }},
    KeyCommand{Qt::Key_F1, Qt::NoModifier, [](frmMain &w) { w.btnHelp_Click(0); }},
};

} // namespace

void frmMain::keyPressEvent(QKeyEvent *event)
{
    const bool repeat = m_keyRepeat.isRepeat(event);
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    for (const KeyCommand &command : kKeyCommands) {
        if (command.key != event->key() || command.modifiers != modifiers)
            continue;
        event->accept();
        // A held key repeats its press: only the first acts, so a guess is one key press.
        if (!repeat && !loginWindowInFront())
            command.run(*this);
        return;
    }
    platform::Form::keyPressEvent(event);
}

void frmMain::keyReleaseEvent(QKeyEvent *event)
{
    m_keyRepeat.noteRelease(event);
    platform::Form::keyReleaseEvent(event);
}

bool frmMain::loginWindowInFront() const
{
    // Besides the trainer, the loaded forms can only be the login window of a switch of user (the
    // Results window is no form, and takes its keys only when it has the focus). While such a form
    // shows, the keys wait until it is gone, as they would behind it.
    for (const platform::Form *form : platform::FormRegistry::loadedForms()) {
        if (form != this && form->isVisible())
            return true;
    }
    return false;
}

void frmMain::guessByKey(std::int16_t position)
{
    // The card or cover at that position from the left, in the game whose panel shows.
    if (!picWorkArea->isHidden())
        Card_Click(position);
    else if (!picHidden->isHidden())
        HiddenCard_Click(static_cast<std::int16_t>(position + 5));
}

void frmMain::stopByKey()
{
    // The Stop pictures lie on the game panels: without a run there is no Stop to press.
    if (!picWorkArea->isHidden() || !picHidden->isHidden())
        btnStop_Click(0);
}

void frmMain::setKeyToolTips()
{
    // Each picture button's tooltip names its key, and assistive technology is told the same key as
    // the button's press binding.
    const auto tell = [](QWidget *widget, const QString &tip, const QKeySequence &key) {
        widget->setToolTip(tip);
        platform::setAccessibleKey(widget, key);
    };
    for (auto [pair, tip, key] :
         {std::tuple{&StartButton, trainertext::kTipTest, QKeySequence(Qt::Key_T)},
          std::tuple{&btnDrill, trainertext::kTipPractice, QKeySequence(Qt::Key_P)},
          std::tuple{&btnUser, trainertext::kTipUser, QKeySequence(Qt::Key_U)},
          std::tuple{&btnHelp, trainertext::kTipHelp, QKeySequence(Qt::Key_F1)},
          std::tuple{&Image1, trainertext::kTipClose, QKeySequence(Qt::CTRL | Qt::Key_Q)}}) {
        tell((*pair)(0), tip, key);
        tell((*pair)(1), tip, key);
    }
    for (std::int16_t index = 0; index <= 3; ++index)
        tell(btnStop(index), trainertext::kTipStop, QKeySequence(Qt::Key_S));
    tell(lblOptionsTouch, trainertext::kTipOptions, QKeySequence(Qt::Key_O));
}
