#include "exact/exact_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "exact/candidate_device.h"
#include "exact/exact_search.h"
#include "exact/integer_program.h"
#include "exact/solver_process.h"
#include "host/manual_reset_event.h"
#include "model/cio_equip.h"
#include "model/cio_modul.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "solver/device_configurations.h"

namespace pinsum {
namespace {

// The limits the search's CanAccept applies once a solution holds this many devices.
constexpr int kFreeDevices = 30;
constexpr int kMaxVornetDevices = 30;
constexpr int kKalbusPeripheralsPerController = 64;

bool IsController(const CioPlc* device) {
    return device->deviceType == 0;
}

// Devices the search would never configure: no positions, no capacity, no price, no line.
bool Configurable(const CioPlc* device) {
    return device != nullptr && device->ioCount > 0 && device->price > 0 &&
           !device->lines.entries.empty() &&
           ConfigurationWalk(const_cast<CioPlc*>(device)).Attachable();
}

std::vector<WantedPoints> Wanted(const CioProject& project) {
    std::vector<WantedPoints> wanted;
    for (const CioNode* item : project.effectiveRequest) {
        CioType* kind = item->Kind();
        auto same = std::find_if(wanted.begin(), wanted.end(),
                                 [&](const WantedPoints& w) { return w.kind == kind; });
        // The search's remaining map takes the last item of a kind.
        if (same != wanted.end())
            same->count = item->count;
        else
            wanted.push_back({kind, item->count});
    }
    return wanted;
}

using Terms = std::vector<IntegerProgram::Term>;

void AddCounts(Terms& terms, const CandidateDevice& candidate, double coefficient) {
    for (const int column : candidate.CountColumns())
        terms.push_back({column, coefficient});
}

ExactProgram BuildProgram(std::vector<CandidateDevice>& candidates,
                          const std::vector<WantedPoints>& wanted) {
    int64_t requested = 0;
    for (const WantedPoints& w : wanted)
        requested += w.count;
    // Every further device places a point, so an optimum needs no more of them than points,
    // and one to bridge the two lines and one to open the peripheral bus besides.
    const double most = static_cast<double>(requested + 2);

    ExactProgram exact;
    IntegerProgram& program = exact.program;
    std::vector<Terms> cover(wanted.size());
    for (CandidateDevice& candidate : candidates) {
        const int before = static_cast<int>(program.Columns());
        candidate.AddTo(program, most, cover);
        std::vector<int> added;
        for (int c = before; c < static_cast<int>(program.Columns()); ++c)
            added.push_back(c);
        if (candidate.Root())
            exact.roots.push_back({std::move(added), candidate.CountColumns()});
        else
            exact.further.insert(exact.further.end(), added.begin(), added.end());
    }
    const int bridged = program.AddColumn(0.0, 1.0);
    const int crowded = program.AddColumn(0.0, 1.0);
    exact.switches = {bridged, crowded};

    Terms roots;
    Terms further;
    for (const CandidateDevice& candidate : candidates)
        AddCounts(candidate.Root() ? roots : further, candidate, 1.0);
    program.AddRow(roots, 'E', 1.0);
    program.AddRow(further, 'L', most);
    for (size_t k = 0; k < wanted.size(); ++k)
        program.AddRow(std::move(cover[k]), 'G', wanted[k].count);

    // The lines: a device joins when it shares a line with the devices wired before it. A
    // device on both lines always does; one on a single line needs that line from the root
    // controller or from a device on both lines.
    const auto has = [](const CandidateDevice& c, bool vornet) {
        return (vornet ? c.Device()->HasVornet() : c.Device()->HasKalbus()) != 0;
    };
    Terms terms{{bridged, 1.0}};
    for (const CandidateDevice& c : candidates)
        if (!c.Root() && has(c, true) && has(c, false))
            AddCounts(terms, c, -1.0);
    program.AddRow(terms, 'L', 0.0);
    for (const bool vornet : {true, false}) {
        terms = {{bridged, -most}};
        for (const CandidateDevice& c : candidates) {
            if (c.Root() && has(c, vornet))
                AddCounts(terms, c, -most);
            else if (!c.Root() && has(c, vornet) && !has(c, !vornet))
                AddCounts(terms, c, 1.0);
        }
        program.AddRow(terms, 'L', 0.0);
    }
    // CanAccept refuses nothing to a solution of up to 30 devices; beyond that at most 30 of
    // them are on VORNET and each KALBUS controller takes 64 KALBUS peripherals.
    terms = {{crowded, -most}};
    terms.insert(terms.end(), further.begin(), further.end());
    program.AddRow(terms, 'L', kFreeDevices - 1);
    terms = {{crowded, most + 1}};
    for (const CandidateDevice& c : candidates)
        if (has(c, true))
            AddCounts(terms, c, 1.0);
    program.AddRow(terms, 'L', kMaxVornetDevices + most + 1);
    terms = {{crowded, -most}};
    for (const CandidateDevice& c : candidates)
        if (has(c, false))
            AddCounts(terms, c, IsController(c.Device()) ? kKalbusPeripheralsPerController : -1.0);
    program.AddRow(terms, 'G', -most);
    return exact;
}

struct Placed {
    const CandidateDevice* candidate;
    std::vector<uint32_t> digits;
};

// Equipment in an order the search could have added it: each device shares a line with the
// ones before it, starting from the root controller.
std::vector<Placed> WiringOrder(std::vector<Placed> placed) {
    const auto root = std::find_if(placed.begin(), placed.end(),
                                   [](const Placed& p) { return p.candidate->Root(); });
    std::vector<Placed> order{std::move(*root)};
    placed.erase(root);
    bool vornet = order.front().candidate->Device()->HasVornet() != 0;
    bool kalbus = order.front().candidate->Device()->HasKalbus() != 0;
    while (!placed.empty()) {
        auto next = std::find_if(placed.begin(), placed.end(), [&](const Placed& p) {
            return (vornet && p.candidate->Device()->HasVornet()) ||
                   (kalbus && p.candidate->Device()->HasKalbus());
        });
        // The program's line rows admit no device that cannot be wired.
        if (next == placed.end())
            break;
        vornet = vornet || next->candidate->Device()->HasVornet();
        kalbus = kalbus || next->candidate->Device()->HasKalbus();
        order.push_back(std::move(*next));
        placed.erase(next);
    }
    return order;
}

std::unique_ptr<CioSolution> BuildSolution(const CioProject& project,
                                           const std::vector<Placed>& placed) {
    KindCountMap asked;
    for (const CioNode* item : project.effectiveRequest)
        asked[item->Kind()] = static_cast<uint16_t>(item->count);
    const std::vector<Placed> order = WiringOrder(placed);
    auto solution =
        CioSolution::ForController(order.front().candidate->Device(), project.effectiveRequest);
    for (const Placed& p : order) {
        KindCountMap remaining;
        for (const auto& item : solution->remaining)
            remaining[item->Kind()] = static_cast<uint16_t>(std::max(item->count, 0));
        auto selector = SelectorOn(p.candidate->Walk(), p.digits.data());
        selector->Match(remaining, asked);
        auto equip = std::make_unique<CioEquip>();
        equip->device.object = p.candidate->Device();
        equip->ioCount = selector->coveredTotal;
        const CioModuleSelector& chosen = *selector;
        equip->selectors.push_back(std::move(selector));
        equip->GetPrice();
        solution->Append(std::move(equip));
        solution->ApplySelector(chosen);
        solution->AddLines(p.candidate->Device());
    }
    solution->Compact();
    solution->GetPrice();
    solution->provenCheapest = true;
    return solution;
}

// Without the solver program the solve runs here. CBC's command-line driver keeps state in
// globals, so one such solve runs at a time.
IntegerAnswer SolveHere(const ExactJob& job, const ManualResetEvent* stop) {
    static std::mutex one;
    const std::lock_guard<std::mutex> lock(one);
    return SolveExact(job.exact, job.seconds, job.firstColumns, stop);
}

ExactOutcome OutcomeOf(IntegerAnswer::Status status) {
    switch (status) {
    case IntegerAnswer::Status::Optimal:
        return ExactOutcome::Proven;
    case IntegerAnswer::Status::Infeasible:
        return ExactOutcome::Infeasible;
    case IntegerAnswer::Status::Stopped:
        return ExactOutcome::Stopped;
    case IntegerAnswer::Status::TimedOut:
        return ExactOutcome::TimedOut;
    case IntegerAnswer::Status::Found:
    case IntegerAnswer::Status::Failed:
        break;
    }
    return ExactOutcome::Failed;
}

} // namespace

int64_t ScaledPrice(const CioSolution& solution) {
    int64_t total = 0;
    for (size_t i = 0; i < solution.Count(); ++i) {
        const CioEquip* equip = solution.Equipment(i);
        const CioModuleSelector* chosen = equip != nullptr ? equip->Chosen() : nullptr;
        if (chosen == nullptr)
            continue;
        if (equip->Device() != nullptr)
            total += equip->Device()->listPrice.scaled;
        for (const CioModul* module : chosen->modules)
            if (module != nullptr)
                total += module->listPrice.scaled;
    }
    return total;
}

ExactResult CbcExactStep::Solve(const CioProject& project, const ManualResetEvent* stop) {
    m_walked = 0;
    m_columns = 0;
    ExactResult result;
    const std::vector<WantedPoints> wanted = Wanted(project);

    std::vector<CandidateDevice> candidates;
    const auto collect = [&](const std::vector<CioPlc*>& devices, bool root) {
        for (CioPlc* device : devices) {
            if (!Configurable(device) || (root && !IsController(device)) ||
                std::any_of(candidates.begin(), candidates.end(), [&](const CandidateDevice& c) {
                    return c.Device() == device && c.Root() == root;
                }))
                continue;
            CandidateDevice candidate(device, root);
            if (!candidate.Collect(wanted, stop))
                return false;
            m_walked += candidate.Walked();
            if (candidate.Usable())
                candidates.push_back(std::move(candidate));
        }
        return true;
    };
    if (!collect(project.rootControllers, true) || !collect(project.candidateDevices, false) ||
        (stop != nullptr && stop->IsSet())) {
        result.outcome = ExactOutcome::Stopped;
        return result;
    }
    if (wanted.empty() || std::none_of(candidates.begin(), candidates.end(),
                                       [](const CandidateDevice& c) { return c.Root(); })) {
        result.outcome = ExactOutcome::Infeasible;
        return result;
    }

    const ExactJob job{BuildProgram(candidates, wanted), m_timeLimit, m_firstColumns};
    m_columns = job.exact.program.Columns();
    const std::optional<IntegerAnswer> apart =
        SolveApart(SolverProgram(), EncodeJob(job), AnswerBytes(m_columns), m_timeLimit, stop);
    IntegerAnswer answer = apart ? *apart : SolveHere(job, stop);
    // An answer that does not fit the program is no answer.
    if (answer.status == IntegerAnswer::Status::Optimal && answer.values.size() != m_columns)
        answer.status = IntegerAnswer::Status::Failed;
    result.outcome = OutcomeOf(answer.status);
    if (result.outcome != ExactOutcome::Proven)
        return result;
    std::vector<Placed> placed;
    for (const CandidateDevice& candidate : candidates)
        for (auto& digits : candidate.Configurations(answer.values))
            placed.push_back({&candidate, std::move(digits)});
    result.solution = BuildSolution(project, placed);
    return result;
}

} // namespace pinsum
