// The search's operations on equipment: configuring a device and ranking the result.
#include <algorithm>

#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_plc.h"
#include "solver/device_configurations.h"

namespace pinsum {

int CioEquip::Configure(const DeviceConfigurations& configurations,
                        const OrderedMap<CioType*, uint16_t>& remaining, int32_t remainingTotal,
                        bool first) {
    selectors.clear();
    CioPlc* target = configurations.Device();
    device.object = target;
    device.storedId = 0;
    if (!configurations.Attachable() || target->ioCount <= 0 || remainingTotal <= 0 ||
        target->price <= 0)
        return 0;
    score = 0;
    const BestConfigurations best = configurations.Best(remaining, remainingTotal, first);
    if (!best.digits.empty()) {
        score = best.score;
        price = best.price;
        ioCount = best.covered;
    }
    price += target->listPrice.Numeric();
    const size_t positions = configurations.Positions();
    for (size_t start = 0, made = 0; start < best.digits.size(); start += positions, ++made) {
        // Equally good configurations can number hundreds of thousands; a cancel must not wait
        // for a selector of each.
        if (made % ConfigurationWalk::kPollEvery == 0 && configurations.StopRequested()) {
            selectors.clear();
            return 0;
        }
        selectors.push_back(configurations.Selector(best.digits.data() + start, remaining));
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
