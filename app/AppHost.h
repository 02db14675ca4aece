#pragma once

#include "StartupHost.h"

#include "accounts/LoginHost.h"
#include "UserSession.h"
#include "trainer/TrainerHost.h"

#include <QPointer>

class frmEULA;
class frmMain;
class frmSplash;
class frmUser;
namespace results {
class frmResults;
}

// The program around its windows: owns the shared user values and creates each window on first use,
// so the windows hand over to each other (agreement -> splash -> login -> trainer, trainer -> login)
// without knowing one another. A window that unloaded itself is discarded; the next request creates
// a new one from its design. The Results window belongs to the trainer: it follows the user the
// trainer shows and closes with it. Must outlive every window it created.
class AppHost : public StartupHost, public LoginHost, public TrainerHost
{
public:
    AppHost();
    ~AppHost() override;
    AppHost(const AppHost &) = delete;
    AppHost &operator=(const AppHost &) = delete;

    // Creates the agreement window and shows it; its load step may pass straight on to the splash.
    void start();

    // The last write of what the disk refused before, as the program ends; what still cannot be
    // stored is told in one message box (how many tries, where and why) before the program ends.
    static void finishStore();

    void showSplash() override;
    void openLoginWindow() override;
    void showTrainerFor(const QString &userName, std::int16_t userHits, std::int16_t userTries) override;
    void openResultsWindow() override;
    void tryCounted() override;
    void planSeries() override;
    void seriesClosed() override;

    UserSession &session() { return m_session; }
    // The windows as last opened; null once discarded.
    frmEULA *agreementWindow() const;
    frmSplash *splashWindow() const;
    frmUser *loginWindow() const;
    frmMain *trainerWindow() const;
    results::frmResults *resultsWindow() const;

private:
    UserSession m_session;
    QPointer<frmEULA> m_eula;
    QPointer<frmSplash> m_splash;
    QPointer<frmUser> m_login;
    QPointer<frmMain> m_trainer;
    QPointer<results::frmResults> m_results;
};
