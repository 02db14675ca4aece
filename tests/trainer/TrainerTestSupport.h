#pragma once

// What the trainer window's suites share: a private settings store per test, a recording host, and a
// trainer window opened the way the program opens it.

#include "history/HistorySchema.h"
#include "trainer/RandomSource.h"
#include "trainer/TrainerHost.h"
#include "trainer/frmMain.h"

#include "tests/support/PinnedSeal.h"
#include "tests/support/TestSandbox.h"

#include "platform/Dialogs.h"
#include "platform/Form.h"

#include <QPointer>
#include <QTest>

#include <memory>

// Stands in for the program: counts how often the login and Results windows were asked for and how
// many counted tries it was told of.
class RecordingHost : public TrainerHost
{
public:
    void openLoginWindow() override { ++loginWindowsOpened; }
    void openResultsWindow() override { ++resultsWindowsOpened; }
    void tryCounted() override { ++triesCounted; }
    void planSeries() override { ++seriesPlanned; }
    void seriesClosed() override { ++seriesClosings; }
    int seriesPlanned = 0;
    int seriesClosings = 0;
    int loginWindowsOpened = 0;
    int resultsWindowsOpened = 0;
    int triesCounted = 0;
};

// Index of a widget in its parent's stacking (higher lies above).
inline qsizetype stackIndex(const QWidget *widget)
{
    return widget->parentWidget()->children().indexOf(const_cast<QWidget *>(widget));
}

// Once per suite: art, fonts, and a last-window rule that records instead of quitting the test.
inline void initTrainerSuite(int *lastWindowCount = nullptr)
{
    initWindowSuite();
    history::schema::install();
    platform::FormRegistry::setLastWindowHandler([lastWindowCount] {
        if (lastWindowCount)
            ++*lastWindowCount;
    });
}

// One trainer window for one test, opened for a user with a pinned random source. The window is
// unloaded and deleted when the fixture ends (unless the test unloaded it already).
class TrainerFixture
{
public:
    explicit TrainerFixture(const QString &user = QStringLiteral("Ada"), std::uint64_t seed = 42)
    {
        window = new frmMain(host, std::make_unique<RandomSource>(seed));
        window->run().showFor(user, 0, 0);
        window->setOptionsSlidePaced(false);
    }
    ~TrainerFixture()
    {
        if (window) {
            window->Unload();
            delete window.data();
        }
    }

    // Loads and shows the window as the program does (load step, show, activation).
    void open()
    {
        window->Show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    frmMain &w() { return *window; }
    // The window after open(), for tests that start from the shown window.
    frmMain &opened()
    {
        open();
        return *window;
    }
    // The user's totals as a login would hand them over, before a Test starts.
    void setTotals(std::int16_t hits, std::int16_t tries)
    {
        window->run().showFor(window->run().CurrentUserName(), hits, tries);
    }

    RecordingHost host;
    QPointer<frmMain> window;
};
