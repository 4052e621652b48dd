// The search's operations on equipment: configuring a device and ranking the result.
#include <algorithm>

#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"

namespace pinsum {

int CioEquip::Configure(CioPlc* target, const OrderedMap<CioType*, uint16_t>& remaining,
                        int32_t remainingTotal, bool first) {
    selectors.clear();
    device.object = target;
    device.storedId = 0;
    CioModuleSelector work;
    if (!work.Attach(target) || target->ioCount <= 0 || remainingTotal <= 0 || target->price <= 0)
        return 0;
    score = 0;
    double best = 0;
    const auto maxPrice = target->price;
    const auto capacity = static_cast<double>(target->ioCount);
    const auto total = static_cast<double>(remainingTotal);
    if (work.First(0)) {
        do {
            if (!work.IsValid())
                continue;
            const int covered = work.Match(remaining);
            if (covered < 0 || (covered == 0 && !first))
                continue;
            const double configPrice = work.price.Numeric();
            const double p = std::min(configPrice / maxPrice, 1.0);
            const double g = std::min(static_cast<double>(covered) / capacity, 1.0);
            const double h = std::min(static_cast<double>(covered) / total, 1.0);
            const double value = h * h + 3 * g * g + (1 - p) * (1 - p);
            if (best > value)
                continue;
            if (best < value)
                selectors.clear();
            selectors.push_back(work.Clone());
            best = value;
            if (selectors.size() == 1) {
                score = best;
                price = configPrice;
                ioCount = covered;
            }
        } while (work.Next(0));
    }
    price += target->listPrice.Numeric();
    if (selectors.size() > 1) {
        std::vector<std::unique_ptr<CioModuleSelector>> kept;
        for (auto& selector : selectors)
            if (kept.empty() || !selector->IsSameAsAny(kept))
                kept.push_back(std::move(selector));
        selectors = std::move(kept);
    }
    return 1;
}

int CioEquip::CompletesRequest() {
    std::vector<std::unique_ptr<CioModuleSelector>> completing;
    for (size_t i = selectors.size(); i-- > 0;) {
        if (selectors[i] != nullptr && selectors[i]->CoversAll()) {
            completing.push_back(std::move(selectors[i]));
            selectors.erase(selectors.begin() + static_cast<long>(i));
        }
    }
    if (!completing.empty()) {
        selectors = std::move(completing);
        return 1;
    }
    return selectors.empty() ? 1 : 0;
}

int CioEquip::RankAgainst(const CioEquip* other, int32_t largestUsed, int32_t requestedTotal,
                          double largestPrice) {
    score = 0;
    const int32_t u = GetIoCount(true);
    if (requestedTotal != 0 && largestPrice != 0 && largestUsed != 0) {
        const double share = static_cast<double>(u) / static_cast<double>(requestedTotal);
        const double cheap = 1 - price / largestPrice;
        const auto q = static_cast<double>(u / largestUsed);
        score = share * share + cheap * cheap + q * q;
    }
    return other == nullptr || other->score < score ? 1 : 0;
}

} // namespace pinsum
