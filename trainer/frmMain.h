#pragma once

#include "DealOrder.h"
#include "RandomSource.h"
#include "TrainerRun.h"

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/KeyRepeat.h"
#include "platform/Picture.h"
#include "shape/WindowDrag.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

class TrainerHost;

namespace platform {
class Timer;
} // namespace platform

// The trainer window: a borderless, skinned 783 by 590 pixel window with the plain game on
// picWorkArea, the find-hidden game on picHidden, the sliding options panel, the accuracy meter, the
// status line and picture buttons that light up under the pointer.
//
// Controls keep the names, containers, twips places and stacking of the window's design and are
// reachable by those names, as are the handlers (an event handler is also called directly as a
// routine). Invariants: at most one game panel shows; the options panel rests at kOptionsClosedTop or
// kOptionsOpenTop whenever a handler starts; RunTries and RunHits stay within 0..32767.
//
// The class is split by concern over frmMain_*.cpp: layout, deal, guess, runs, score, decks, options,
// hover (hover buttons, help, switch user, close and the drag), accessibility, results (opening the
// Results window).
class frmMain : public platform::Form
{
    Q_OBJECT
public:
    // The window keeps a reference to its host, which must outlive it. Without a draw source it seeds
    // its own generator (Form_Initialize); tests hand in a pinned one.
    explicit frmMain(TrainerHost &host, std::unique_ptr<DrawSource> random = {}, QWidget *parent = nullptr);
    ~frmMain() override;

    // Options panel rest positions (top edge, twips).
    static constexpr float kOptionsClosedTop = -1575;
    static constexpr float kOptionsOpenTop = -10;
    // A full slide (1565 one-twip steps) takes about this long while the window is visible.
    static constexpr std::chrono::milliseconds kOptionsSlideDuration{250};

    // Controls on the window, in stacking order (earlier lies above).
    platform::PictureBox *picMeter = nullptr;
    platform::PictureBox *picBox2 = nullptr;
    platform::PictureBox *Picture1 = nullptr;
    platform::PictureBox *picBlocker = nullptr;
    platform::PictureBox *picWorkArea = nullptr;
    platform::PictureBox *picOptions = nullptr;
    platform::PictureBox *picHidden = nullptr;
    platform::Label *lblUserName = nullptr;
    platform::ControlArray<platform::Image> btnHelp;     // 0 normal, 1 lit
    platform::ControlArray<platform::Image> Image1;      // close box: 0 normal, 1 lit
    platform::ControlArray<platform::Image> btnUser;     // 0 normal, 1 lit
    platform::ControlArray<platform::Image> btnDrill;    // Practice: 0 normal, 1 lit
    platform::ControlArray<platform::Image> StartButton; // Test: 0 normal, 1 lit

    // Inside picMeter and Picture1.
    platform::Shape *shapeMeter = nullptr;
    platform::Label *lblStats = nullptr;

    // Inside picWorkArea: the face row Card(1..5), the reveal card Card(0) under its cover Card(6),
    // the hidden deck holders (1..5) and the Stop pair 0/1.
    platform::Timer *timerreset = nullptr; // 2000 ms
    platform::ControlArray<platform::Image> Card;
    platform::ControlArray<platform::Image> pCard;
    platform::ControlArray<platform::Image> zCard;
    platform::ControlArray<platform::Image> ColorCards;
    platform::ControlArray<platform::Image> btnStop; // 0/1 in picWorkArea, 2/3 in picHidden

    // Inside picOptions.
    platform::CheckBox *chkFindHidden = nullptr;
    platform::Frame *Frame1 = nullptr;
    platform::ControlArray<platform::OptionButton> Option1; // 0 Zener, 1 colour, 2 playing cards
    platform::CheckBox *chkHideScore = nullptr;
    platform::CheckBox *chkUseMeter = nullptr;
    platform::CheckBox *chkBlindMode = nullptr;
    platform::Label *lblOptionsTouch = nullptr;

    // Inside picHidden: the chosen card HiddenCard(0), hidden positions 1..5 and their covers 6..10.
    platform::Timer *hiddenTimer = nullptr; // 1800 ms
    platform::ControlArray<platform::Image> HiddenCard;

    // The run on show: its state (RunHits, RunTries, PracticeRun, DealtFaces), counting and record.
    TrainerRun &run() { return *m_run; }
    const TrainerRun &run() const { return *m_run; }

    // Declared series (frmMain_series.cpp): the game and deck as chosen now; asks the program to plan one.
    history::Game chosenGame() const;
    history::Deck chosenDeck() const { return guessSetting().deck; }
    void planSeries();

    // Shows the window for this user and their stored totals (after a login): a run on show ends as
    // Stop ends it; for another user than the one shown, the score and the meter return to their state
    // when the window opened.
    void showFor(const QString &userName, std::int16_t userHits, std::int16_t userTries);

    // The deal (frmMain_deal.cpp).
    std::int16_t PickTarget();
    void DealRound();

    // Guessing and the next try (frmMain_guess.cpp).
    void Card_Click(std::int16_t Index);
    void HiddenCard_Click(std::int16_t Index);
    void timerreset_Timer();
    void hiddenTimer_Timer();

    // Test, Practice and Stop (frmMain_runs.cpp).
    void StartButton_Click(std::int16_t Index);
    void btnDrill_Click(std::int16_t Index);
    void btnStop_Click(std::int16_t Index);

    // Score line and meter after a counted guess (frmMain_score.cpp).
    void UpdateScore();
    void chkUseMeter_Click();

    // Decks (frmMain_decks.cpp).
    void Option1_Click(std::int16_t Index);
    void LoadColorCards();
    void LoadZenerCards();
    void LoadPlayingCards();

    // Options panel (frmMain_options.cpp).
    void lblOptionsTouch_Click();
    // Pacing of the slide while the window is visible; on by default (tests may turn it off).
    void setOptionsSlidePaced(bool paced) { m_optionsSlidePaced = paced; }

    // Hover buttons, hints, help, switch user, close and the drag (frmMain_hover.cpp).
    void StartButton_MouseMove(std::int16_t Index);
    void btnDrill_MouseMove(std::int16_t Index);
    void btnUser_MouseMove(std::int16_t Index);
    void btnHelp_MouseMove(std::int16_t Index);
    void Image1_MouseMove(std::int16_t Index);
    void btnStop_MouseMove(std::int16_t Index);
    void picWorkArea_MouseMove();
    void picHidden_MouseMove();
    void btnHelp_Click(std::int16_t Index);
    void btnUser_Click(std::int16_t Index);
    void Image1_Click(std::int16_t Index);
    void Form_Activate() override;
    void Form_MouseDown(const platform::MouseArgs &args) override;
    void Form_MouseMove(const platform::MouseArgs &args) override;

    // The Results window, from the score bar (frmMain_results.cpp).
    void Picture1_Click();
    void lblStats_Click();
    // Keys of the window (frmMain_keys.cpp): 1..5 guess at that position in the game on show, S or
    // Escape stop a run; the other keys are in the key table there.
    void guessByKey(std::int16_t position);
    void stopByKey();

    // Folder searched for the help document when the current directory has none (the installed data
    // folder unless a test points it elsewhere).
    void setHelpDataDirectory(const QString &directory) { m_helpDataDirectory = directory; }

    // The drag's press point (PressX, PressY) lives here.
    shape::WindowDrag &drag() { return m_drag; }

    // The window's own background picture (shared with picBox2 by the load step).
    platform::Picture picture() const { return m_picture; }

protected:
    // Seeds the window's own generator when no draw source was given, and sets up the run.
    void Form_Initialize(std::unique_ptr<DrawSource> draws);
    void Form_Load() override;
    void Form_Unload() override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // Layout (frmMain_layout.cpp, frmMain_panels.cpp).
    void createWindowControls();
    void createWorkArea();
    void createOptionsPanel();
    void createHiddenPanel();
    void setStackingOrder();
    void setFocusOrder();
    void connectEvents();
    void connectResultsOpeners();
    // Names and roles for screen readers (frmMain_accessibility.cpp).
    void setAccessibility();
    // Tells assistive technology the result of the try just counted and the status line after it.
    void announceCountedTry(bool hit);
    // Tooltips that name each picture button's key; whether a login window keeps the keys
    // (frmMain_keys.cpp).
    void setKeyToolTips();
    bool loginWindowInFront() const;
    // The face a picture shows, named after its deck ("star", "red"); empty for the card back.
    QString faceNameOf(const platform::Picture &picture) const;

    // What a guess's record needs of the window (frmMain_guess.cpp): the deck on show and Play Blind.
    TrainerRun::Setting guessSetting() const;
    // Shows why a guess was not counted; false when it was.
    bool refusedAtCountLimit(TrainerRun::Outcome outcome);
    // The meter as the window opened: the 20 % row, white (frmMain_score.cpp).
    void resetMeter();

    // Options panel.
    void closeOptionsPanel();
    // Sets the panel's top edge; true when its widget moved by a pixel.
    bool moveOptionsPanel(float top);

    TrainerHost &m_host;
    std::unique_ptr<TrainerRun> m_run;
    platform::Picture m_picture;
    shape::WindowDrag m_drag;
    QString m_helpDataDirectory;
    platform::KeyRepeat m_keyRepeat;
    bool m_optionsSlidePaced = true;
};
