#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "exact/integer_program.h"

namespace pinsum {

class ManualResetEvent;

// The columns of one root controller: all of them, and those counting the controller.
struct RootColumns {
    std::vector<int> all;
    std::vector<int> counts;
};

struct ExactProgram {
    IntegerProgram program;
    std::vector<RootColumns> roots;
    // The columns of the further devices, which the relaxation may rate out of a program.
    std::vector<int> further;
    // The line and crowding switches, in every program.
    std::vector<int> switches;
};

// The cheapest solution of the program within `seconds` of processor time, root controller by
// root controller. Programs whose further devices have more than `firstColumns` columns start
// from as many of the columns the linear relaxation rates best.
IntegerAnswer SolveExact(const ExactProgram& exact, double seconds, size_t firstColumns,
                         const ManualResetEvent* stop);

// A solve as the solver program takes it on its standard input, and its answer as the program
// writes it; decoding checks every count against the bytes, so damaged input gives nothing.
struct ExactJob {
    ExactProgram exact;
    double seconds = 0;
    size_t firstColumns = 0;
};
std::string EncodeJob(const ExactJob& job);
std::optional<ExactJob> DecodeJob(const std::string& bytes);
std::string EncodeAnswer(const IntegerAnswer& answer);
// The length of an encoded answer with a value for each of the columns.
size_t AnswerBytes(size_t columns);
std::optional<IntegerAnswer> DecodeAnswer(const std::string& bytes);

} // namespace pinsum
