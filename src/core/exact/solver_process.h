#pragma once

#include <optional>
#include <string>

#include "exact/integer_program.h"

namespace pinsum {

class ManualResetEvent;

// The solver program, pinsum-exact-solver, beside the running program; empty when there is none.
// Nowhere else: a path built in would run whatever a later user put there.
std::string SolverProgram();

// Runs the solver program on an encoded job (see exact_search.h) and returns its answer. CBC
// cannot be interrupted everywhere and has faults of its own; in a process of its own, started
// afresh rather than forked from this one with its threads, a set stop event ends it within
// milliseconds, a solve past `seconds` of processor time (plus a grace second) is ended too,
// whatever the solver does with its output, and a crash or an answer longer than largestAnswer
// bytes costs only the answer (status Failed). Whatever the solver started ends with it. Nothing
// when the program cannot be started.
std::optional<IntegerAnswer> SolveApart(const std::string& program, const std::string& job,
                                        size_t largestAnswer, double seconds,
                                        const ManualResetEvent* stop);

} // namespace pinsum
