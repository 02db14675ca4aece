#pragma once

#include <QString>

#include <optional>

// --plan RATE [--alpha A] [--power P] [--json]: how many tries a declared series needs.
namespace commandline {

struct PlanAnswer
{
    int status = 0; // 0 done, 1 no series up to the largest planned length, 2 a usage mistake
    QString output; // for standard output (status 0) or the mistake / failure in words
};

// The smallest N whose exact one-sided binomial test at level alpha (default 0.05) finds a true hit
// rate `rate` with a chance of at least `power` (default 0.8).
PlanAnswer plan(const QString &rate, const std::optional<QString> &alpha, const std::optional<QString> &power,
                bool json);

} // namespace commandline
