#include "exact/candidate_device.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"

namespace pinsum {

// One choice of a position: its price and what it places of each wanted kind, capped at the
// wanted count.
struct CandidateDevice::Choice {
    uint32_t digit = 0;
    int64_t price = 0;
    std::vector<int32_t> places;
    bool empty = false;
    bool useful = false;
};

// The devices whose first position placing a wanted point is `first`: every position below it
// takes a choice placing none. The root controller, which may place nothing, has the one
// layout with `first` -1.
struct CandidateDevice::Layout {
    int first = -1;
    // Per position, the indices of the choices the layout may take there.
    std::vector<std::vector<size_t>> allowed;
    int count = -1;
    // Per position, the column of each allowed choice.
    std::vector<std::vector<int>> columns;
};

struct CandidateDevice::Option {
    std::vector<uint32_t> digits;
    int64_t price = 0;
    std::vector<int32_t> places;
    int column = -1;
};

namespace {

double CostOf(int64_t scaled) {
    return static_cast<double>(scaled) / 10000.0;
}

// The items of `indices` that no other beats or equals: no dearer and placing at least as
// many points of every wanted kind. The first of equal items stays.
template <class Item>
std::vector<size_t> Undominated(const std::vector<Item>& items, std::vector<size_t> indices) {
    const auto total = [&](size_t i) {
        int64_t sum = 0;
        for (const int32_t n : items[i].places)
            sum += n;
        return sum;
    };
    std::stable_sort(indices.begin(), indices.end(), [&](size_t a, size_t b) {
        if (items[a].price != items[b].price)
            return items[a].price < items[b].price;
        return total(a) > total(b);
    });
    std::vector<size_t> kept;
    for (const size_t i : indices) {
        const bool beaten = std::any_of(kept.begin(), kept.end(), [&](size_t k) {
            for (size_t w = 0; w < items[i].places.size(); ++w)
                if (items[k].places[w] < items[i].places[w])
                    return false;
            return true;
        });
        if (!beaten)
            kept.push_back(i);
    }
    return kept;
}

// Required kinds the device can offer that the request does not ask for.
std::vector<CioType*> RefusedKinds(const ConfigurationWalk& walk,
                                   const std::vector<WantedPoints>& wanted) {
    std::vector<CioType*> refused;
    for (size_t j = 0; j < walk.RequiredCount(); ++j) {
        CioType* kind = walk.Kind(walk.RequiredColumn(j));
        if (std::none_of(wanted.begin(), wanted.end(),
                         [&](const WantedPoints& w) { return w.kind == kind; }))
            refused.push_back(kind);
    }
    return refused;
}

bool HasExclusions(const ConfigurationWalk& walk) {
    for (size_t p = 0; p < walk.Positions(); ++p)
        for (uint32_t d = 0; d < walk.ChoiceCount(p); ++d) {
            const PositionChoice& choice = walk.Choice(p, d);
            if (!choice.empty && !choice.variant->ruleCounts.Empty())
                return true;
        }
    return false;
}

} // namespace

CandidateDevice::CandidateDevice(CioPlc* device, bool root)
    : m_device(device), m_root(root), m_walk(std::make_unique<ConfigurationWalk>(device)) {}

CandidateDevice::~CandidateDevice() = default;
CandidateDevice::CandidateDevice(CandidateDevice&&) noexcept = default;
CandidateDevice& CandidateDevice::operator=(CandidateDevice&&) noexcept = default;

bool CandidateDevice::Collect(const std::vector<WantedPoints>& wanted,
                              const ManualResetEvent* stop) {
    m_byPositions = !HasExclusions(*m_walk);
    if (m_byPositions)
        return CollectChoices(wanted);
    return CollectOptions(wanted, stop);
}

bool CandidateDevice::Usable() const {
    return m_byPositions ? !m_layouts.empty() : !m_options.empty();
}

bool CandidateDevice::CollectChoices(const std::vector<WantedPoints>& wanted) {
    const ConfigurationWalk& walk = *m_walk;
    // The walk has no positions when one of the device's positions can take no module: the
    // device has no configuration at all.
    if (walk.Positions() == 0)
        return true;
    const std::vector<CioType*> refused = RefusedKinds(walk, wanted);
    const size_t positions = walk.Positions();
    m_choices.assign(positions, {});
    for (size_t p = 0; p < positions; ++p)
        for (uint32_t d = 0; d < walk.ChoiceCount(p); ++d) {
            const PositionChoice& source = walk.Choice(p, d);
            const auto& offered = source.variant->kindCounts;
            if (std::any_of(refused.begin(), refused.end(),
                            [&](CioType* kind) { return offered.Contains(kind); }))
                continue;
            Choice choice;
            choice.digit = d;
            choice.price = source.scaledPrice;
            choice.empty = source.empty;
            for (const WantedPoints& w : wanted) {
                const uint16_t* n = offered.Find(w.kind);
                choice.places.push_back(n == nullptr ? 0 : std::min<int32_t>(*n, w.count));
                choice.useful = choice.useful || choice.places.back() > 0;
            }
            m_choices[p].push_back(std::move(choice));
        }

    const auto select = [&](size_t p, auto&& keep) {
        std::vector<size_t> indices;
        for (size_t i = 0; i < m_choices[p].size(); ++i)
            if (keep(m_choices[p][i]))
                indices.push_back(i);
        return Undominated(m_choices[p], std::move(indices));
    };
    const auto layout = [&](int first) {
        Layout l;
        l.first = first;
        for (size_t p = 0; p < positions; ++p) {
            const int at = static_cast<int>(p);
            std::vector<size_t> allowed;
            if (at < first) {
                allowed = select(p, [](const Choice& c) { return !c.empty && !c.useful; });
            } else if (at == first) {
                allowed = select(p, [](const Choice& c) { return c.useful; });
            } else {
                allowed = select(p, [](const Choice& c) { return !c.empty; });
                const std::vector<size_t> empty =
                    select(p, [](const Choice& c) { return c.empty; });
                if (!empty.empty())
                    allowed.push_back(empty.front());
            }
            if (allowed.empty())
                return std::optional<Layout>();
            l.allowed.push_back(std::move(allowed));
        }
        return std::optional<Layout>(std::move(l));
    };
    if (m_root) {
        if (auto l = layout(-1))
            m_layouts.push_back(std::move(*l));
        return true;
    }
    for (size_t first = 0; first < positions; ++first) {
        if (auto l = layout(static_cast<int>(first)))
            m_layouts.push_back(std::move(*l));
        // A later first useful position needs a choice placing nothing here.
        if (std::none_of(m_choices[first].begin(), m_choices[first].end(),
                         [](const Choice& c) { return !c.empty && !c.useful; }))
            break;
    }
    return true;
}

bool CandidateDevice::CollectOptions(const std::vector<WantedPoints>& wanted,
                                     const ManualResetEvent* stop) {
    const ConfigurationWalk& walk = *m_walk;
    std::vector<int> column(wanted.size(), -1);
    for (size_t c = 0; c < walk.KindCount(); ++c)
        for (size_t k = 0; k < wanted.size(); ++k)
            if (walk.Kind(c) == wanted[k].kind)
                column[k] = static_cast<int>(c);
    std::vector<size_t> refused;
    const std::vector<CioType*> refusedKinds = RefusedKinds(walk, wanted);
    for (size_t j = 0; j < walk.RequiredCount(); ++j)
        if (std::find(refusedKinds.begin(), refusedKinds.end(),
                      walk.Kind(walk.RequiredColumn(j))) != refusedKinds.end())
            refused.push_back(walk.KindCount() + j);
    const int64_t devicePrice = m_device->listPrice.scaled;
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
            if (!any && !m_root)
                return true;
            ++m_walked;
            const int64_t price = scaledPrice + devicePrice;
            if (seen.emplace(std::make_pair(price, places), options.size()).second)
                options.push_back(
                    {std::vector<uint32_t>(digits, digits + walk.Positions()), price, places});
            return true;
        },
        stop);
    std::vector<size_t> all(options.size());
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    for (const size_t i : Undominated(options, std::move(all)))
        m_options.push_back(std::move(options[i]));
    return complete;
}

void CandidateDevice::AddTo(IntegerProgram& program, double most,
                            std::vector<std::vector<IntegerProgram::Term>>& cover) {
    const double upper = m_root ? 1.0 : most;
    m_countColumns.clear();
    for (Layout& layout : m_layouts)
        AddLayout(layout, program, upper, cover);
    for (Option& option : m_options) {
        option.column = program.AddColumn(CostOf(option.price), upper);
        m_countColumns.push_back(option.column);
        for (size_t k = 0; k < option.places.size(); ++k)
            if (option.places[k] > 0)
                cover[k].push_back({option.column, static_cast<double>(option.places[k])});
    }
}

void CandidateDevice::AddLayout(Layout& layout, IntegerProgram& program, double upper,
                                std::vector<std::vector<IntegerProgram::Term>>& cover) {
    layout.count = program.AddColumn(CostOf(m_device->listPrice.scaled), upper);
    m_countColumns.push_back(layout.count);
    layout.columns.assign(layout.allowed.size(), {});
    for (size_t p = 0; p < layout.allowed.size(); ++p) {
        std::vector<IntegerProgram::Term> every{{layout.count, -1.0}};
        for (const size_t i : layout.allowed[p]) {
            const Choice& choice = m_choices[p][i];
            const int column = program.AddColumn(CostOf(choice.price), upper);
            layout.columns[p].push_back(column);
            every.push_back({column, 1.0});
            for (size_t k = 0; k < choice.places.size(); ++k)
                if (choice.places[k] > 0)
                    cover[k].push_back({column, static_cast<double>(choice.places[k])});
        }
        // Each of the devices takes one choice at every position.
        program.AddRow(std::move(every), 'E', 0.0);
    }
    // Occupied positions come first: no more devices occupy a position than the one before.
    for (size_t p = 1; p < layout.allowed.size(); ++p) {
        std::vector<IntegerProgram::Term> terms;
        for (const size_t q : {p, p - 1})
            for (size_t i = 0; i < layout.allowed[q].size(); ++i)
                if (!m_choices[q][layout.allowed[q][i]].empty)
                    terms.push_back({layout.columns[q][i], q == p ? 1.0 : -1.0});
        program.AddRow(std::move(terms), 'L', 0.0);
    }
}

std::vector<std::vector<uint32_t>>
CandidateDevice::Configurations(const std::vector<double>& values) const {
    const auto times = [&](int column) { return std::max(0L, std::lround(values[column])); };
    std::vector<std::vector<uint32_t>> devices;
    for (const Option& option : m_options)
        for (long n = times(option.column); n > 0; --n)
            devices.push_back(option.digits);
    for (const Layout& layout : m_layouts) {
        const auto count = static_cast<size_t>(times(layout.count));
        const size_t base = devices.size();
        devices.resize(base + count, std::vector<uint32_t>(layout.allowed.size(), 0));
        for (size_t p = 0; p < layout.allowed.size(); ++p) {
            // The occupied choices go to the first devices, so each one's occupied positions
            // come first.
            std::vector<uint32_t> digits;
            for (const bool empty : {false, true})
                for (size_t i = 0; i < layout.allowed[p].size(); ++i) {
                    const Choice& choice = m_choices[p][layout.allowed[p][i]];
                    if (choice.empty == empty)
                        digits.insert(digits.end(), times(layout.columns[p][i]), choice.digit);
                }
            for (size_t d = 0; d < count && d < digits.size(); ++d)
                devices[base + d][p] = digits[d];
        }
    }
    return devices;
}

} // namespace pinsum
