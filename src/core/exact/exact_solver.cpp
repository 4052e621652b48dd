#include "exact/exact_solver.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <Cbc_C_Interface.h>

#include "host/manual_reset_event.h"
#include "model/cio_equip.h"
#include "model/cio_modul.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "solver/configuration_walk.h"
#include "solver/device_configurations.h"

namespace pinsum {
namespace {

// The limits the search's CanAccept applies once a solution holds this many devices.
constexpr int kFreeDevices = 30;
constexpr int kMaxVornetDevices = 30;
constexpr int kKalbusPeripheralsPerController = 64;

struct Wanted {
    CioType* kind;
    int32_t count;
};

// One configuration of a device: its digits, its price with the device's own, and the points
// it places of each wanted kind, capped at the wanted count.
struct Option {
    std::vector<uint32_t> digits;
    int64_t price = 0;
    std::vector<int32_t> places;
};

struct Candidate {
    CioPlc* device = nullptr;
    std::unique_ptr<ConfigurationWalk> walk;
    std::vector<Option> options;
};

bool IsController(const CioPlc* device) {
    return device->deviceType == 0;
}

// Devices the search would never configure: no positions, no capacity, no price, no line.
bool Configurable(const CioPlc* device) {
    return device != nullptr && device->ioCount > 0 && device->price > 0 &&
           !device->lines.entries.empty() &&
           ConfigurationWalk(const_cast<CioPlc*>(device)).Attachable();
}

std::vector<Wanted> WantedPoints(const CioProject& project) {
    std::vector<Wanted> wanted;
    for (const CioNode* item : project.effectiveRequest) {
        CioType* kind = item->Kind();
        auto same = std::find_if(wanted.begin(), wanted.end(),
                                 [&](const Wanted& w) { return w.kind == kind; });
        // The search's remaining map takes the last item of a kind.
        if (same != wanted.end())
            same->count = item->count;
        else
            wanted.push_back({kind, item->count});
    }
    return wanted;
}

// Drops every option that another one of the device beats or equals: no dearer and placing
// at least as many points of every wanted kind. The first of equal options stays.
std::vector<Option> Undominated(std::vector<Option> options) {
    std::stable_sort(options.begin(), options.end(), [](const Option& a, const Option& b) {
        if (a.price != b.price)
            return a.price < b.price;
        int64_t sa = 0;
        int64_t sb = 0;
        for (size_t k = 0; k < a.places.size(); ++k) {
            sa += a.places[k];
            sb += b.places[k];
        }
        return sa > sb;
    });
    std::vector<Option> kept;
    for (Option& option : options) {
        const bool beaten = std::any_of(kept.begin(), kept.end(), [&](const Option& other) {
            for (size_t k = 0; k < option.places.size(); ++k)
                if (other.places[k] < option.places[k])
                    return false;
            return true;
        });
        if (!beaten)
            kept.push_back(std::move(option));
    }
    return kept;
}

// Walks the device's valid configurations usable for the request: a configuration offering a
// required kind that is not wanted is not. A further device must place some point; a root
// controller may stand alone. False when the stop event ended the walk.
bool CollectOptions(Candidate& candidate, const std::vector<Wanted>& wanted, bool root,
                    const ManualResetEvent* stop, size_t& usable) {
    const ConfigurationWalk& walk = *candidate.walk;
    std::vector<int> column(wanted.size(), -1);
    for (size_t c = 0; c < walk.KindCount(); ++c)
        for (size_t k = 0; k < wanted.size(); ++k)
            if (walk.Kind(c) == wanted[k].kind)
                column[k] = static_cast<int>(c);
    std::vector<size_t> refused;
    for (size_t j = 0; j < walk.RequiredCount(); ++j) {
        const CioType* kind = walk.Kind(walk.RequiredColumn(j));
        if (std::none_of(wanted.begin(), wanted.end(),
                         [&](const Wanted& w) { return w.kind == kind; }))
            refused.push_back(walk.KindCount() + j);
    }
    const int64_t devicePrice = candidate.device->listPrice.scaled;
    // Equal prices and placements collapse into the first such configuration at once, which
    // keeps the dominance filter's input small.
    std::map<std::pair<int64_t, std::vector<int32_t>>, size_t> seen;
    std::vector<Option> options;
    std::vector<int32_t> places(wanted.size());
    const bool complete = walk.Run(
        [&](const uint32_t* digits, int64_t scaledPrice, const int32_t* row) {
            for (const size_t c : refused)
                if (row[c] != 0)
                    return true;
            bool any = false;
            for (size_t k = 0; k < wanted.size(); ++k) {
                places[k] = column[k] < 0 ? 0 : std::min(row[column[k]], wanted[k].count);
                any = any || places[k] > 0;
            }
            if (!any && !root)
                return true;
            ++usable;
            const int64_t price = scaledPrice + devicePrice;
            if (seen.emplace(std::make_pair(price, places), options.size()).second)
                options.push_back(
                    {std::vector<uint32_t>(digits, digits + walk.Positions()), price, places});
            return true;
        },
        stop);
    candidate.options = Undominated(std::move(options));
    return complete;
}

// Adds the stop event to CBC's cut loop: once it is set, every node gets a cut no point
// satisfies, so the solve ends at the next node instead of running to its time limit.
struct StopWatch {
    const ManualResetEvent* stop;
};

void COINLINKAGE_CB StopCut(void* solver, void* cuts, void* data) {
    const auto* watch = static_cast<const StopWatch*>(data);
    if (watch->stop == nullptr || !watch->stop->IsSet() || Osi_getNumCols(solver) == 0)
        return;
    const int column = 0;
    const double coefficient = 1.0;
    OsiCuts_addRowCut(cuts, 1, &column, &coefficient, 'G', Osi_getColUpper(solver)[0] + 1.0);
}

// CBC's command-line driver keeps state in globals, so one solve runs at a time.
std::mutex& CbcLock() {
    static std::mutex lock;
    return lock;
}

class Program {
public:
    Program() : m_model(Cbc_newModel()) {}
    ~Program() { Cbc_deleteModel(m_model); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Every column is a whole number: a choice or a count of devices.
    int Column(double cost, double upper) {
        Cbc_addCol(m_model, ("c" + std::to_string(m_columns)).c_str(), 0.0, upper, cost, 1, 0,
                   nullptr, nullptr);
        return m_columns++;
    }
    void Row(const std::vector<std::pair<int, double>>& terms, char sense, double rhs) {
        std::vector<int> columns;
        std::vector<double> coefficients;
        for (const auto& [column, coefficient] : terms)
            if (coefficient != 0) {
                columns.push_back(column);
                coefficients.push_back(coefficient);
            }
        Cbc_addRow(m_model, ("r" + std::to_string(m_rows++)).c_str(),
                   static_cast<int>(columns.size()), columns.data(), coefficients.data(), sense,
                   rhs);
    }
    Cbc_Model* Model() const { return m_model; }

private:
    Cbc_Model* m_model;
    int m_columns = 0;
    int m_rows = 0;
};

struct Placed {
    Candidate* candidate;
    const Option* option;
};

// Equipment in an order the search could have added it: each device shares a line with the
// ones before it, starting from the root controller.
std::vector<Placed> WiringOrder(std::vector<Placed> placed) {
    std::vector<Placed> order{placed.front()};
    placed.erase(placed.begin());
    bool vornet = order.front().candidate->device->HasVornet() != 0;
    bool kalbus = order.front().candidate->device->HasKalbus() != 0;
    while (!placed.empty()) {
        auto next = std::find_if(placed.begin(), placed.end(), [&](const Placed& p) {
            return (vornet && p.candidate->device->HasVornet()) ||
                   (kalbus && p.candidate->device->HasKalbus());
        });
        // The program's line rows admit no device that cannot be wired.
        if (next == placed.end())
            break;
        vornet = vornet || next->candidate->device->HasVornet();
        kalbus = kalbus || next->candidate->device->HasKalbus();
        order.push_back(*next);
        placed.erase(next);
    }
    return order;
}

std::unique_ptr<CioSolution> BuildSolution(const CioProject& project,
                                           const std::vector<Placed>& placed) {
    KindCountMap asked;
    for (const CioNode* item : project.effectiveRequest)
        asked[item->Kind()] = static_cast<uint16_t>(item->count);
    auto solution =
        CioSolution::ForController(placed.front().candidate->device, project.effectiveRequest);
    for (const Placed& p : WiringOrder(placed)) {
        KindCountMap remaining;
        for (const auto& item : solution->remaining)
            remaining[item->Kind()] = static_cast<uint16_t>(std::max(item->count, 0));
        auto selector = SelectorOn(*p.candidate->walk, p.option->digits.data());
        selector->Match(remaining, asked);
        auto equip = std::make_unique<CioEquip>();
        equip->device.object = p.candidate->device;
        equip->ioCount = selector->coveredTotal;
        const CioModuleSelector& chosen = *selector;
        equip->selectors.push_back(std::move(selector));
        equip->GetPrice();
        solution->Append(std::move(equip));
        solution->ApplySelector(chosen);
        solution->AddLines(p.candidate->device);
    }
    solution->Compact();
    solution->GetPrice();
    solution->provenCheapest = true;
    return solution;
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
    m_usable = 0;
    m_kept = 0;
    ExactResult result;
    const auto stopped = [&] { return stop != nullptr && stop->IsSet(); };
    const std::vector<Wanted> wanted = WantedPoints(project);

    std::vector<Candidate> roots;
    std::vector<Candidate> further;
    const auto collect = [&](const std::vector<CioPlc*>& devices, bool root,
                             std::vector<Candidate>& into) {
        for (CioPlc* device : devices) {
            if (!Configurable(device) || (root && !IsController(device)) ||
                std::any_of(into.begin(), into.end(),
                            [&](const Candidate& c) { return c.device == device; }))
                continue;
            Candidate candidate{device, std::make_unique<ConfigurationWalk>(device), {}};
            if (!CollectOptions(candidate, wanted, root, stop, m_usable))
                return false;
            m_kept += candidate.options.size();
            if (!candidate.options.empty())
                into.push_back(std::move(candidate));
        }
        return true;
    };
    if (!collect(project.rootControllers, true, roots) ||
        !collect(project.candidateDevices, false, further) || stopped()) {
        result.outcome = ExactOutcome::Stopped;
        return result;
    }
    if (roots.empty() || wanted.empty()) {
        result.outcome = ExactOutcome::Infeasible;
        return result;
    }

    int64_t requested = 0;
    for (const Wanted& w : wanted)
        requested += w.count;
    // Every further device places a point, so an optimum needs no more of them than points,
    // and one to bridge the two lines and one to open the peripheral bus besides.
    const double most = static_cast<double>(requested + 2);

    Program program;
    struct Variable {
        Candidate* candidate;
        const Option* option;
        int column;
    };
    std::vector<Variable> rootVars;
    std::vector<Variable> furtherVars;
    for (Candidate& c : roots)
        for (const Option& o : c.options)
            rootVars.push_back(
                {&c, &o, program.Column(static_cast<double>(o.price) / 10000.0, 1.0)});
    for (Candidate& c : further)
        for (const Option& o : c.options)
            furtherVars.push_back(
                {&c, &o, program.Column(static_cast<double>(o.price) / 10000.0, most)});
    const int bridged = program.Column(0.0, 1.0);
    const int crowded = program.Column(0.0, 1.0);

    std::vector<std::pair<int, double>> terms;
    for (const Variable& v : rootVars)
        terms.emplace_back(v.column, 1.0);
    program.Row(terms, 'E', 1.0);
    terms.clear();
    for (const Variable& v : furtherVars)
        terms.emplace_back(v.column, 1.0);
    program.Row(terms, 'L', most);
    for (size_t k = 0; k < wanted.size(); ++k) {
        terms.clear();
        for (const auto* vars : {&rootVars, &furtherVars})
            for (const Variable& v : *vars)
                terms.emplace_back(v.column, v.option->places[k]);
        program.Row(terms, 'G', wanted[k].count);
    }
    // The lines: a device joins when it shares a line with the devices wired before it. A
    // device on both lines always does; one on a single line needs that line from the root
    // controller or from a device on both lines.
    const auto has = [](const Variable& v, bool vornet) {
        const CioPlc* d = v.candidate->device;
        return (vornet ? d->HasVornet() : d->HasKalbus()) != 0;
    };
    terms = {{bridged, 1.0}};
    for (const Variable& v : furtherVars)
        if (has(v, true) && has(v, false))
            terms.emplace_back(v.column, -1.0);
    program.Row(terms, 'L', 0.0);
    for (const bool vornet : {true, false}) {
        terms = {{bridged, -most}};
        for (const Variable& v : furtherVars)
            if (has(v, vornet) && !has(v, !vornet))
                terms.emplace_back(v.column, 1.0);
        for (const Variable& v : rootVars)
            if (has(v, vornet))
                terms.emplace_back(v.column, -most);
        program.Row(terms, 'L', 0.0);
    }
    // CanAccept refuses nothing to a solution of up to 30 devices; beyond that at most 30 of
    // them are on VORNET and each KALBUS controller takes 64 KALBUS peripherals.
    terms = {{crowded, -most}};
    for (const Variable& v : furtherVars)
        terms.emplace_back(v.column, 1.0);
    program.Row(terms, 'L', kFreeDevices - 1);
    terms = {{crowded, most + 1}};
    for (const auto* vars : {&rootVars, &furtherVars})
        for (const Variable& v : *vars)
            if (has(v, true))
                terms.emplace_back(v.column, 1.0);
    program.Row(terms, 'L', kMaxVornetDevices + most + 1);
    terms = {{crowded, -most}};
    for (const auto* vars : {&rootVars, &furtherVars})
        for (const Variable& v : *vars)
            if (has(v, false))
                terms.emplace_back(v.column, IsController(v.candidate->device)
                                                 ? kKalbusPeripheralsPerController
                                                 : -1.0);
    program.Row(terms, 'G', -most);

    Cbc_Model* model = program.Model();
    Cbc_setLogLevel(model, 0);
    Cbc_setParameter(model, "log", "0");
    Cbc_setMaximumSeconds(model, m_timeLimit);
    // Prices are whole ten-thousandths: a gap below one of them proves the optimum.
    Cbc_setAllowableGap(model, 1e-5);
    Cbc_setAllowableFractionGap(model, 0.0);
    StopWatch watch{stop};
    Cbc_addCutCallback(model, StopCut, "stop", &watch);
    {
        const std::lock_guard<std::mutex> lock(CbcLock());
        if (stopped()) {
            result.outcome = ExactOutcome::Stopped;
            return result;
        }
        Cbc_solve(model);
    }
    if (stopped()) {
        result.outcome = ExactOutcome::Stopped;
        return result;
    }
    if (Cbc_isProvenInfeasible(model)) {
        result.outcome = ExactOutcome::Infeasible;
        return result;
    }
    if (!Cbc_isProvenOptimal(model)) {
        result.outcome = ExactOutcome::TimedOut;
        return result;
    }
    const double* values = Cbc_getColSolution(model);
    std::vector<Placed> placed;
    for (const Variable& v : rootVars)
        if (std::lround(values[v.column]) == 1)
            placed.push_back({v.candidate, v.option});
    for (const Variable& v : furtherVars)
        for (long n = std::lround(values[v.column]); n > 0; --n)
            placed.push_back({v.candidate, v.option});
    result.solution = BuildSolution(project, placed);
    result.outcome = ExactOutcome::Proven;
    return result;
}

} // namespace pinsum
