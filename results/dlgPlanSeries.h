#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;

namespace results {

// What the planner is opened for: the game and deck as chosen in the trainer, and the series still
// open, if any.
struct PlanSeriesContext
{
    QString game; // "plain" / "find-hidden"
    QString deck; // "zener" / ...
    struct Open
    {
        int length = 0;
        int tried = 0;
        int hits = 0;
    };
    std::optional<Open> open;
};

// "Plan a series": choose N (25 to 1000 offered, any N from 10 to 10 000 typed), see for that N how
// often a real effect of 22, 25 or 30 % would show at the 1-in-20 level and the N that would show it
// 4 times in 5, and declare it. While a series is open it can only be ended early (after a
// confirmation), which counts its untried tries as misses.
class dlgPlanSeries : public QDialog
{
    Q_OBJECT
public:
    enum class Choice
    {
        None,
        Declare,
        EndEarly
    };

    explicit dlgPlanSeries(const PlanSeriesContext &context, QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }
    int length() const;
    QSpinBox *lengthBox() const { return m_length; }

private:
    void showPower();
    void endEarly();

    PlanSeriesContext m_context;
    Choice m_choice = Choice::None;
    QSpinBox *m_length = nullptr;
    QLabel *m_power = nullptr;
};

} // namespace results
