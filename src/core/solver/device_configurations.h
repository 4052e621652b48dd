#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/cio_module_selector.h"
#include "solver/configuration_walk.h"

namespace pinsum {

// The configurations of a device that score best for one remaining request, in the selector's
// order and without the ones whose modules an earlier one already uses.
struct BestConfigurations {
    double score = 0.0;
    // Module price and points covered of the first configuration.
    double price = 0.0;
    int32_t covered = 0;
    // The digits of each configuration, one per position.
    std::vector<uint32_t> digits;
};

// Every valid configuration of one device, walked once and kept in flat arrays, grouped by
// module price and capacity row: the configurations of a group score alike for every request,
// so an extension step scores each group once instead of enumerating the device again.
class DeviceConfigurations {
public:
    // Room for some half a million configurations of eight positions between the devices of a
    // search.
    static constexpr size_t kDefaultMaxBytes = size_t{64} << 20;
    // The most equally good configurations Best keeps; the later ones are left out.
    static constexpr size_t kMaxKept = size_t{1} << 19;

    // Walks the device unless its configurations would take more than maxBytes; such a device is
    // walked again for every request instead. A set stop event ends either walk early, and the
    // search then discards what it got.
    explicit DeviceConfigurations(CioPlc* device, size_t maxBytes = kDefaultMaxBytes,
                                  const ManualResetEvent* stop = nullptr);

    CioPlc* Device() const { return m_walk.Device(); }
    bool Attachable() const { return m_walk.Attachable(); }
    // Digits per configuration.
    size_t Positions() const { return m_walk.Positions(); }
    // Memory the kept configurations take; 0 for a device walked for every request.
    size_t Bytes() const;
    bool StopRequested() const;
    BestConfigurations Best(const KindCountMap& remaining, int32_t remainingTotal,
                            bool first) const;
    // A selector standing on the configuration, with the request matched.
    std::unique_ptr<CioModuleSelector> Selector(const uint32_t* digits,
                                                const KindCountMap& request) const;

private:
    class Scoring;
    class Builder;
    class Distinct;

    BestConfigurations BestOfGroups(const Scoring& scoring, bool first) const;
    BestConfigurations BestWalked(const Scoring& scoring, bool first) const;
    // Visits the configurations of the groups in walk order; false when the stop event ended it.
    template <class Visit>
    bool ForEachInOrder(const std::vector<uint32_t>& groups, Visit&& visit) const;

    ConfigurationWalk m_walk;
    const ManualResetEvent* m_stop = nullptr;
    bool m_walked = false;
    // Per group: its capacity row (column by column, each column over all groups), module price
    // and the (1 - p)² term of its score.
    std::vector<int32_t> m_columns;
    std::vector<int64_t> m_scaledPrices;
    std::vector<double> m_fades;
    // The configurations of group g are m_ordinals[m_groupStarts[g]] onwards, in walk order;
    // the digits of configuration i start at m_digits[i * Positions].
    std::vector<uint32_t> m_groupStarts;
    std::vector<uint32_t> m_ordinals;
    std::vector<uint32_t> m_digits;
};

// A selector standing on the configuration of the walk, not yet matched.
std::unique_ptr<CioModuleSelector> SelectorOn(const ConfigurationWalk& walk,
                                              const uint32_t* digits);

} // namespace pinsum
