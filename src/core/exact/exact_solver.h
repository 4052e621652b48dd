#pragma once

#include <cstddef>
#include <cstdint>

#include "solver/exact_step.h"

namespace pinsum {

// The exact mode: every usable configuration of the root controllers and candidate devices,
// less the ones another configuration of the same device beats on price and points, and an
// integer program over them solved by CBC for the cheapest complete configuration.
class CbcExactStep : public ExactStep {
public:
    // Generated catalogues of thousands of configurations per device solve in well under a
    // second; the limit only bounds a pathological catalogue.
    static constexpr double kDefaultSeconds = 20.0;

    explicit CbcExactStep(double timeLimitSeconds = kDefaultSeconds)
        : m_timeLimit(timeLimitSeconds) {}

    ExactResult Solve(const CioProject& project, const ManualResetEvent* stop) override;

    // Configurations of the last Solve usable for its request, and those left by the filter.
    size_t Usable() const { return m_usable; }
    size_t Kept() const { return m_kept; }

private:
    double m_timeLimit;
    size_t m_usable = 0;
    size_t m_kept = 0;
};

// What a solution costs in the catalogue's exact units (ten-thousandths): the list prices of its
// devices and of the modules of their chosen configurations.
int64_t ScaledPrice(const CioSolution& solution);

} // namespace pinsum
