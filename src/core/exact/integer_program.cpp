#include "exact/integer_program.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include <Cbc_C_Interface.h>
#include <Clp_C_Interface.h>

namespace pinsum {
namespace {

struct Bounds {
    double lower;
    double upper;
};

Bounds RowBounds(const IntegerProgram::Row& row) {
    const double inf = std::numeric_limits<double>::infinity();
    switch (row.sense) {
    case 'L':
        return {-inf, row.rhs};
    case 'G':
        return {row.rhs, inf};
    default:
        return {row.rhs, row.rhs};
    }
}

} // namespace

int IntegerProgram::AddColumn(double cost, double upper) {
    m_cost.push_back(cost);
    m_upper.push_back(upper);
    return static_cast<int>(m_cost.size() - 1);
}

void IntegerProgram::AddRow(std::vector<Term> terms, char sense, double rhs) {
    terms.erase(std::remove_if(terms.begin(), terms.end(),
                               [](const Term& t) { return t.coefficient == 0; }),
                terms.end());
    m_rows.push_back({std::move(terms), sense, rhs});
}

struct LinearRelaxation::Model {
    Clp_Simplex* lp = Clp_newModel();
    ~Model() { Clp_deleteModel(lp); }
};

LinearRelaxation::LinearRelaxation(const IntegerProgram& program)
    : m_model(std::make_unique<Model>()) {
    const size_t columns = program.Columns();
    const auto& rows = program.Rows();
    std::vector<int> start(columns + 1, 0);
    for (const auto& row : rows)
        for (const auto& term : row.terms)
            ++start[term.column + 1];
    for (size_t c = 0; c < columns; ++c)
        start[c + 1] += start[c];
    std::vector<int> index(start.back());
    std::vector<double> value(start.back());
    std::vector<int> next(start.begin(), start.end() - 1);
    for (size_t r = 0; r < rows.size(); ++r)
        for (const auto& term : rows[r].terms) {
            index[next[term.column]] = static_cast<int>(r);
            value[next[term.column]++] = term.coefficient;
        }
    std::vector<double> lower(columns, 0.0);
    std::vector<double> cost(columns);
    for (size_t c = 0; c < columns; ++c) {
        m_upper.push_back(program.Upper(c));
        cost[c] = program.Cost(c);
    }
    std::vector<double> rowLower;
    std::vector<double> rowUpper;
    for (const auto& row : rows) {
        const Bounds bounds = RowBounds(row);
        rowLower.push_back(bounds.lower);
        rowUpper.push_back(bounds.upper);
    }
    Clp_setLogLevel(m_model->lp, 0);
    Clp_loadProblem(m_model->lp, static_cast<int>(columns), static_cast<int>(rows.size()),
                    start.data(), index.data(), value.data(), lower.data(), m_upper.data(),
                    cost.data(), rowLower.data(), rowUpper.data());
}

LinearRelaxation::~LinearRelaxation() = default;

Relaxation LinearRelaxation::SolveWithout(const std::vector<int>& zeroColumns) {
    Clp_Simplex* lp = m_model->lp;
    double* upper = Clp_columnUpper(lp);
    std::copy(m_upper.begin(), m_upper.end(), upper);
    for (const int column : zeroColumns)
        upper[column] = 0.0;
    if (m_solved)
        Clp_dual(lp, 0);
    else
        Clp_initialSolve(lp);
    m_solved = true;
    Relaxation relaxation;
    if (Clp_isProvenPrimalInfeasible(lp)) {
        relaxation.status = Relaxation::Status::Infeasible;
        return relaxation;
    }
    if (!Clp_isProvenOptimal(lp))
        return relaxation;
    relaxation.status = Relaxation::Status::Optimal;
    relaxation.bound = Clp_objectiveValue(lp);
    const double* reduced = Clp_getReducedCost(lp);
    relaxation.excess.assign(reduced, reduced + m_upper.size());
    for (double& excess : relaxation.excess)
        excess = std::max(excess, 0.0);
    return relaxation;
}

IntegerAnswer SolveInteger(const IntegerProgram& program, const std::vector<int>& columns,
                           const IntegerLimits& limits) {
    IntegerAnswer answer;
    std::vector<int> position(program.Columns(), -1);
    const std::unique_ptr<Cbc_Model, void (*)(Cbc_Model*)> model(Cbc_newModel(), Cbc_deleteModel);
    for (const int column : columns) {
        position[column] = Cbc_getNumCols(model.get());
        Cbc_addCol(model.get(), ("c" + std::to_string(column)).c_str(), 0.0, program.Upper(column),
                   program.Cost(column), 1, 0, nullptr, nullptr);
    }
    int rowNumber = 0;
    for (const auto& row : program.Rows()) {
        std::vector<int> index;
        std::vector<double> value;
        for (const auto& term : row.terms)
            if (position[term.column] >= 0) {
                index.push_back(position[term.column]);
                value.push_back(term.coefficient);
            }
        Cbc_addRow(model.get(), ("r" + std::to_string(rowNumber++)).c_str(),
                   static_cast<int>(index.size()), index.data(), value.data(), row.sense, row.rhs);
    }
    if (!limits.start.empty()) {
        std::vector<int> index;
        std::vector<double> value;
        for (const int column : columns) {
            index.push_back(position[column]);
            value.push_back(limits.start[column]);
        }
        Cbc_setMIPStartI(model.get(), static_cast<int>(index.size()), index.data(), value.data());
    }
    if (std::isfinite(limits.cutoff))
        Cbc_setCutoff(model.get(), limits.cutoff);
    Cbc_setLogLevel(model.get(), 0);
    Cbc_setMaximumSeconds(model.get(), std::max(limits.seconds, 0.01));
    // Costs are whole ten-thousandths: a gap below one of them proves the optimum.
    Cbc_setParameter(model.get(), "log", "0");
    Cbc_setAllowableGap(model.get(), 1e-5);
    Cbc_setAllowableFractionGap(model.get(), 0.0);
    if (limits.quick) {
        Cbc_setMaximumNodes(model.get(), 0);
        Cbc_setParameter(model.get(), "passC", "1");
    }
    Cbc_solve(model.get());
    if (Cbc_isProvenInfeasible(model.get()))
        answer.status = IntegerAnswer::Status::Infeasible;
    else if (Cbc_isProvenOptimal(model.get()))
        answer.status = IntegerAnswer::Status::Optimal;
    else if (limits.quick && Cbc_bestSolution(model.get()) != nullptr)
        answer.status = IntegerAnswer::Status::Found;
    else if (!limits.quick && !Cbc_isSecondsLimitReached(model.get()))
        answer.status = IntegerAnswer::Status::Failed;
    if (answer.status != IntegerAnswer::Status::Optimal &&
        answer.status != IntegerAnswer::Status::Found)
        return answer;
    const double* values = Cbc_bestSolution(model.get());
    answer.values.assign(program.Columns(), 0.0);
    for (const int column : columns)
        answer.values[column] = std::round(values[position[column]]);
    answer.cost = 0;
    for (size_t c = 0; c < program.Columns(); ++c)
        answer.cost += answer.values[c] * program.Cost(c);
    return answer;
}

} // namespace pinsum
