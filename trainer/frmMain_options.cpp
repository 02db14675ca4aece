// The options panel's slide: one twip a step between closed and open, inside the one call.

#include "frmMain.h"

#include <QRect>

#include <chrono>
#include <thread>

namespace {

// Paces a slide so that it takes about kOptionsSlideDuration from end to end, by waiting after each
// pixel the panel moves until that step's share of the duration has passed. Repaints that run slow
// are never waited for twice.
class SlidePacer
{
public:
    explicit SlidePacer(bool paced) : m_paced(paced), m_start(std::chrono::steady_clock::now()) {}

    void twipStepped() { ++m_steps; }

    void pixelShown() const
    {
        if (!m_paced)
            return;
        constexpr auto kFullSlideSteps =
            static_cast<long>(frmMain::kOptionsOpenTop - frmMain::kOptionsClosedTop);
        const auto due = m_start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                       frmMain::kOptionsSlideDuration * m_steps / kFullSlideSteps);
        std::this_thread::sleep_until(due);
    }

private:
    bool m_paced;
    std::chrono::steady_clock::time_point m_start;
    long m_steps = 0;
};

} // namespace

void frmMain::lblOptionsTouch_Click()
{
    // Pacing is for the eye: a hidden window (the load step closes the panel before the first show)
    // is never kept waiting.
    SlidePacer pacer(m_optionsSlidePaced && isVisible());
    if (picOptions->top() == kOptionsClosedTop) {
        for (;;) {
            const float top = picOptions->top();
            if (!(top < kOptionsOpenTop))
                break;
            pacer.twipStepped();
            if (moveOptionsPanel(top + 1))
                pacer.pixelShown();
        }
    } else {
        for (;;) {
            const float top = picOptions->top();
            if (!(top > kOptionsClosedTop))
                break;
            pacer.twipStepped();
            if (moveOptionsPanel(top - 1))
                pacer.pixelShown();
        }
    }
}

bool frmMain::moveOptionsPanel(float top)
{
    const QRect before = picOptions->geometry();
    picOptions->setTop(top);
    const QRect after = picOptions->geometry();
    if (after == before)
        return false;
    // Nothing else runs until the slide ends, so each pixel is painted here and now: the window's body
    // where the panel was and the panel where it is, picBlocker still in front of it.
    if (isVisible())
        repaint(before.united(after));
    return true;
}

void frmMain::closeOptionsPanel()
{
    if (picOptions->top() != kOptionsClosedTop)
        lblOptionsTouch_Click();
}
