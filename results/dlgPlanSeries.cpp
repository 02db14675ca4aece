#include "dlgPlanSeries.h"

#include "SeriesText.h"

#include "stats/Series.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace results {

namespace {

const QString kIntro = QStringLiteral(
    "A series is a number of tries you fix before you play. It is your next tries of the Test, across "
    "Stop and later sessions; when its last try is played it closes and its result is shown at once. "
    "Because the number was fixed in advance, its result is the classic exact test. You may end a series "
    "early, but the tries not played then count as misses, so stopping can never help.");
const int kOffered[] = {25, 50, 100, 200, 500, 1000};

QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

dlgPlanSeries::dlgPlanSeries(const PlanSeriesContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("Plan a series"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(wrapped(kIntro, this));
    layout->addWidget(wrapped(QStringLiteral("Game and cards, as chosen in the trainer: %1 game, %2 cards.")
                                  .arg(context.game, context.deck),
                              this));

    auto *row = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Number of tries (10 to 10 000):"), this);
    m_length = new QSpinBox(this);
    m_length->setRange(int(stats::kFewestSeriesTries), int(stats::kMostSeriesTries));
    m_length->setValue(100);
    m_length->setAccessibleName(QStringLiteral("Number of tries"));
    label->setBuddy(m_length);
    row->addWidget(label);
    row->addWidget(m_length);
    QList<QPushButton *> picks;
    for (const int offered : kOffered) {
        auto *pick = new QPushButton(QString::number(offered), this);
        picks << pick;
        pick->setAutoDefault(false);
        connect(pick, &QPushButton::clicked, this, [this, offered] { m_length->setValue(offered); });
        row->addWidget(pick);
    }
    layout->addLayout(row);
    m_power = wrapped(QString(), this);
    layout->addWidget(m_power);
    connect(m_length, &QSpinBox::valueChanged, this, &dlgPlanSeries::showPower);
    showPower();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *declare =
        buttons->addButton(QStringLiteral("&Declare the series"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_choice = Choice::Declare;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (context.open) {
        const PlanSeriesContext::Open &open = *context.open;
        layout->addWidget(
            wrapped(QStringLiteral("A series of %1 tries is open: %2 played, %3 hit. A new series can "
                                   "be declared when it is done.")
                        .arg(open.length)
                        .arg(open.tried)
                        .arg(open.hits),
                    this));
        m_length->setEnabled(false);
        declare->setEnabled(false);
        for (QPushButton *pick : picks)
            pick->setEnabled(false);
        QPushButton *end =
            buttons->addButton(QStringLiteral("&End this series now..."), QDialogButtonBox::ActionRole);
        end->setDefault(true);
        connect(end, &QPushButton::clicked, this, &dlgPlanSeries::endEarly);
        QTimer::singleShot(0, end, qOverload<>(&QWidget::setFocus));
    } else {
        declare->setDefault(true);
        // Typing a number replaces the one offered.
        QTimer::singleShot(0, this, [this] {
            m_length->setFocus();
            m_length->selectAll();
        });
    }
    layout->addWidget(buttons);
}

int dlgPlanSeries::length() const
{
    return m_length->value();
}

void dlgPlanSeries::showPower()
{
    m_power->setText(seriesPowerText(m_length->value()));
}

void dlgPlanSeries::endEarly()
{
    auto *end = qobject_cast<QPushButton *>(sender());
    if (m_choice != Choice::EndEarly) {
        // The first press asks; the second (or Enter) ends it.
        const PlanSeriesContext::Open &open = *m_context.open;
        m_power->setText(QStringLiteral("End the series now? Its %1 untried tries count as misses. Press the "
                                        "button again to end it.")
                             .arg(open.length - open.tried));
        m_choice = Choice::EndEarly;
        if (end)
            end->setText(QStringLiteral("Yes, &end it now"));
        return;
    }
    accept();
}

} // namespace results
