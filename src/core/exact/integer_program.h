#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <vector>

namespace pinsum {

// A minimisation over whole-number columns and a few rows, held apart from any solver so that
// its linear relaxation can be solved whole and its integer program over a part of the columns.
class IntegerProgram {
public:
    struct Term {
        int column;
        double coefficient;
    };
    struct Row {
        std::vector<Term> terms;
        char sense; // 'L' (at most), 'G' (at least) or 'E'
        double rhs;
    };

    int AddColumn(double cost, double upper);
    void AddRow(std::vector<Term> terms, char sense, double rhs);

    size_t Columns() const { return m_cost.size(); }
    double Cost(size_t column) const { return m_cost[column]; }
    double Upper(size_t column) const { return m_upper[column]; }
    const std::vector<Row>& Rows() const { return m_rows; }

private:
    std::vector<double> m_cost;
    std::vector<double> m_upper;
    std::vector<Row> m_rows;
};

// The linear relaxation: its optimum bounds every whole-number solution from below, and a
// column whose reduced cost exceeds the distance from that bound to a known solution's cost
// can take no part in a cheaper one.
struct Relaxation {
    enum class Status { Optimal, Infeasible, Unsolved };
    Status status = Status::Unsolved;
    double bound = 0;
    // Per column: how much each unit of it adds to any solution's cost beyond the bound.
    std::vector<double> excess;
};

// The program's linear relaxation held by Clp, to be solved again and again with some columns
// fixed at zero; each solve starts from the last one's basis.
class LinearRelaxation {
public:
    explicit LinearRelaxation(const IntegerProgram& program);
    ~LinearRelaxation();
    LinearRelaxation(const LinearRelaxation&) = delete;
    LinearRelaxation& operator=(const LinearRelaxation&) = delete;

    Relaxation SolveWithout(const std::vector<int>& zeroColumns);

private:
    struct Model;
    std::unique_ptr<Model> m_model;
    std::vector<double> m_upper;
    bool m_solved = false;
};

struct IntegerAnswer {
    // Found: a solution of a quick solve, not proven the cheapest. Failed: the solver ended
    // without an answer.
    enum class Status { Optimal, Found, Infeasible, Stopped, TimedOut, Failed };
    Status status = Status::TimedOut;
    double cost = 0;
    // Per column of the whole program; columns left out are zero.
    std::vector<double> values;
};

struct IntegerLimits {
    double seconds = 0;
    // Only solutions costing less are looked for; infinity: any.
    double cutoff = std::numeric_limits<double>::infinity();
    // A known solution over the whole program's columns, or empty.
    std::vector<double> start;
    // Only the root node with a single round of cuts: a first solution, fast.
    bool quick = false;
};

// Solves the integer program restricted to the given columns (the others fixed at zero) with
// CBC.
IntegerAnswer SolveInteger(const IntegerProgram& program, const std::vector<int>& columns,
                           const IntegerLimits& limits);

} // namespace pinsum
