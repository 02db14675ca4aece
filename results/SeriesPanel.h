#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace results {

// The Results window's "Series" section: every declared series of the account with its exact
// verdict, and how many of the series done reached the 1-in-20 level against what chance alone
// gives, so a lucky series is seen among the others. Its "Plan a series..." button asks the program
// for the planner (planRequested).
class SeriesPanel : public QWidget
{
    Q_OBJECT
public:
    // storePath: the settings file; empty for the user's own.
    explicit SeriesPanel(QString storePath, QWidget *parent = nullptr);

    // Reads userName's series from the store and shows them.
    void load(const QString &userName);
    QPushButton *planButton() const { return m_plan; }
    QString text() const;

signals:
    void planRequested();

private:
    QString m_storePath;
    QLabel *m_tally = nullptr;
    QLabel *m_list = nullptr;
    QPushButton *m_plan = nullptr;
};

} // namespace results
