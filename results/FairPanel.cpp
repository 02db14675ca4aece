#include "FairPanel.h"

#include "FairTargets.h"

#include "history/TryHistory.h"
#include "settings/SettingsStore.h"
#include "trainer/RandomSource.h"
#include "trainer/SelfTest.h"

#include <QClipboard>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace results {

namespace {

const QString kRecordTitle = QStringLiteral("Your record");
const QString kFingerprint = QStringLiteral("Fingerprint: %1");
const QString kNoFingerprint = QStringLiteral(
    "No fingerprint yet: it begins with the first sealed run. Send it to someone, or publish it, to "
    "fix the record at that point.");
const QString kCheckAgain = QStringLiteral("Check &again");
const QString kCopy = QStringLiteral("Co&py fingerprint");
const QString kSelfTestTitle = QStringLiteral("The draw itself");
const QString kSelfTestAbout =
    QStringLiteral("The self-test plays %1 robot tries of each game through the trainer's own draw, deal and "
                   "judging, and tests them against fair chance.");
const QString kStart = QStringLiteral("Run the self-&test");
const QString kCancel = QStringLiteral("Ca&ncel");
const QString kRunning = QStringLiteral("The self-test is running...");
const QString kCancelled =
    QStringLiteral("The self-test was cancelled before its end; nothing is concluded.");
const QString kFair = QStringLiteral(
    "The draw and the deal behaved as fair chance does: none of the %1 tests rejected it (p = %2; "
    "fair chance is rejected below %3).");
const QString kUnfair = QStringLiteral(
    "At least one test rejected fair chance (p = %1; fair chance is rejected below %2): the draw "
    "does not behave as it should. The figures follow.");
const QString kTargetsTitle = QStringLiteral("Your targets");
const QString kUnreadableTargets = QStringLiteral("Your targets could not be read: %1");

QLabel *textLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString pValues(const std::vector<double> &p, const QLocale &locale)
{
    QStringList values;
    for (const double value : p)
        values << locale.toString(value, 'g', 3);
    return values.join(QStringLiteral(", "));
}

} // namespace

FairPanel::FairPanel(std::function<QString()> userName, QWidget *parent, QString storePath,
                     RecordChecker check)
    : QWidget(parent), m_userName(std::move(userName)), m_storePath(std::move(storePath)),
      m_check(check ? std::move(check) : RecordChecker(checkRecordRows))
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->addWidget(buildRecord());
    column->addWidget(buildSelfTest());
    auto *targetsBox = new QGroupBox(kTargetsTitle, content);
    auto *targetsColumn = new QVBoxLayout(targetsBox);
    m_targets = textLabel(targetsBox);
    targetsColumn->addWidget(m_targets);
    column->addWidget(targetsBox);
    column->addStretch(1);

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &FairPanel::showProgress);
    m_watcher = new QFutureWatcher<selftest::Report>(this);
    connect(m_watcher, &QFutureWatcher<selftest::Report>::finished, this,
            [this] { selfTestFinished(m_watcher->result()); });
}

FairPanel::~FairPanel()
{
    stopAndWait();
}

QWidget *FairPanel::buildRecord()
{
    auto *box = new QGroupBox(kRecordTitle);
    auto *layout = new QVBoxLayout(box);
    m_checkText = textLabel(box);
    m_fingerprint = textLabel(box);
    layout->addWidget(m_checkText);
    layout->addWidget(m_fingerprint);
    auto *buttons = new QHBoxLayout;
    m_copy = new QPushButton(kCopy, box);
    auto *again = new QPushButton(kCheckAgain, box);
    buttons->addWidget(m_copy);
    buttons->addWidget(again);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_copy, &QPushButton::clicked, this, &FairPanel::copyFingerprint);
    connect(again, &QPushButton::clicked, this, &FairPanel::checkRecord);
    return box;
}

QWidget *FairPanel::buildSelfTest()
{
    auto *box = new QGroupBox(kSelfTestTitle);
    auto *layout = new QVBoxLayout(box);
    auto *about = textLabel(box);
    about->setText(kSelfTestAbout.arg(QLocale().toString(qlonglong(kSelfTestTries))));
    layout->addWidget(about);
    auto *row = new QHBoxLayout;
    m_start = new QPushButton(kStart, box);
    m_progress = new QProgressBar(box);
    m_progress->setAccessibleName(kSelfTestTitle);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(true);
    m_cancel = new QPushButton(kCancel, box);
    m_cancel->setEnabled(false);
    row->addWidget(m_start);
    row->addWidget(m_progress, 1);
    row->addWidget(m_cancel);
    layout->addLayout(row);
    m_selfTestText = textLabel(box);
    layout->addWidget(m_selfTestText);
    connect(m_start, &QPushButton::clicked, this, [this] { startSelfTest(); });
    connect(m_cancel, &QPushButton::clicked, this, &FairPanel::cancelSelfTest);
    return box;
}

void FairPanel::checkRecord()
{
    const QString user = m_userName();
    const RecordCheck check = m_check(m_storePath, user);
    m_checkText->setText(checkText(check));
    m_fullFingerprint = fullFingerprint(check.report);
    m_fingerprint->setText(m_fullFingerprint.isEmpty() ? kNoFingerprint
                                                       : kFingerprint.arg(groupedFingerprint(check.report)));
    m_copy->setEnabled(!m_fullFingerprint.isEmpty());

    QString reason;
    TryHistory reader(m_storePath.isEmpty() ? SettingsStore::defaultFilePath() : m_storePath);
    std::optional<history::AccountHistory> account;
    if (reader.open(&reason))
        account = reader.account(user, &reason);
    m_targets->setText(account ? targetsText(countTargets(account->tries)) : kUnreadableTargets.arg(reason));
}

void FairPanel::copyFingerprint()
{
    if (!m_fullFingerprint.isEmpty())
        QGuiApplication::clipboard()->setText(m_fullFingerprint);
}

bool FairPanel::selfTestRunning() const
{
    return m_job != nullptr;
}

void FairPanel::startSelfTest(std::int64_t tries)
{
    if (m_job)
        return;
    auto job = std::make_shared<Job>();
    job->total = 2 * tries;
    m_job = job;
    // The worker holds its own share of the job and its own generators: it touches nothing of the
    // window, which learns of its progress by reading the job and of its end through the watcher.
    m_watcher->setFuture(QtConcurrent::run([job, tries] {
        const auto game = RandomSource::fromTimeOfDayAndEntropy();
        const auto robot = RandomSource::fromTimeOfDayAndEntropy();
        const auto progress = [&job, tries](const QString &name, std::int64_t done, std::int64_t) {
            job->done = (name == QStringLiteral("plain game") ? 0 : tries) + done;
        };
        return selftest::run(tries, *game, *robot, progress, [&job] { return job->stop.load(); });
    }));
    m_start->setEnabled(false);
    m_cancel->setEnabled(true);
    m_progress->setValue(0);
    m_selfTestText->setText(kRunning);
    m_progressTimer->start();
}

void FairPanel::cancelSelfTest()
{
    if (m_job)
        m_job->stop = true;
}

void FairPanel::showProgress()
{
    if (m_job && m_job->total > 0)
        m_progress->setValue(int(m_job->done * m_progress->maximum() / m_job->total));
}

void FairPanel::selfTestFinished(const selftest::Report &report)
{
    showProgress();
    m_progressTimer->stop();
    m_job.reset();
    m_start->setEnabled(true);
    m_cancel->setEnabled(false);
    const QLocale locale;
    const QString threshold = locale.toString(selftest::kRejectBelow, 'g', 3);
    if (report.cancelled)
        m_selfTestText->setText(kCancelled);
    else if (report.fair)
        m_selfTestText->setText(
            kFair.arg(locale.toString(qlonglong(report.p.size())), pValues(report.p, locale), threshold) +
            QStringLiteral("\n\n") + report.text.trimmed());
    else
        m_selfTestText->setText(kUnfair.arg(pValues(report.p, locale), threshold) + QStringLiteral("\n\n") +
                                report.text.trimmed());
}

void FairPanel::stopAndWait()
{
    cancelSelfTest();
    m_watcher->disconnect(this);
    m_watcher->waitForFinished();
}

void FairPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    checkRecord();
}

void FairPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Switching tabs leaves the test running; closing or hiding the window stops it.
    if (!window()->isVisible())
        cancelSelfTest();
}

} // namespace results
