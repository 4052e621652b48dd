#include "solver/device_configurations.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <set>
#include <tuple>

#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

double PriceOf(int64_t scaled) {
    return Currency{0, scaled}.Numeric();
}

template <class T> void Release(std::vector<T>& values) {
    std::vector<T>().swap(values);
}

} // namespace

// The score Configure gives a configuration: h² + 3g² + (1 − p)², h the share of the remaining
// request it covers, g the share of the device's capacity it uses and p the share of the
// device's maximum price its modules cost. Coverage and fade are the two halves of that sum, in
// the order it is evaluated, so adding them gives the same double.
class DeviceConfigurations::Scoring {
public:
    Scoring(const ConfigurationWalk& walk, const KindCountMap& remaining, int32_t remainingTotal)
        : m_maxPrice(walk.Device()->price), m_total(static_cast<double>(remainingTotal)),
          m_capacity(static_cast<double>(walk.Device()->ioCount)) {
        std::vector<int32_t> wanted;
        for (size_t k = 0; k < walk.KindCount(); ++k) {
            const uint16_t* count = remaining.Find(walk.Kind(k));
            wanted.push_back(count != nullptr ? *count : 0);
            if (wanted.back() > 0)
                m_wanted.emplace_back(k, wanted.back());
        }
        for (size_t j = 0; j < walk.RequiredCount(); ++j)
            if (wanted[walk.RequiredColumn(j)] == 0)
                m_refused.push_back(walk.KindCount() + j);
    }

    // A configuration that offers a required kind the request does not want is unusable.
    bool Allows(const int32_t* row) const {
        for (const size_t column : m_refused)
            if (row[column] != 0)
                return false;
        return true;
    }
    int32_t Covered(const int32_t* row) const {
        int32_t covered = 0;
        for (const auto& [column, wanted] : m_wanted)
            covered += std::min(row[column], wanted);
        return covered;
    }
    // Covered for every group of a column-major table, -1 for the unusable ones.
    void Cover(const int32_t* columns, size_t groups, int32_t* covered) const {
        std::fill(covered, covered + groups, 0);
        for (const auto& [column, wanted] : m_wanted) {
            const int32_t* counts = columns + column * groups;
            for (size_t g = 0; g < groups; ++g)
                covered[g] += std::min(counts[g], wanted);
        }
        for (const size_t column : m_refused) {
            const int32_t* counts = columns + column * groups;
            for (size_t g = 0; g < groups; ++g)
                if (counts[g] != 0)
                    covered[g] = -1;
        }
    }
    double Coverage(int32_t covered) const {
        const double g = std::min(static_cast<double>(covered) / m_capacity, 1.0);
        const double h = std::min(static_cast<double>(covered) / m_total, 1.0);
        return h * h + 3 * g * g;
    }
    static double Fade(double price, double maxPrice) {
        const double p = std::min(price / maxPrice, 1.0);
        return (1 - p) * (1 - p);
    }
    double Fade(double price) const { return Fade(price, m_maxPrice); }

private:
    double m_maxPrice;
    double m_total;
    double m_capacity;
    std::vector<std::pair<size_t, int32_t>> m_wanted;
    std::vector<size_t> m_refused;
};

// Keeps the first configuration of each set of modules, as Configure always has: a later one is
// dropped when it uses the same modules as a kept one, in any positions, or when it leaves two
// positions to the empty module (the selectors' IsSameAs). A module counts as the first of its
// twins, so that configurations differing only by a twin do not fork the search. Fed one
// configuration at a time, so that however many tie, only the kept ones take memory.
class DeviceConfigurations::Distinct {
public:
    explicit Distinct(const ConfigurationWalk& walk)
        : m_walk(&walk), m_emptyModule(&EmptyModule()), m_modules(walk.Positions()) {}

    void Add(const uint32_t* digits) {
        const size_t n = m_modules.size();
        for (size_t p = 0; p < n; ++p)
            m_modules[p] = m_walk->Choice(p, digits[p]).twin;
        if (!m_kept.empty() && std::count(m_modules.begin(), m_modules.end(), m_emptyModule) >= 2)
            return;
        if (m_used.size() == kMaxKept)
            return;
        std::sort(m_modules.begin(), m_modules.end());
        if (m_used.insert(m_modules).second)
            m_kept.insert(m_kept.end(), digits, digits + n);
    }
    std::vector<uint32_t> Take() { return std::move(m_kept); }

private:
    const ConfigurationWalk* m_walk;
    const CioModul* m_emptyModule;
    std::vector<const CioModul*> m_modules;
    std::vector<uint32_t> m_kept;
    std::set<std::vector<const CioModul*>> m_used;
};

// Walks the device once, groups its configurations by module price and capacity row (a required
// column only tells whether the kind is offered) and lays the groups out for scoring.
class DeviceConfigurations::Builder {
public:
    Builder(DeviceConfigurations& target, size_t maxBytes)
        : m_target(target), m_width(target.m_walk.Width()), m_positions(target.m_walk.Positions()),
          m_maxBytes(maxBytes), m_key(m_width) {}

    // False when the configurations do not fit into maxBytes or the stop event ended the walk.
    bool Run() {
        const bool complete = m_target.m_walk.Run(
            [this](const uint32_t* digits, int64_t scaledPrice, const int32_t* row) {
                return Add(digits, scaledPrice, row);
            },
            m_target.m_stop, false);
        if (!complete)
            return false;
        LayOut();
        return true;
    }

private:
    bool Add(const uint32_t* digits, int64_t scaledPrice, const int32_t* row) {
        std::copy(row, row + m_width, m_key.begin());
        for (size_t c = m_target.m_walk.KindCount(); c < m_width; ++c)
            m_key[c] = m_key[c] != 0 ? 1 : 0;
        m_groupOf.push_back(Group(scaledPrice));
        m_target.m_digits.insert(m_target.m_digits.end(), digits, digits + m_positions);
        return Bytes() <= m_maxBytes;
    }

    size_t Bytes() const {
        const size_t groups = m_target.m_scaledPrices.size();
        return (m_target.m_digits.size() + 2 * m_groupOf.size() + m_slots.size()) *
                   sizeof(uint32_t) +
               groups * (2 * m_width * sizeof(int32_t) + sizeof(int64_t) + sizeof(double));
    }

    // The group of the configuration in m_key, created when new. Open addressing over the
    // groups' rows, so that a configuration costs no allocation.
    uint32_t Group(int64_t scaledPrice) {
        if (2 * (m_target.m_scaledPrices.size() + 1) > m_slots.size())
            Grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = Hash(scaledPrice, m_key.data()) & mask;; slot = (slot + 1) & mask) {
            if (m_slots[slot] == 0) {
                const auto group = static_cast<uint32_t>(m_target.m_scaledPrices.size());
                m_slots[slot] = group + 1;
                m_target.m_scaledPrices.push_back(scaledPrice);
                m_rows.insert(m_rows.end(), m_key.begin(), m_key.end());
                return group;
            }
            const uint32_t group = m_slots[slot] - 1;
            if (m_target.m_scaledPrices[group] == scaledPrice &&
                std::equal(m_key.begin(), m_key.end(), Row(group)))
                return group;
        }
    }

    const int32_t* Row(size_t group) const { return m_rows.data() + group * m_width; }

    size_t Hash(int64_t scaledPrice, const int32_t* row) const {
        uint64_t h = static_cast<uint64_t>(scaledPrice) * 0x9E3779B97F4A7C15ull;
        for (size_t c = 0; c < m_width; ++c)
            h = (h ^ static_cast<uint32_t>(row[c])) * 0x100000001B3ull;
        return static_cast<size_t>(h ^ (h >> 29));
    }

    void Grow() {
        m_slots.assign(std::max<size_t>(64, 2 * m_slots.size()), 0);
        const size_t mask = m_slots.size() - 1;
        for (uint32_t group = 0; group < m_target.m_scaledPrices.size(); ++group) {
            size_t slot = Hash(m_target.m_scaledPrices[group], Row(group)) & mask;
            while (m_slots[slot] != 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = group + 1;
        }
    }

    // Sorts the configurations by group, keeping the walk's order inside each group, and turns
    // the rows into columns, which an extension step scores a column at a time.
    void LayOut() {
        const size_t groups = m_target.m_scaledPrices.size();
        std::vector<uint32_t>& starts = m_target.m_groupStarts;
        starts.assign(groups + 1, 0);
        for (const uint32_t group : m_groupOf)
            ++starts[group + 1];
        for (size_t g = 0; g < groups; ++g)
            starts[g + 1] += starts[g];
        std::vector<uint32_t> fill(starts.begin(), starts.end() - 1);
        m_target.m_ordinals.resize(m_groupOf.size());
        for (uint32_t ordinal = 0; ordinal < m_groupOf.size(); ++ordinal)
            m_target.m_ordinals[fill[m_groupOf[ordinal]]++] = ordinal;
        m_target.m_columns.resize(m_rows.size());
        for (size_t g = 0; g < groups; ++g)
            for (size_t c = 0; c < m_width; ++c)
                m_target.m_columns[c * groups + g] = m_rows[g * m_width + c];
        const double maxPrice = m_target.Device()->price;
        for (const int64_t scaled : m_target.m_scaledPrices)
            m_target.m_fades.push_back(Scoring::Fade(PriceOf(scaled), maxPrice));
    }

    DeviceConfigurations& m_target;
    size_t m_width;
    size_t m_positions;
    size_t m_maxBytes;
    std::vector<int32_t> m_key;
    std::vector<int32_t> m_rows;
    std::vector<uint32_t> m_slots;
    std::vector<uint32_t> m_groupOf;
};

DeviceConfigurations::DeviceConfigurations(CioPlc* device, size_t maxBytes,
                                           const ManualResetEvent* stop)
    : m_walk(device), m_stop(stop) {
    if (!Attachable() || Builder(*this, maxBytes).Run())
        return;
    m_walked = true;
    Release(m_scaledPrices);
    Release(m_digits);
}

size_t DeviceConfigurations::Bytes() const {
    return (m_digits.size() + m_ordinals.size() + m_groupStarts.size()) * sizeof(uint32_t) +
           m_columns.size() * sizeof(int32_t) + m_scaledPrices.size() * sizeof(int64_t) +
           m_fades.size() * sizeof(double);
}

BestConfigurations DeviceConfigurations::Best(const KindCountMap& remaining, int32_t remainingTotal,
                                              bool first) const {
    const Scoring scoring(m_walk, remaining, remainingTotal);
    return m_walked ? BestWalked(scoring, first) : BestOfGroups(scoring, first);
}

BestConfigurations DeviceConfigurations::BestOfGroups(const Scoring& scoring, bool first) const {
    BestConfigurations best;
    const size_t count = m_scaledPrices.size();
    std::vector<int32_t> covered(count);
    scoring.Cover(m_columns.data(), count, covered.data());
    std::vector<uint32_t> groups;
    for (uint32_t g = 0; g < count; ++g) {
        if (covered[g] < 0 || (covered[g] == 0 && !first))
            continue;
        const double score = scoring.Coverage(covered[g]) + m_fades[g];
        if (!groups.empty() && score < best.score)
            continue;
        if (groups.empty() || score > best.score) {
            groups.clear();
            best.score = score;
        }
        groups.push_back(g);
    }
    if (groups.empty())
        return best;
    // The first configuration overall opens the earliest of the groups' lists.
    const uint32_t lead = *std::min_element(groups.begin(), groups.end(), [&](auto a, auto b) {
        return m_ordinals[m_groupStarts[a]] < m_ordinals[m_groupStarts[b]];
    });
    best.price = PriceOf(m_scaledPrices[lead]);
    best.covered = covered[lead];
    Distinct distinct(m_walk);
    const size_t n = m_walk.Positions();
    const bool complete = ForEachInOrder(
        groups, [&](uint32_t ordinal) { distinct.Add(m_digits.data() + ordinal * n); });
    if (complete)
        best.digits = distinct.Take();
    return best;
}

template <class Visit>
bool DeviceConfigurations::ForEachInOrder(const std::vector<uint32_t>& groups,
                                          Visit&& visit) const {
    // Per group its next configuration (ordinal, place in m_ordinals, end of the group's list),
    // the smallest ordinal on top.
    using Cursor = std::tuple<uint32_t, uint32_t, uint32_t>;
    std::priority_queue<Cursor, std::vector<Cursor>, std::greater<>> next;
    for (const uint32_t g : groups)
        next.emplace(m_ordinals[m_groupStarts[g]], m_groupStarts[g], m_groupStarts[g + 1]);
    for (uint32_t visited = 1; !next.empty(); ++visited) {
        if (visited % ConfigurationWalk::kPollEvery == 0 && m_stop != nullptr && m_stop->IsSet())
            return false;
        const auto [ordinal, at, end] = next.top();
        next.pop();
        visit(ordinal);
        if (at + 1 < end)
            next.emplace(m_ordinals[at + 1], at + 1, end);
    }
    return true;
}

bool DeviceConfigurations::StopRequested() const {
    return m_stop != nullptr && m_stop->IsSet();
}

BestConfigurations DeviceConfigurations::BestWalked(const Scoring& scoring, bool first) const {
    BestConfigurations best;
    Distinct distinct(m_walk);
    bool found = false;
    const bool complete = m_walk.Run(
        [&](const uint32_t* digits, int64_t scaledPrice, const int32_t* row) {
            if (!scoring.Allows(row))
                return true;
            const int32_t covered = scoring.Covered(row);
            if (covered == 0 && !first)
                return true;
            const double price = PriceOf(scaledPrice);
            const double score = scoring.Coverage(covered) + scoring.Fade(price);
            if (found && score < best.score)
                return true;
            if (!found || score > best.score) {
                distinct = Distinct(m_walk);
                best.score = score;
                best.price = price;
                best.covered = covered;
                found = true;
            }
            distinct.Add(digits);
            return true;
        },
        m_stop, false);
    if (complete)
        best.digits = distinct.Take();
    return best;
}

std::unique_ptr<CioModuleSelector>
DeviceConfigurations::Selector(const uint32_t* digits, const KindCountMap& request) const {
    auto selector = SelectorOn(m_walk, digits);
    selector->Match(request);
    return selector;
}

std::unique_ptr<CioModuleSelector> SelectorOn(const ConfigurationWalk& walk,
                                              const uint32_t* digits) {
    auto selector = std::make_unique<CioModuleSelector>();
    selector->device = walk.Device();
    selector->validStructure = 1;
    for (size_t p = 0; p < walk.Positions(); ++p) {
        const PositionChoice& choice = walk.Choice(p, digits[p]);
        selector->variants.push_back(choice.variant);
        selector->modules.push_back(choice.module);
        selector->moduleIndexes.push_back(choice.moduleIndex);
        // The variant digit stands past the variant taken, as stepping leaves it.
        selector->variantIndexes.push_back(static_cast<uint16_t>(choice.variantIndex + 1));
        selector->positionMaps.push_back(std::make_unique<KindCountMap>());
    }
    return selector;
}

} // namespace pinsum
