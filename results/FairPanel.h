#pragma once

#include "FairCheck.h"

#include <QWidget>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
template <typename T> class QFutureWatcher;

namespace selftest {
struct Report;
}

namespace results {

// "Is it fair?" in the Results window: the record check in words with the record's fingerprint, the
// self-test run off the window's thread with a progress bar and Cancel, and the user's own targets
// with the tests of fair drawing. Reads the account named by userName whenever it is shown or asked
// to check again. A self-test under way is stopped when the window hides or the panel is destroyed,
// and the destructor waits for it (a few milliseconds), so nothing outlives the window.
class FairPanel : public QWidget
{
    Q_OBJECT
public:
    static inline const QString kTabText = QStringLiteral("Is it &fair?");
    // The self-test's robot tries of each game.
    static constexpr std::int64_t kSelfTestTries = 1'000'000;

    // storePath: the settings file, empty for the user's own; check: the record check (the command
    // line's, when given), else checkRecordRows.
    explicit FairPanel(std::function<QString()> userName, QWidget *parent = nullptr, QString storePath = {},
                       RecordChecker check = {});
    ~FairPanel() override;

    // Checks the record and counts the targets again.
    void checkRecord();
    void copyFingerprint();
    void startSelfTest(std::int64_t tries = kSelfTestTries);
    void cancelSelfTest();
    bool selfTestRunning() const;

    // For tests and the screen reader checks.
    QLabel *checkLabel() const { return m_checkText; }
    QLabel *fingerprintLabel() const { return m_fingerprint; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *selfTestButton() const { return m_start; }
    QPushButton *cancelButton() const { return m_cancel; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *selfTestLabel() const { return m_selfTestText; }
    QLabel *targetsLabel() const { return m_targets; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Shared with the thread running the self-test, which may outlive a cancelled request briefly.
    struct Job
    {
        std::atomic<bool> stop{false};
        std::atomic<std::int64_t> done{0}; // tries of both games done
        std::int64_t total = 0;
    };

    QWidget *buildRecord();
    QWidget *buildSelfTest();
    void showProgress();
    void selfTestFinished(const selftest::Report &report);
    void stopAndWait();

    std::function<QString()> m_userName;
    QString m_storePath;
    RecordChecker m_check;
    QString m_fullFingerprint;
    QLabel *m_checkText = nullptr;
    QLabel *m_fingerprint = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancel = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_selfTestText = nullptr;
    QLabel *m_targets = nullptr;
    QTimer *m_progressTimer = nullptr;
    std::shared_ptr<Job> m_job;
    QFutureWatcher<selftest::Report> *m_watcher = nullptr;
};

} // namespace results
