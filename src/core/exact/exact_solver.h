#pragma once

#include <cstddef>
#include <cstdint>

#include "solver/exact_step.h"

namespace pinsum {

// The exact mode: the root controllers and candidate devices as columns of an integer program
// (see CandidateDevice) solved by CBC for the cheapest complete configuration.
class CbcExactStep : public ExactStep {
public:
    // Generated catalogues solve in well under a second; the limit only bounds a pathological
    // catalogue.
    static constexpr double kDefaultSeconds = 20.0;

    // Programs with up to this many columns of further devices go to CBC whole; larger ones
    // first with as many of the columns the linear relaxation rates best.
    static constexpr size_t kFirstColumns = 1000;

    explicit CbcExactStep(double timeLimitSeconds = kDefaultSeconds,
                          size_t firstColumns = kFirstColumns)
        : m_timeLimit(timeLimitSeconds), m_firstColumns(firstColumns) {}

    ExactResult Solve(const CioProject& project, const ManualResetEvent* stop) override;

    // Configurations the last Solve walked one by one (devices whose variants exclude others),
    // and the columns of its integer program.
    size_t Walked() const { return m_walked; }
    size_t Columns() const { return m_columns; }

private:
    double m_timeLimit;
    size_t m_firstColumns;
    size_t m_walked = 0;
    size_t m_columns = 0;
};

// What a solution costs in the catalogue's exact units (ten-thousandths): the list prices of its
// devices and of the modules of their chosen configurations.
int64_t ScaledPrice(const CioSolution& solution);

} // namespace pinsum
