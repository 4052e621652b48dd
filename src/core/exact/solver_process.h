#pragma once

#include <functional>

#include "exact/integer_program.h"

namespace pinsum {

class ManualResetEvent;

using SolverWork = std::function<IntegerAnswer(const ManualResetEvent* stop)>;

// Runs `work` in a child process and returns its answer. CBC cannot be interrupted everywhere
// and has faults of its own; apart, a set stop event ends the solve within milliseconds, a
// solve past its processor time (plus a grace second) is ended too, and a crash costs only the
// answer (status Failed). Where no child process can be started, `work` runs here with the stop
// event.
IntegerAnswer SolveApart(const SolverWork& work, double seconds, const ManualResetEvent* stop);

} // namespace pinsum
