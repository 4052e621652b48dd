#include "exact/exact_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>
#include <utility>

#include "host/manual_reset_event.h"

namespace pinsum {
namespace {

// Half the smallest price step: a cutoff this far above a known cost admits that cost only.
constexpr double kHalfUnit = 0.5e-4;
constexpr double kNoCutoff = std::numeric_limits<double>::infinity();

// The solve's processor time left, the measure CBC's own limit uses: a solve at idle priority on
// a busy machine is slowed down, not cut short.
class Deadline {
public:
    explicit Deadline(double seconds) : m_end(Used() + seconds) {}
    double Remaining() const { return m_end - Used(); }

private:
    static double Used() {
        timespec used{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
    }

    double m_end;
};

// One root controller's part of the program: its own columns, the further devices' and the
// switches, with the relaxation of that part.
struct RootPart {
    std::vector<int> own;
    Relaxation relaxation;
};

// The cheapest solution with one root controller, below a cutoff. A further column adds at
// least its excess over the relaxation's bound to a solution's cost, so one whose excess
// exceeds the distance from the bound to the best known cost takes no part in a cheaper
// solution. The columns the relaxation rates best go first; the choice widens until no column
// left out could take part.
IntegerAnswer SolveWithRoot(const ExactProgram& exact, const RootPart& root, double cutoff,
                            size_t firstColumns, const Deadline& deadline) {
    std::vector<int> base(exact.switches);
    base.insert(base.end(), root.own.begin(), root.own.end());
    std::vector<int> order(exact.further);
    const auto solve = [&](std::vector<int> columns, double below, std::vector<double> start) {
        return SolveInteger(exact.program, columns,
                            {deadline.Remaining(), below, std::move(start)});
    };
    const Relaxation& relaxation = root.relaxation;
    if (relaxation.status != Relaxation::Status::Optimal || order.size() <= firstColumns) {
        base.insert(base.end(), order.begin(), order.end());
        return solve(base, cutoff, {});
    }
    const std::vector<double>& excess = relaxation.excess;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return excess[a] < excess[b]; });
    const double floor = relaxation.bound;
    // The relaxation's own rounding errors: a column within this of the limit stays in.
    const double slack = 1e-6 * (1.0 + std::fabs(floor));
    const auto within = [&](double limit) {
        std::vector<int> columns(base);
        for (const int column : order)
            if (excess[column] <= limit + slack)
                columns.push_back(column);
        return columns;
    };
    for (size_t take = std::max<size_t>(firstColumns, 1);;
         take = std::min(order.size(), take * 2)) {
        const double limit = excess[order[take - 1]];
        const std::vector<int> columns = within(limit);
        IntegerAnswer answer = solve(columns, cutoff, {});
        const bool everything = columns.size() == base.size() + order.size();
        if (answer.status == IntegerAnswer::Status::Optimal) {
            if (answer.cost - floor <= limit || everything)
                return answer;
            return solve(within(answer.cost - floor), answer.cost + kHalfUnit, answer.values);
        }
        if (answer.status != IntegerAnswer::Status::Infeasible || everything)
            return answer;
        if (std::isfinite(cutoff))
            return solve(within(cutoff - floor), cutoff, {});
    }
}

// Every root controller with its own relaxation, the most promising first; those whose
// relaxation has no solution are left out.
std::vector<RootPart> RootParts(const ExactProgram& exact) {
    LinearRelaxation relaxation(exact.program);
    std::vector<RootPart> parts;
    for (const RootColumns& root : exact.roots) {
        std::vector<int> others;
        for (const RootColumns& other : exact.roots)
            if (&other != &root)
                others.insert(others.end(), other.all.begin(), other.all.end());
        RootPart part{root.all, relaxation.SolveWithout(others)};
        if (part.relaxation.status != Relaxation::Status::Infeasible)
            parts.push_back(std::move(part));
    }
    const auto bound = [](const RootPart& part) {
        return part.relaxation.status == Relaxation::Status::Optimal
                   ? part.relaxation.bound
                   : -std::numeric_limits<double>::infinity();
    };
    std::stable_sort(parts.begin(), parts.end(),
                     [&](const RootPart& a, const RootPart& b) { return bound(a) < bound(b); });
    return parts;
}

// A solution from a quick solve of one root controller's part, or none.
IntegerAnswer QuickSolution(const ExactProgram& exact, const RootPart& part,
                            const Deadline& deadline) {
    std::vector<int> columns(exact.switches);
    columns.insert(columns.end(), part.own.begin(), part.own.end());
    columns.insert(columns.end(), exact.further.begin(), exact.further.end());
    IntegerLimits limits{deadline.Remaining(), kNoCutoff, {}};
    limits.quick = true;
    return SolveInteger(exact.program, columns, limits);
}

// One root controller after another: with the root fixed the relaxation is close, so CBC
// soon proves that a root offers nothing cheaper than the best solution so far, and a root
// whose relaxation reaches that solution's cost is not tried at all. A quick solve of the most
// promising root gives the first such solution.
} // namespace

IntegerAnswer SolveExact(const ExactProgram& exact, double seconds, size_t firstColumns,
                         const ManualResetEvent* stop) {
    const Deadline deadline(seconds);
    const std::vector<RootPart> parts = RootParts(exact);
    if (parts.empty())
        return {IntegerAnswer::Status::Infeasible, 0, {}};
    // With one root controller the quick solution would only be found again.
    IntegerAnswer best = parts.size() > 1 ? QuickSolution(exact, parts.front(), deadline)
                                          : IntegerAnswer{IntegerAnswer::Status::Infeasible, 0, {}};
    if (best.status != IntegerAnswer::Status::Optimal &&
        best.status != IntegerAnswer::Status::Found)
        best = {IntegerAnswer::Status::Infeasible, 0, {}};
    for (const RootPart& part : parts) {
        const bool found = best.status != IntegerAnswer::Status::Infeasible;
        const double cutoff = found ? best.cost - kHalfUnit : kNoCutoff;
        const Relaxation& relaxation = part.relaxation;
        // The parts come by rising bound: the first that reaches the cutoff, less the
        // relaxation's rounding errors, ends the search.
        if (relaxation.status == Relaxation::Status::Optimal &&
            relaxation.bound - 1e-6 * (1.0 + std::fabs(relaxation.bound)) >= cutoff)
            break;
        if (stop != nullptr && stop->IsSet())
            return {IntegerAnswer::Status::Stopped, 0, {}};
        IntegerAnswer answer = SolveWithRoot(exact, part, cutoff, firstColumns, deadline);
        if (answer.status == IntegerAnswer::Status::Optimal && (!found || answer.cost < best.cost))
            best = std::move(answer);
        else if (answer.status != IntegerAnswer::Status::Infeasible)
            return answer;
    }
    // Every root has been ruled out below the best cost, so the quick solution is the cheapest.
    if (best.status == IntegerAnswer::Status::Found)
        best.status = IntegerAnswer::Status::Optimal;
    return best;
}

namespace {

constexpr char kJobMark[4] = {'P', 'X', 'J', '1'};
constexpr char kAnswerMark[4] = {'P', 'X', 'A', '1'};

class Writer {
public:
    template <class T> void Put(const T& value) {
        const char* bytes = reinterpret_cast<const char*>(&value);
        m_bytes.append(bytes, sizeof value);
    }
    template <class T> void PutAll(const std::vector<T>& values) {
        Put<uint64_t>(values.size());
        for (const T& value : values)
            Put(value);
    }
    std::string Bytes() && { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
    template <class T> bool Get(T& value) {
        if (m_bytes.size() - m_at < sizeof value)
            return false;
        std::memcpy(&value, m_bytes.data() + m_at, sizeof value);
        m_at += sizeof value;
        return true;
    }
    template <class T> bool GetAll(std::vector<T>& values) {
        uint64_t count = 0;
        if (!Get(count) || count > (m_bytes.size() - m_at) / sizeof(T))
            return false;
        values.resize(count);
        for (T& value : values)
            if (!Get(value))
                return false;
        return true;
    }
    bool Mark(const char (&mark)[4]) {
        char seen[4];
        return Get(seen) && std::memcmp(seen, mark, sizeof seen) == 0;
    }
    bool AtEnd() const { return m_at == m_bytes.size(); }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
};

bool ColumnsWithin(const std::vector<int>& columns, size_t count) {
    return std::all_of(columns.begin(), columns.end(),
                       [&](int c) { return c >= 0 && static_cast<size_t>(c) < count; });
}

} // namespace

std::string EncodeJob(const ExactJob& job) {
    Writer out;
    out.Put(kJobMark);
    out.Put(job.seconds);
    out.Put<uint64_t>(job.firstColumns);
    const IntegerProgram& program = job.exact.program;
    out.Put<uint64_t>(program.Columns());
    for (size_t c = 0; c < program.Columns(); ++c) {
        out.Put(program.Cost(c));
        out.Put(program.Upper(c));
    }
    out.Put<uint64_t>(program.Rows().size());
    for (const IntegerProgram::Row& row : program.Rows()) {
        out.Put(row.sense);
        out.Put(row.rhs);
        out.PutAll(row.terms);
    }
    out.Put<uint64_t>(job.exact.roots.size());
    for (const RootColumns& root : job.exact.roots) {
        out.PutAll(root.all);
        out.PutAll(root.counts);
    }
    out.PutAll(job.exact.further);
    out.PutAll(job.exact.switches);
    return std::move(out).Bytes();
}

std::optional<ExactJob> DecodeJob(const std::string& bytes) {
    Reader in(bytes);
    ExactJob job;
    uint64_t first = 0;
    uint64_t columns = 0;
    if (!in.Mark(kJobMark) || !in.Get(job.seconds) || !in.Get(first) || !in.Get(columns) ||
        columns > bytes.size())
        return std::nullopt;
    job.firstColumns = first;
    for (uint64_t c = 0; c < columns; ++c) {
        double cost = 0;
        double upper = 0;
        if (!in.Get(cost) || !in.Get(upper))
            return std::nullopt;
        job.exact.program.AddColumn(cost, upper);
    }
    uint64_t rows = 0;
    if (!in.Get(rows) || rows > bytes.size())
        return std::nullopt;
    for (uint64_t r = 0; r < rows; ++r) {
        char sense = 0;
        double rhs = 0;
        std::vector<IntegerProgram::Term> terms;
        if (!in.Get(sense) || !in.Get(rhs) || !in.GetAll(terms) ||
            (sense != 'L' && sense != 'G' && sense != 'E') ||
            !std::all_of(terms.begin(), terms.end(), [&](const IntegerProgram::Term& t) {
                return t.column >= 0 && static_cast<uint64_t>(t.column) < columns;
            }))
            return std::nullopt;
        job.exact.program.AddRow(std::move(terms), sense, rhs);
    }
    uint64_t roots = 0;
    if (!in.Get(roots) || roots > bytes.size())
        return std::nullopt;
    job.exact.roots.resize(roots);
    for (RootColumns& root : job.exact.roots)
        if (!in.GetAll(root.all) || !in.GetAll(root.counts) || !ColumnsWithin(root.all, columns) ||
            !ColumnsWithin(root.counts, columns))
            return std::nullopt;
    if (!in.GetAll(job.exact.further) || !in.GetAll(job.exact.switches) || !in.AtEnd() ||
        !ColumnsWithin(job.exact.further, columns) || !ColumnsWithin(job.exact.switches, columns))
        return std::nullopt;
    return job;
}

std::string EncodeAnswer(const IntegerAnswer& answer) {
    Writer out;
    out.Put(kAnswerMark);
    out.Put(static_cast<int32_t>(answer.status));
    out.Put(answer.cost);
    out.PutAll(answer.values);
    return std::move(out).Bytes();
}

size_t AnswerBytes(size_t columns) {
    return sizeof kAnswerMark + sizeof(int32_t) + sizeof(IntegerAnswer::cost) + sizeof(uint64_t) +
           columns * sizeof(double);
}

std::optional<IntegerAnswer> DecodeAnswer(const std::string& bytes) {
    Reader in(bytes);
    IntegerAnswer answer;
    int32_t status = 0;
    if (!in.Mark(kAnswerMark) || !in.Get(status) || !in.Get(answer.cost) ||
        !in.GetAll(answer.values) || !in.AtEnd() || status < 0 ||
        status > static_cast<int32_t>(IntegerAnswer::Status::Failed))
        return std::nullopt;
    answer.status = static_cast<IntegerAnswer::Status>(status);
    return answer;
}

} // namespace pinsum
