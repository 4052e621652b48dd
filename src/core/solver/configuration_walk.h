#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/manual_reset_event.h"
#include "model/cio_variant.h"

namespace pinsum {

class CioModul;
class CioPlc;
class CioType;

// One (module, variant) pair a position can take, with the digits a selector keeps for it.
struct PositionChoice {
    CioModul* module = nullptr;
    CioVariant* variant = nullptr;
    uint16_t moduleIndex = 0;
    uint16_t variantIndex = 0;
    // The module standing for this one and its twins (see ConfigurationWalk); the module itself
    // when it has none.
    const CioModul* twin = nullptr;
    // An earlier choice of the position takes the same variant of a twin: every configuration
    // with this choice comes after one alike with that choice instead.
    bool twinRepeat = false;
    // The empty variant: the position stays unoccupied.
    bool empty = false;
    int64_t scaledPrice = 0;
    // The choice's points in the walk's capacity columns.
    uint32_t firstPoint = 0;
    uint32_t endPoint = 0;
};

// The valid configurations of a device in the order the selector's odometer visits them
// (position 0 fastest, each position's modules in list order and each module's variants in
// order), without the configurations that leave a gap before an occupied position or put a
// variant before one it excludes.
//
// Modules alike in price and in the points of every variant, none of whose variants takes part in
// a rule, are twins: configurations that differ only by which twin they use are equal in price,
// points and validity, so the search takes them for one. Each choice names the first of its
// module's twins.
//
// Every configuration comes with its capacity row: one column per IO point kind the device can
// offer, in order of first appearance, with the points of that kind, then one column per
// required kind among them with the number of positions that offer it (a required kind is
// offered even when its count has wrapped to 0).
class ConfigurationWalk {
public:
    explicit ConfigurationWalk(CioPlc* device);

    CioPlc* Device() const { return m_device; }
    // A selector attaches to the device: it exists and has positions.
    bool Attachable() const;
    size_t Positions() const { return m_choices.size(); }
    size_t ChoiceCount(size_t position) const { return m_choices[position].size(); }
    const PositionChoice& Choice(size_t position, uint32_t digit) const {
        return m_choices[position][digit];
    }
    size_t KindCount() const { return m_kinds.size(); }
    CioType* Kind(size_t column) const { return m_kinds[column]; }
    size_t RequiredCount() const { return m_requiredColumns.size(); }
    // The kind column of required column j.
    size_t RequiredColumn(size_t j) const { return m_requiredColumns[j]; }
    size_t Width() const { return m_kinds.size() + m_requiredColumns.size(); }

    // Calls visit(digits, scaledPrice, capacities) for every valid configuration in order, with
    // one digit per position indexing Choice; stops when visit returns false. Returns false
    // when it stopped early, for visit or for the stop event. Without twin repeats, the
    // configurations using a choice marked twinRepeat are left out.
    template <class Visit>
    bool Run(Visit&& visit, const ManualResetEvent* stop = nullptr,
             bool withTwinRepeats = true) const;

    // Long loops over configurations poll the stop event this often, so that a cancel is seen
    // within milliseconds.
    static constexpr uint32_t kPollEvery = 1u << 12;

private:
    // Whether position p may take the choice under the digits chosen above it.
    bool Fits(size_t p, const PositionChoice& choice, const uint32_t* digits,
              bool occupiedAbove) const;
    size_t Column(CioType* kind);
    void AddPoints(PositionChoice& choice);
    void MarkTwins();

    CioPlc* m_device = nullptr;
    std::vector<std::vector<PositionChoice>> m_choices;
    std::vector<CioType*> m_kinds;
    std::vector<size_t> m_requiredColumns;
    // Points of every choice: capacity column and count.
    std::vector<uint32_t> m_pointColumn;
    std::vector<int32_t> m_pointCount;
};

template <class Visit>
bool ConfigurationWalk::Run(Visit&& visit, const ManualResetEvent* stop,
                            bool withTwinRepeats) const {
    const size_t n = m_choices.size();
    if (n == 0)
        return true;
    const size_t width = Width();
    std::vector<uint32_t> digits(n, 0);
    std::vector<uint32_t> next(n, 0);
    std::vector<int64_t> price(n + 1, 0);
    // Row p holds the capacities of positions p and above; row n stays zero.
    std::vector<int32_t> rows((n + 1) * width, 0);
    std::vector<char> occupied(n + 1, 0);
    uint32_t steps = 0;
    size_t p = n - 1;
    for (;;) {
        if (++steps % kPollEvery == 0 && stop != nullptr && stop->IsSet())
            return false;
        const std::vector<PositionChoice>& choices = m_choices[p];
        uint32_t d = next[p];
        while (d < choices.size() && ((!withTwinRepeats && choices[d].twinRepeat) ||
                                      !Fits(p, choices[d], digits.data(), occupied[p + 1] != 0)))
            ++d;
        if (d == choices.size()) {
            if (p == n - 1)
                return true;
            ++p;
            continue;
        }
        const PositionChoice& choice = choices[d];
        digits[p] = d;
        next[p] = d + 1;
        price[p] = price[p + 1] + choice.scaledPrice;
        int32_t* row = rows.data() + p * width;
        const int32_t* above = row + width;
        for (size_t c = 0; c < width; ++c)
            row[c] = above[c];
        for (uint32_t i = choice.firstPoint; i < choice.endPoint; ++i)
            row[m_pointColumn[i]] += m_pointCount[i];
        occupied[p] = static_cast<char>(occupied[p + 1] != 0 || !choice.empty);
        if (p > 0) {
            --p;
            next[p] = 0;
        } else if (!visit(static_cast<const uint32_t*>(digits.data()), price[0],
                          static_cast<const int32_t*>(row))) {
            return false;
        }
    }
}

inline bool ConfigurationWalk::Fits(size_t p, const PositionChoice& choice, const uint32_t* digits,
                                    bool occupiedAbove) const {
    if (choice.empty)
        return !occupiedAbove;
    const auto& excluded = choice.variant->ruleCounts;
    if (excluded.Empty())
        return true;
    for (size_t q = p + 1; q < m_choices.size(); ++q)
        if (excluded.Contains(m_choices[q][digits[q]].variant))
            return false;
    return true;
}

} // namespace pinsum
