#include "SeriesPanel.h"

#include "SeriesText.h"

#include "settings/SettingsStore.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace results {

namespace {

const QString kNoSeries = QStringLiteral(
    "No series declared yet. A series is a number of tries you fix before you play: its result is the "
    "classic test, valid because the number was fixed in advance. Use \"Plan a series...\" or the N key "
    "in the trainer.");

} // namespace

SeriesPanel::SeriesPanel(QString storePath, QWidget *parent)
    : QWidget(parent), m_storePath(std::move(storePath))
{
    setAccessibleName(QStringLiteral("Series"));
    auto *layout = new QVBoxLayout(this);
    m_tally = new QLabel(this);
    m_tally->setWordWrap(true);
    QFont bold = m_tally->font();
    bold.setBold(true);
    m_tally->setFont(bold);
    m_list = new QLabel(this);
    m_list->setWordWrap(true);
    m_list->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_list->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_list);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(m_tally);
    layout->addWidget(scroll, 1);
    m_plan = new QPushButton(QStringLiteral("&Plan a series..."), this);
    connect(m_plan, &QPushButton::clicked, this, &SeriesPanel::planRequested);
}

void SeriesPanel::load(const QString &userName)
{
    QString reason;
    const QString path = m_storePath.isEmpty() ? SettingsStore::defaultFilePath() : m_storePath;
    const auto series = history::readSeries(path, userName, &reason);
    if (!series || series->empty()) {
        m_tally->setText(series ? QString() : reason);
        m_tally->setVisible(!series);
        m_list->setText(kNoSeries);
        return;
    }
    m_tally->setText(seriesTallyLine(*series));
    m_tally->setVisible(!m_tally->text().isEmpty());
    QStringList lines;
    // Newest first: a series that has just closed is the first thing seen.
    for (int index = int(series->size()) - 1; index >= 0; --index)
        lines << seriesLine(index + 1, (*series)[size_t(index)]);
    m_list->setText(lines.join(QStringLiteral("\n\n")));
}

QString SeriesPanel::text() const
{
    return m_tally->text() + QLatin1Char('\n') + m_list->text();
}

} // namespace results
