#pragma once

#include <memory>

#include "model/cio_project.h"
#include "model/cio_solution.h"

namespace pinsum {

class ManualResetEvent;

struct ExactResult {
    ExactOutcome outcome = ExactOutcome::NotRun;
    // With Proven only: a finished solution for the project's effective request.
    std::unique_ptr<CioSolution> solution;
};

// Finds the proven cheapest configuration beside the search. The search calls it on its worker
// after it has checked the request and collected the root controllers and candidate devices;
// the project's search fields are then set and must only be read.
class ExactStep {
public:
    virtual ~ExactStep() = default;
    virtual ExactResult Solve(const CioProject& project, const ManualResetEvent* stop) = 0;
};

} // namespace pinsum
