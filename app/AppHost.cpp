#include "AppHost.h"

#include "frmEULA.h"
#include "frmSplash.h"

#include "accounts/frmUser.h"
#include "platform/Dialogs.h"
#include "platform/WindowSystem.h"
#include "results/SeriesPanel.h"
#include "results/dlgPlanSeries.h"
#include "results/frmResults.h"
#include "settings/Settings.h"
#include "trainer/frmMain.h"

#include <QTabWidget>

namespace {

// %1: the store's file, %2: why; kTriesUnstored %1: how many, %2 the file, %3 why.
const QString kTryUnstored = QStringLiteral("The last try could not be stored in \"%1\": %2.\n\n"
                                            "It is lost when the program ends.");
const QString kTriesUnstored = QStringLiteral("The last %1 tries could not be stored in \"%2\": %3.\n\n"
                                              "They are lost when the program ends.");
const QString kSettingsUnsaved = QStringLiteral("Your latest settings could not be saved to \"%1\": %2.\n\n"
                                                "They are lost when the program ends.");

// A window still pointed at but already unloaded waits only for its deletion: it is never shown
// again, so a request for that window needs a new one.
template <typename Window> bool isOpen(const QPointer<Window> &window)
{
    return window && !window->isUnloaded();
}

} // namespace

AppHost::AppHost() = default;

AppHost::~AppHost()
{
    // Windows unloaded during the last events wait for a deferred deletion that no longer comes;
    // they refer to this host and its user values, so they go first.
    delete m_results.data();
    delete m_login.data();
    delete m_trainer.data();
    delete m_splash.data();
    delete m_eula.data();
}

void AppHost::start()
{
    m_eula = new frmEULA(*this);
    m_eula->Show();
}

void AppHost::finishStore()
{
    const UnsavedSettings unsaved = FlushSettings();
    if (!unsaved.entries)
        return;
    QString text;
    if (unsaved.keptWrites == 1)
        text = kTryUnstored.arg(unsaved.filePath, unsaved.reason);
    else if (unsaved.keptWrites > 1)
        text = kTriesUnstored.arg(QString::number(unsaved.keptWrites), unsaved.filePath, unsaved.reason);
    else
        text = kSettingsUnsaved.arg(unsaved.filePath, unsaved.reason);
    platform::MsgBox(text, platform::MsgIcon::Exclamation);
}

void AppHost::showSplash()
{
    if (!isOpen(m_splash))
        m_splash = new frmSplash(*this);
    m_splash->Show();
}

void AppHost::openLoginWindow()
{
    if (!isOpen(m_login)) {
        m_login = new frmUser(*this);
        // Opened from the trainer, the login window belongs over it.
        if (isOpen(m_trainer) && m_trainer->isVisible())
            platform::setPlacementOwner(m_login, m_trainer);
    }
    m_login->Show();
}

void AppHost::showTrainerFor(const QString &userName, std::int16_t userHits, std::int16_t userTries)
{
    m_session = UserSession{userName, userHits, userTries};
    if (!isOpen(m_trainer))
        m_trainer = new frmMain(*this);
    m_trainer->showFor(userName, userHits, userTries);
    // An open Results window follows the login: it shows the record of the user now at the trainer,
    // behind the trainer that has just taken the focus.
    if (m_results)
        m_results->loadFor(userName);
}

void AppHost::openResultsWindow()
{
    if (!isOpen(m_trainer))
        return;
    if (!m_results) {
        m_results = new results::frmResults;
        // The trainer is discarded some time after it unloads; its Results window goes with it.
        QObject::connect(m_trainer, &QObject::destroyed, m_results, &QWidget::close);
        // Opened beside the trainer, or else over as little of its cards as the screen allows.
        QRect cards;
        for (const QWidget *panel :
             {static_cast<QWidget *>(m_trainer->picWorkArea), static_cast<QWidget *>(m_trainer->picHidden)})
            cards |= QRect(panel->mapToGlobal(QPoint(0, 0)), panel->size());
        m_results->placeBeside(m_trainer->frameGeometry(), cards);
        QObject::connect(m_results->seriesPanel(), &results::SeriesPanel::planRequested, m_results,
                         [this] { planSeries(); });
    }
    m_results->showFor(m_session.CurrentUserName);
}

void AppHost::planSeries()
{
    if (!isOpen(m_trainer))
        return;
    TrainerRun &run = m_trainer->run();
    const history::Game game = m_trainer->chosenGame();
    const history::Deck deck = m_trainer->chosenDeck();
    results::PlanSeriesContext context{history::gameName(game), history::deckName(deck), std::nullopt};
    if (const auto &open = run.openSeries())
        context.open = results::PlanSeriesContext::Open{open->declared.length, open->tried, open->hits};
    QWidget *owner = m_results && m_results->isActiveWindow() ? static_cast<QWidget *>(m_results) : m_trainer;
    results::dlgPlanSeries planner(context, owner);
    if (planner.exec() != QDialog::Accepted)
        return;
    if (planner.choice() == results::dlgPlanSeries::Choice::Declare)
        run.declareSeries(planner.length(), game, deck);
    else if (planner.choice() == results::dlgPlanSeries::Choice::EndEarly)
        run.endSeriesEarly();
    if (m_results)
        m_results->loadFor(m_session.CurrentUserName);
}

void AppHost::seriesClosed()
{
    // The series' result comes forward at once.
    openResultsWindow();
    if (m_results)
        m_results->tabs()->setCurrentWidget(m_results->seriesPanel());
}

void AppHost::tryCounted()
{
    // The trainer's run counted a test try into its copy of the totals and stored it.
    if (isOpen(m_trainer)) {
        m_session.UserHits = m_trainer->run().UserHits();
        m_session.UserTries = m_trainer->run().UserTries();
    }
    if (m_results)
        m_results->refresh();
}

frmEULA *AppHost::agreementWindow() const
{
    return m_eula;
}

frmSplash *AppHost::splashWindow() const
{
    return m_splash;
}

frmUser *AppHost::loginWindow() const
{
    return m_login;
}

frmMain *AppHost::trainerWindow() const
{
    return m_trainer;
}

results::frmResults *AppHost::resultsWindow() const
{
    return m_results;
}
